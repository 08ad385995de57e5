// The preview with no printer installed (the test runs against a CUPS server
// that does not exist): it still works, on A4 page images, and Print does
// nothing.

#include "ledger/appliancetable.h"
#include "preview/previewarea.h"
#include "preview/previewcommand.h"
#include "preview/previewtarget.h"
#include "preview/previewwindow.h"
#include "report/pageimagedestination.h"
#include "report/report.h"
#include "report/reportform.h"
#include "tests/dialoganswerer.h"
#include "tests/qtapplication.h"
#include "tests/report/pagerecorder.h"
#include "tests/report/reporttestdata.h"

#include <QApplication>
#include <QLabel>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

namespace pellion {
namespace {

// Counts the windows shown while it is installed.
class ShowCounter : public QObject {
public:
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            ++shown;
        return false;
    }
};

TEST(PreviewWithoutPrinter, ShowsA4PagesAndPrintDoesNothing) {
    testApplication();
    ASSERT_TRUE(QPrinterInfo::availablePrinters().isEmpty());
    ApplianceTable table;
    test::fillAppliances(table, 60);
    ReportForm form(table);

    bool checked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        PreviewWindow* window = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* preview = qobject_cast<PreviewWindow*>(widget);
                preview && preview->isVisible())
                window = preview;
        }
        if (window == nullptr || !window->button(QStringLiteral("Print"))->isEnabled())
            return;
        poll.stop();
        PreviewArea* area = window->previewArea();
        const int dpi = screenPixelsPerInch();
        EXPECT_EQ(area->pageWidthPixels(), static_cast<int>(std::nearbyint(2100.0 * dpi / 254)));
        EXPECT_EQ(area->pageLengthPixels(), static_cast<int>(std::nearbyint(2970.0 * dpi / 254)));
        // A4 holds 59 lines on page 1: 60 appliances take two pages.
        EXPECT_EQ(window->pagePanel()->text(), QStringLiteral("Page 1 of 2"));
        ShowCounter counter;
        qApp->installEventFilter(&counter);
        QTest::mouseClick(window->button(QStringLiteral("Print")), Qt::LeftButton);
        QCoreApplication::processEvents();
        qApp->removeEventFilter(&counter);
        EXPECT_EQ(counter.shown, 0); // no progress window, no message
        checked = true;
        window->close();
    });
    poll.start(1);
    previewReport(form.report());
    EXPECT_TRUE(checked);
}

TEST(PreviewWithoutPrinter, PrinterSetupWarnsThatThereIsNoDefaultPrinter) {
    testApplication();
    ASSERT_TRUE(QPrinterInfo::availablePrinters().isEmpty());
    ApplianceTable table;
    test::fillAppliances(table, 3);
    ReportForm form(table);
    PreviewTarget target(&form.report());
    PreviewWindow window(target);
    form.report().run(target.printer());
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.button(QStringLiteral("PrintSetup"))->isEnabled());

    const DialogAnswerer answerer({QStringLiteral("OK")});
    QTest::mouseClick(window.button(QStringLiteral("PrintSetup")), Qt::LeftButton);
    ASSERT_EQ(answerer.seen().size(), 1u); // the warning, and no empty printer list after it
    EXPECT_EQ(answerer.seen()[0].caption, QStringLiteral("Warning"));
    EXPECT_TRUE(answerer.seen()[0].text.contains(QStringLiteral("no default printer")));
    EXPECT_EQ(form.report().copies(), 1);
    EXPECT_EQ(form.report().firstPage(), 0);
}

} // namespace
} // namespace pellion
