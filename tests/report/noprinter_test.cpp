// Printing with no printer installed (the test runs against a CUPS server
// that does not exist): Print does nothing and shows nothing.

#include "ledger/appliancetable.h"
#include "pagerecorder.h"
#include "report/printcommand.h"
#include "reporttestdata.h"
#include "tests/qtapplication.h"

#include <QApplication>
#include <QPrinterInfo>
#include <QWidget>

#include <gtest/gtest.h>

namespace pellion {
namespace {

// Remembers every widget that is shown.
class ShowWatcher : public QObject {
public:
    QStringList shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            shown << watched->metaObject()->className();
        return false;
    }
};

TEST(NoPrinter, PrintCommandProducesNothingAndShowsNothing) {
    testApplication();
    ASSERT_TRUE(QPrinterInfo::availablePrinters().isEmpty())
        << "the test needs a system without printers";
    ApplianceTable table;
    test::fillAppliances(table, 5);
    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    QWidget owner;
    printUsageReport(
        table,
        {QStringLiteral("0.2000"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
        &owner);
    qApp->removeEventFilter(&watcher);
    EXPECT_TRUE(watcher.shown.isEmpty()) << watcher.shown.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(table.RowNumber(), 1); // no run walked the table
    EXPECT_TRUE(owner.findChildren<QWidget*>().isEmpty());
}

} // namespace
} // namespace pellion
