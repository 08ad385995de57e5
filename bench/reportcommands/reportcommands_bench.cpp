// Print Preview, Print and Export PDF as the user meets them: the main window
// shown with its grid over a long list, then the File menu's command. The
// preview is timed until page 1 is on view and until the last page has been
// produced and counted in the page text; Print until the job has been handed
// to the print queue; Export PDF until the file is in place. The grid, the
// fields and the preview all take their events meanwhile, as they do in the
// program.

#include "app/mainwindow.h"
#include "bench/household.h"
#include "preview/previewarea.h"
#include "preview/previewdialogs.h"
#include "preview/previewtarget.h"
#include "preview/previewwindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

using pellion::MainWindow;
using pellion::PreviewArea;
using pellion::PreviewWindow;
using pellion::PrintStatus;
using pellion::bench::Household;

// Notes when the preview window that the command opens shows page 1 and when
// its run has finished, then closes it so the command returns.
class PreviewWatcher : public QObject {
public:
    explicit PreviewWatcher(const QElapsedTimer& clock) : m_clock(clock) {
        qApp->installEventFilter(this);
    }
    ~PreviewWatcher() override { qApp->removeEventFilter(this); }

    qint64 firstPageAt = -1;
    qint64 finishedAt = -1;
    int pages = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window =
            event->type() == QEvent::Show ? qobject_cast<PreviewWindow*>(watched) : nullptr;
        if (window != nullptr && m_window.isNull()) {
            m_window = window;
            PreviewArea* area = window->previewArea();
            connect(area, &PreviewArea::pageAvailable, this, [this, area] { pageAvailable(area); });
        }
        return false;
    }

private:
    void pageAvailable(PreviewArea* area) {
        if (firstPageAt < 0 && area->pageShown())
            firstPageAt = m_clock.nsecsElapsed();
        if (finishedAt < 0 && area->target()->status() == PrintStatus::Finished) {
            finishedAt = m_clock.nsecsElapsed();
            pages = area->target()->pageCount();
            QMetaObject::invokeMethod(m_window.data(), &QWidget::close, Qt::QueuedConnection);
        }
    }

    const QElapsedTimer& m_clock;
    QPointer<PreviewWindow> m_window;
};

bool showWindow(MainWindow& window, benchmark::State& state) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("main window not shown");
        return false;
    }
    QApplication::processEvents();
    return true;
}

void BM_PrintPreviewFromMainWindow(benchmark::State& state) {
    Household household(int(state.range(0)));
    MainWindow window({household.appDir()});
    if (!showWindow(window, state))
        return;
    QAction* command = window.findChild<QAction*>(QStringLiteral("PrintPreview1"));
    double firstPageMs = 0;
    int pages = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        PreviewWatcher watcher(clock);
        clock.start();
        command->trigger(); // returns once the watcher has closed the preview
        if (watcher.finishedAt < 0) {
            state.SkipWithError("the preview closed before its run finished");
            return;
        }
        state.SetIterationTime(static_cast<double>(watcher.finishedAt) / 1e9);
        firstPageMs = static_cast<double>(watcher.firstPageAt) / 1e6;
        pages = watcher.pages;
    }
    state.counters["first_page_ms"] = firstPageMs;
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintPreviewFromMainWindow)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The file dialog answered at once, with a file that does not exist yet, so
// no question about replacing it is asked.
void BM_ExportPdfFromMainWindow(benchmark::State& state) {
    Household household(int(state.range(0)));
    MainWindow window({household.appDir()});
    if (!showWindow(window, state))
        return;
    QTemporaryDir output;
    const QString pdf = output.filePath(QStringLiteral("report.pdf"));
    pellion::previewDialogs().saveFileName = [&pdf](const QString&, const QString&,
                                                    const QString&) { return pdf; };
    QAction* command = window.findChild<QAction*>(QStringLiteral("ExportPdf1"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(pdf);
        state.ResumeTiming();
        command->trigger(); // returns once the file is in place
    }
    pellion::previewDialogs() = pellion::platformPreviewDialogs();
    if (!QFileInfo::exists(pdf)) {
        state.SkipWithError("no PDF was written");
        return;
    }
    state.counters["pdf_kib"] = double(QFileInfo(pdf).size()) / 1024;
}
BENCHMARK(BM_ExportPdfFromMainWindow)
    ->Arg(1000)
    ->Arg(10000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Needs a default printer: tests/report/cups-setup.sh makes a cups-pdf queue.
void BM_PrintFromMainWindow(benchmark::State& state) {
    if (QPrinterInfo::defaultPrinter().isNull()) {
        state.SkipWithError("no default printer (tests/report/cups-setup.sh sets one up)");
        return;
    }
    Household household(int(state.range(0)));
    MainWindow window({household.appDir()});
    if (!showWindow(window, state))
        return;
    QAction* command = window.findChild<QAction*>(QStringLiteral("mnuprint"));
    for (auto _ : state)
        command->trigger(); // returns once the job is with the print queue
}
BENCHMARK(BM_PrintFromMainWindow)
    ->Arg(10000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
