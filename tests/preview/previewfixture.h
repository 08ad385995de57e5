#pragma once

// The preview tests' fixture: a report over its own table, a print target on
// a printer offering Letter, the preview window on it, and the preview's
// dialogs answered by the test.

#include "preview/previewwindow.h"

#include "ledger/appliancetable.h"
#include "preview/pagestore.h"
#include "preview/pagestream.h"
#include "preview/previewarea.h"
#include "preview/previewcommand.h"
#include "preview/previewdialogs.h"
#include "preview/previewtarget.h"
#include "preview/printersetupdialog.h"
#include "report/pageimagedestination.h"
#include "report/printcommand.h"
#include "report/report.h"
#include "report/reportform.h"
#include "tests/dialoganswerer.h"
#include "tests/qtapplication.h"
#include "tests/report/pagerecorder.h"
#include "tests/report/reporttestdata.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace pellion {

inline PrinterCapabilities letterPrinter() {
    return test::installedPrinter(QStringLiteral("Test printer"), {a4PaperCode, letterPaperCode},
                                  a4PaperCode);
}

inline PrinterCapabilities officePrinter() {
    PrinterCapabilities printer =
        test::installedPrinter(QStringLiteral("Office printer"), {a4PaperCode}, a4PaperCode);
    printer.canSetCopies = false;
    return printer;
}

// Runs the action once from the event loop as soon as the condition holds:
// during a run (which processes events every few milliseconds) or while the
// preview operation waits.
inline void whenTrue(std::function<bool()> condition, std::function<void()> action) {
    auto* timer = new QTimer;
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, [timer, condition, action] {
        if (!condition())
            return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start();
}

inline PreviewWindow* openPreviewWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<PreviewWindow*>(widget);
        if (window != nullptr && window->isVisible())
            return window;
    }
    return nullptr;
}

// Dialogs answered by the test; every message shown is recorded.
class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        previewDialogs().saveFileName = [this](const QString& title, const QString& filter,
                                               const QString& suffix) {
            asked << title + QLatin1Char('|') + filter + QLatin1Char('|') + suffix;
            return saveAnswer;
        };
        previewDialogs().openFileName = [this](const QString& title, const QString& filter) {
            asked << title + QLatin1Char('|') + filter;
            return openAnswer;
        };
        previewDialogs().installedPrinters = [this] { return printers; };
        previewDialogs().message = [this](const QString& text) { messages << text; };
        // Safety net: a test that never closes its preview does not hang.
        safetyNet.setSingleShot(true);
        QObject::connect(&safetyNet, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
            if (PreviewWindow* window = openPreviewWindow())
                window->close();
        });
        safetyNet.start(60000);
    }
    void TearDown() override { previewDialogs() = platformPreviewDialogs(); }

    // Opens a window on a target that has not run yet.
    void openWindow() {
        window = std::make_unique<PreviewWindow>(target);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void run() {
        form.report().run(target.printer());
        QCoreApplication::processEvents();
    }
    void openAndRun(int appliances) {
        test::fillAppliances(table, appliances);
        openWindow();
        run();
    }
    PreviewArea& area() { return *window->previewArea(); }
    QToolButton* button(const char* name) { return window->button(QString::fromLatin1(name)); }
    QString pageText() { return window->pagePanel()->text(); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    // The next printer set-up dialog is answered by the action, which ends it.
    void answerPrinterSetup(std::function<void(PrinterSetupDialog&)> answer) {
        whenTrue(
            [] {
                return qobject_cast<PrinterSetupDialog*>(QApplication::activeModalWidget()) !=
                       nullptr;
            },
            [answer] {
                answer(*qobject_cast<PrinterSetupDialog*>(QApplication::activeModalWidget()));
            });
    }

    bool applicationReady = (testApplication(), true);
    QTimer safetyNet;
    QTemporaryDir folder;
    QStringList asked;
    QStringList messages;
    QString saveAnswer;
    QString openAnswer;
    // The default printer, and one that cannot print several copies.
    InstalledPrinters printers{{letterPrinter(), officePrinter()}, QStringLiteral("Test printer")};

    ApplianceTable table;
    ReportForm form{table};
    PreviewTarget target{&form.report(), letterPrinter()};
    std::unique_ptr<PreviewWindow> window;
};

} // namespace pellion
