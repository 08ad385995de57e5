#include "info/aboutbox.h"
#include "info/findanimation.h"
#include "info/systeminfo.h"

#include "engine/numberformat.h"
#include "tests/qtapplication.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace {

using pellion::AboutBox;
using pellion::DiskSpace;
using pellion::MemoryStatus;
using pellion::Volume;
using pellion::VolumeKind;

// Figures chosen by the test; it counts the disk queries and the volume listings.
class FakeSource : public pellion::SystemInfoSource {
public:
    MemoryStatus memory{536870912, 268435456, 45};
    std::vector<Volume> mounted = {
        {"/", "System", "", "/dev/sda1", VolumeKind::Fixed},
        {"/media/usb", "Stick", "", "/dev/sdc1", VolumeKind::Removable},
        {"/work", "Data", "", "/dev/sdb1", VolumeKind::Fixed},
    };
    std::map<QString, DiskSpace> spaces = {
        {"/", {40000000000, 1024000000}},
        {"/work", {2048000, 1024000}},
    };
    QString workingVolume = "/work";
    mutable std::map<QString, int> queries;
    mutable int listings = 0;

    MemoryStatus memoryStatus() const override { return memory; }
    std::vector<Volume> volumes() const override {
        ++listings;
        return mounted;
    }
    DiskSpace diskSpace(const QString& root) const override {
        ++queries[root];
        auto found = spaces.find(root);
        return found == spaces.end() ? DiskSpace{} : found->second;
    }
    QString volumeRootOf(const QString& path) const override {
        return path == QDir::currentPath() ? workingVolume : QString();
    }
};

class AboutBoxTest : public ::testing::Test, protected WithApplication {
protected:
    template <typename T> static T* control(const AboutBox& box, const char* name) {
        auto* found = box.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static QString text(const AboutBox& box, const char* label) {
        return control<QLabel>(box, label)->text();
    }
    static std::string memo(const AboutBox& box, const char* name) {
        return control<QPlainTextEdit>(box, name)->toPlainText().toStdString();
    }

    pellion::ScopedFormatSettings m_settings{pellion::FormatSettings{}};
    FakeSource m_source;
};

TEST_F(AboutBoxTest, ShowsTheMemoryFiguresOfTheSource) {
    struct Case {
        const char* situation;
        MemoryStatus memory;
        const char* total;
        const char* available;
        const char* load;
    };
    const Case cases[] = {
        {"half a gibibyte", {536870912, 268435456, 45}, "524.29 MB", "262.14 MB", "45.00 %"},
        {"beyond the reach of 32 bits",
         {34359738368ULL, 8589934592ULL, 75},
         "33554.43 MB",
         "8388.61 MB",
         "75.00 %"},
        {"nothing known", {0, 0, 0}, "0.00 MB", "0.00 MB", "0.00 %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        m_source.memory = c.memory;
        AboutBox box(m_source);
        EXPECT_EQ(text(box, "lbltotalmem").toStdString(), c.total);
        EXPECT_EQ(text(box, "lblmemused").toStdString(), c.available);
        EXPECT_EQ(text(box, "lblmemfree").toStdString(), c.load);
    }
}

// The two small memos are read-only, not disabled, and must not look it: their
// background is lighter than the panel they sit on, as on screen.
TEST_F(AboutBoxTest, TheSmallMemosAreLighterThanTheirPanel) {
    AboutBox box(m_source);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    auto* panel = control<QWidget>(box, "Panel2");
    const QImage shown = panel->grab().toImage();
    const qreal ratio = shown.devicePixelRatio();
    const auto pixel = [&](QPoint at) {
        return shown.pixelColor((QPointF(at) * ratio).toPoint()).lightness();
    };
    const int panelFace = pixel(QPoint(panel->width() / 2, panel->height() - 4));
    for (const char* name : {"Memcurdrv", "memhdd"}) {
        SCOPED_TRACE(name);
        auto* memo = control<QPlainTextEdit>(box, name);
        EXPECT_TRUE(memo->isEnabled());
        EXPECT_TRUE(memo->isReadOnly());
        // Low in the memo, below its lines of text and left of its scroll bar.
        const QRect inPanel(memo->mapTo(panel, QPoint(0, 0)), memo->size());
        EXPECT_GT(pixel(QPoint(inPanel.left() + 8, inPanel.bottom() - 6)), panelFace);
    }
}

TEST_F(AboutBoxTest, OpensOnTheWorkingDirectorysVolumeWithItsFigures) {
    AboutBox box(m_source);
    auto* drives = control<QComboBox>(box, "DrvCB");
    ASSERT_EQ(drives->count(), 3);
    EXPECT_EQ(drives->itemText(0), QStringLiteral("/ [system]"));
    EXPECT_EQ(drives->itemText(1), QStringLiteral("/media/usb"));
    EXPECT_EQ(drives->currentText(), QStringLiteral("/work [data]"));
    EXPECT_EQ(memo(box, "Memcurdrv"), std::string("Total Disk Size 2.00  MB\nSpace Free 1.00  MB"));
    EXPECT_EQ(m_source.queries["/work"], 1 + 1) << "once for the list, once for the summary";
}

TEST_F(AboutBoxTest, ChoosingAnotherVolumeShowsItsFiguresAndChoosingItAgainChangesNothing) {
    AboutBox box(m_source);
    box.show();
    auto* drives = control<QComboBox>(box, "DrvCB");
    drives->setFocus();

    QTest::keyClick(drives, Qt::Key_Home);
    EXPECT_EQ(drives->currentText(), QStringLiteral("/ [system]"));
    EXPECT_EQ(memo(box, "Memcurdrv"),
              std::string("Total Disk Size 39062.50  MB\nSpace Free 1000.00  MB"));

    const int queriesBefore = m_source.queries["/"];
    QTest::keyClick(drives, Qt::Key_Home);
    EXPECT_EQ(m_source.queries["/"], queriesBefore);
    EXPECT_EQ(memo(box, "Memcurdrv"),
              std::string("Total Disk Size 39062.50  MB\nSpace Free 1000.00  MB"));
}

TEST_F(AboutBoxTest, TypingInTheDriveListDropsItDown) {
    AboutBox box(m_source);
    box.show();
    auto* drives = control<QComboBox>(box, "DrvCB");
    drives->setFocus();
    QTest::keyClicks(drives, "/");
    EXPECT_TRUE(drives->view()->isVisible());
    drives->hidePopup();
}

TEST_F(AboutBoxTest, AVolumeThatCannotBeQueriedShowsZeroes) {
    AboutBox box(m_source);
    box.show();
    auto* drives = control<QComboBox>(box, "DrvCB");
    drives->setFocus();
    QTest::keyClick(drives, Qt::Key_Up); // from /work to /media/usb, which has no figures
    EXPECT_EQ(drives->currentText(), QStringLiteral("/media/usb"));
    EXPECT_EQ(memo(box, "Memcurdrv"), std::string("Total Disk Size 0.00  MB\nSpace Free 0.00  MB"));
}

TEST_F(AboutBoxTest, AWorkingDirectoryOnNoListedVolumeSelectsNothing) {
    m_source.workingVolume = QString();
    AboutBox box(m_source);
    EXPECT_EQ(control<QComboBox>(box, "DrvCB")->currentIndex(), -1);
    EXPECT_TRUE(memo(box, "Memcurdrv").empty());
}

TEST_F(AboutBoxTest, MemhddSummarisesAllMountedVolumes) {
    AboutBox box(m_source);
    EXPECT_EQ(memo(box, "memhdd"), std::string("All mounted volumes: 3\n"
                                               "Total Disk Size 39064.50  MB\n"
                                               "Space Free 1001.00  MB"));
}

// Listing the volumes reads a file per device; the summary and the drive list share one.
TEST_F(AboutBoxTest, OpeningListsTheVolumesOnce) {
    AboutBox box(m_source);
    EXPECT_EQ(m_source.listings, 1);
}

TEST_F(AboutBoxTest, EnterClosesTheBoxWithOk) {
    AboutBox box(m_source);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : &box;
    QTest::keyClick(focused, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST_F(AboutBoxTest, IsAFixedBoxCaptionedAboutWithOkAsDefault) {
    AboutBox box(m_source);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(box.size(), QSize(396, 481));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_TRUE(control<QPushButton>(box, "OKButton")->isDefault());
    EXPECT_EQ(text(box, "ProductName"), QStringLiteral("Pellion"));
    EXPECT_EQ(text(box, "Label4"), QStringLiteral("System Information"));
}

TEST_F(AboutBoxTest, TheAnimationPlaysWhileTheBoxIsOpen) {
    AboutBox box(m_source);
    auto* animation = control<pellion::FindAnimation>(box, "Animate1");
    EXPECT_FALSE(animation->isPlaying());
    box.show();
    EXPECT_TRUE(animation->isPlaying());
    QTRY_VERIFY(animation->frame() != 1);
    box.hide();
    EXPECT_FALSE(animation->isPlaying());
}

TEST_F(AboutBoxTest, HelpAboutShowsTheRunningSystemModallyUntilEnter) {
    QWidget owner;
    QTimer::singleShot(0, [] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->objectName(), QStringLiteral("AboutBox"));
        EXPECT_FALSE(
            box->findChild<QLabel*>(QStringLiteral("lbltotalmem"))->text().startsWith(u'0'));
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
    });
    pellion::showAboutBox(&owner);
    EXPECT_EQ(owner.findChildren<AboutBox*>().size(), 0) << "destroyed on closing";
}

} // namespace
