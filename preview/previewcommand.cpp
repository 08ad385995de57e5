#include "preview/previewcommand.h"

#include "preview/previewarea.h"
#include "preview/previewtarget.h"
#include "preview/previewwindow.h"
#include "report/printcommand.h"
#include "report/report.h"
#include "report/reportform.h"
#include "report/reporttiming.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

#include <memory>

namespace pellion {

void previewReport(Report& report) {
    previewReport(report, defaultPrinterCapabilities());
}

void previewReport(Report& report, const PrinterCapabilities& printer) {
    ReportTiming timing("preview");
    QCoreApplication::processEvents();
    if (report.busy())
        return;
    auto target = std::make_unique<PreviewTarget>(&report, printer);
    QPointer<PreviewWindow> window = new PreviewWindow(*target);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The window goes before the target it shows.
    const auto closeWindow = [&window] { delete window.data(); };
    if (ReportTiming::enabled()) {
        PreviewArea* area = window->previewArea();
        PreviewTarget* shown = target.get();
        QObject::connect(area, &PreviewArea::pageAvailable, area, [&timing, area, shown] {
            if (area->pageShown())
                timing.note("first-page", shown->pagesCompleted());
            if (shown->status() == PrintStatus::Finished)
                timing.note("finished", shown->pageCount());
        });
    }
    try {
        report.run(target->printer());
    } catch (...) {
        closeWindow();
        throw;
    }
    if (report.cancelled() || !window || !target->showsPreview()) {
        closeWindow();
        return;
    }
    QEventLoop loop;
    QObject::connect(window.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    QObject::connect(target.get(), &PreviewTarget::previewEnded, &loop, &QEventLoop::quit);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    loop.exec();
    closeWindow();
}

void previewUsageReport(ApplianceTable& table, const ReportTexts& texts, QWidget* owner) {
    withReportForm(table, texts, owner, [](ReportForm& form) { previewReport(form.report()); });
}

} // namespace pellion
