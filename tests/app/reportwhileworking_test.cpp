// Print Preview started from the main window while the user goes on working
// there: whatever is edited, deleted, sorted or recalculated while pages are
// being produced, the report holds the list as it was when it began.

#include "mainwindowfixture.h"

#include "ledger/ledgerfile.h"
#include "preview/previewarea.h"
#include "preview/previewtarget.h"
#include "preview/previewwindow.h"
#include "tests/report/pagerecorder.h"

#include <QAction>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace {

using pellion::PreviewWindow;
using pellion::PrintStatus;

constexpr int applianceCount = 1000; // 16 or 17 pages, on A4 or Letter

QString applianceName(int number) {
    return QStringLiteral("Appliance %1").arg(number, 4, 10, QLatin1Char('0'));
}

class ReportWhileWorkingTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        pellion::ApplianceTable list;
        for (int number = 1; number <= applianceCount; ++number) {
            list.StartAppend();
            list.FieldNamed("appliance").AssignText(applianceName(number).toStdString());
            list.FieldNamed("voltage").AssignText("230");
            list.FieldNamed("wattage").AssignText(std::to_string(3000 - number));
            list.FieldNamed("hrsday").AssignText(std::to_string(1 + number % 24));
            list.PostRecord();
        }
        pellion::SaveLedger(list, pellion::MainWindow::ledgerFileName);
    }

    // Every page's texts, the title's date and time left out (a second
    // may pass between two runs).
    using Pages = std::vector<QStringList>;

    // File > Print Preview. `whilePageIsNew(n)` runs as each page n is
    // completed while the run still produces pages; once the last page is
    // there, the pages are read from the preview and the preview closed.
    Pages previewPages(const std::function<void(int)>& whilePageIsNew = {}) {
        Pages pages;
        auto* finder = new QTimer;
        QObject::connect(finder, &QTimer::timeout, [&, finder] {
            PreviewWindow* window = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* preview = qobject_cast<PreviewWindow*>(widget);
                    preview && preview->isVisible())
                    window = preview;
            if (window == nullptr)
                return;
            finder->stop();
            finder->deleteLater();
            pellion::PreviewArea* area = window->previewArea();
            QObject::connect(area, &pellion::PreviewArea::pageAvailable, area,
                             [&, window, area](int completed) {
                                 pellion::PreviewTarget* target = area->target();
                                 if (target->status() == PrintStatus::Producing) {
                                     if (whilePageIsNew)
                                         whilePageIsNew(completed);
                                     return;
                                 }
                                 if (target->status() != PrintStatus::Finished || !pages.empty())
                                     return;
                                 pages = readPages(*target);
                                 QTimer::singleShot(0, window, &QWidget::close);
                             });
        });
        finder->start(1);
        control<QAction>("PrintPreview1")->trigger();
        return pages;
    }

    static Pages readPages(pellion::PreviewTarget& target) {
        Pages pages;
        for (int n = 1; n <= target.pageCount(); ++n) {
            const pellion::test::RecordedPage page =
                pellion::test::recordTexts(*target.readPage(n));
            QStringList texts = page.allTexts();
            if (n == 1)
                texts.removeOne(page.textRightOf(QStringLiteral("Pellion Report")));
            pages.push_back(texts);
        }
        return pages;
    }
};

TEST_F(ReportWhileWorkingTest,
       EditsDeletesSortingAndATypedPriceDuringTheRunLeaveItsPagesAsTheyBegan) {
    start({"&Yes", "&Yes"});
    const Pages undisturbed = previewPages();
    ASSERT_GE(undisturbed.size(), 16u);
    ASSERT_TRUE(undisturbed.back().contains(applianceName(applianceCount)));

    std::vector<int> pagesActedOn;
    const Pages disturbed = previewPages([&](int page) {
        pagesActedOn.push_back(page);
        switch (page) {
        case 1: // the name of the last appliance, not yet printed, typed over
            click("btn_last");
            click("btn_edit");
            clickCell(applianceCount - 1, Appliance);
            typeIntoCurrentCell(QStringLiteral("Kettle"));
            break;
        case 2: // that one deleted, and the first one as well
            click("btn_del");
            click("btn_first");
            click("btn_del");
            break;
        case 3: // sorted by wattage: the list turns round
            click("rgsort_Wattage");
            break;
        case 4: // a new price: every cost is worked out again
            typePrice("sechgphr", QStringLiteral("0.75"));
            break;
        default:
            break;
        }
    });
    EXPECT_GE(pagesActedOn.size(), 4u) << "the run ended before the window was worked on";
    EXPECT_EQ(dialogs().size(), 2u); // both deletes were confirmed
    EXPECT_EQ(table().RecordTotal(), applianceCount - 2);
    EXPECT_EQ(disturbed, undisturbed);
    // The run ends on the table's last record, in the table's present order.
    EXPECT_EQ(table().RowNumber(), applianceCount - 2);
}

} // namespace
