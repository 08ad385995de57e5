#include "info/flatbutton.h"
#include "info/helpbrowser.h"
#include "info/helpwindow.h"
#include "info/weblauncher.h"

#include "tests/dialoganswerer.h"
#include "tests/qtapplication.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <vector>

namespace {

using pellion::FlatButton;
using pellion::HelpWindow;

// A program folder with two help pages: the index links to a second page,
// which links to the web. Web addresses are recorded instead of opened.
class HelpWindowTest : public ::testing::Test, protected WithApplication {
protected:
    HelpWindowTest() {
        QDir(m_appDir.path()).mkdir(QStringLiteral("help"));
        writePage("index.htm",
                  "<html><head><title>Contents</title></head><body>"
                  "<p>Start here: <a href=\"page2.htm\">Second page</a></p></body></html>");
        writePage("page2.htm", "<html><head><title>Second</title></head><body>"
                               "<p><a href=\"https://example.org/more\">More on the web</a></p>"
                               "</body></html>");
        m_previousLauncher = pellion::setWebLauncher([this](const QUrl& address) {
            m_opened.push_back(address);
            return m_launcherSucceeds;
        });
    }

    ~HelpWindowTest() override { pellion::setWebLauncher(m_previousLauncher); }

    void writePage(const char* name, const char* html) {
        QFile page(helpFile(name));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write(html);
    }

    QString helpFile(const char* name) const {
        return m_appDir.path() + QStringLiteral("/help/") + QString::fromLatin1(name);
    }

    static QUrl shownPage(HelpWindow* window) { return window->browser()->source(); }

    static void press(HelpWindow* window, const char* button) {
        auto* target = window->findChild<FlatButton*>(QString::fromLatin1(button));
        ASSERT_NE(target, nullptr) << button;
        QTest::mouseClick(target, Qt::LeftButton);
    }

    // Clicks the link with this text in the page on view, as the user would.
    static void followLink(HelpWindow* window, const QString& linkText) {
        pellion::HelpBrowser* browser = window->browser();
        QTextDocument* document = browser->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (!fragment.charFormat().isAnchor() || fragment.text() != linkText)
                    continue;
                QTextCursor cursor(document);
                cursor.setPosition(fragment.position() + 1);
                const QPoint spot = browser->cursorRect(cursor).center();
                QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, spot);
                return;
            }
        }
        FAIL() << "no link " << linkText.toStdString();
    }

    // Each box shown, as "caption|text".
    QStringList shownBoxes() const {
        QStringList shown;
        for (const SeenDialog& box : m_boxes.seen())
            shown << box.caption + u'|' + box.text;
        return shown;
    }

    QTemporaryDir m_appDir;
    QWidget m_owner;
    std::vector<QUrl> m_opened;
    bool m_launcherSucceeds = true;
    pellion::WebLauncher m_previousLauncher;
    DialogAnswerer m_boxes;
};

TEST_F(HelpWindowTest, EachContentsOpensOneMoreMaximizedWindowAtTheIndex) {
    HelpWindow* first = pellion::openHelpWindow(&m_owner, m_appDir.path());
    HelpWindow* second = pellion::openHelpWindow(&m_owner, m_appDir.path());

    ASSERT_NE(first, second);
    for (HelpWindow* window : {first, second}) {
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
        EXPECT_FALSE(window->isModal());
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Orvane Fundora Help"));
        EXPECT_EQ(window->objectName(), QStringLiteral("frm_hlpcont"));
        EXPECT_EQ(shownPage(window), QUrl::fromLocalFile(helpFile("index.htm")));
        EXPECT_EQ(window->browser()->documentTitle(), QStringLiteral("Contents"));
    }
    EXPECT_EQ(m_owner.findChildren<HelpWindow*>().size(), 2);
    EXPECT_TRUE(shownBoxes().isEmpty());
}

TEST_F(HelpWindowTest, BackOnAFreshWindowChangesNothingAndSaysNothing) {
    HelpWindow* window = pellion::openHelpWindow(&m_owner, m_appDir.path());
    press(window, "obtn_back");
    press(window, "obtn_forward");
    EXPECT_EQ(shownPage(window), QUrl::fromLocalFile(helpFile("index.htm")));
    EXPECT_TRUE(shownBoxes().isEmpty());
}

TEST_F(HelpWindowTest, BackAndForwardWalkTheWindowsOwnHistory) {
    HelpWindow* window = pellion::openHelpWindow(&m_owner, m_appDir.path());
    HelpWindow* other = pellion::openHelpWindow(&m_owner, m_appDir.path());
    followLink(window, QStringLiteral("Second page"));
    ASSERT_EQ(shownPage(window), QUrl::fromLocalFile(helpFile("page2.htm")));

    press(window, "obtn_back");
    EXPECT_EQ(shownPage(window), QUrl::fromLocalFile(helpFile("index.htm")));
    press(window, "obtn_forward");
    EXPECT_EQ(shownPage(window), QUrl::fromLocalFile(helpFile("page2.htm")));

    press(other, "obtn_forward");
    EXPECT_EQ(shownPage(other), QUrl::fromLocalFile(helpFile("index.htm")))
        << "windows share no history";
}

TEST_F(HelpWindowTest, PellionHelpReturnsToTheIndexAfterFollowingALink) {
    HelpWindow* window = pellion::openHelpWindow(&m_owner, m_appDir.path());
    followLink(window, QStringLiteral("Second page"));
    ASSERT_EQ(window->browser()->documentTitle(), QStringLiteral("Second"));

    press(window, "obtn_contents");
    EXPECT_EQ(shownPage(window), QUrl::fromLocalFile(helpFile("index.htm")));
    EXPECT_EQ(window->browser()->documentTitle(), QStringLiteral("Contents"));
    press(window, "obtn_back");
    EXPECT_EQ(shownPage(window), QUrl::fromLocalFile(helpFile("page2.htm")))
        << "the index is a new step in the history";
}

TEST_F(HelpWindowTest, HomeAndSearchHandTheWebBrowserTheirAddressesAndStayPut) {
    HelpWindow* window = pellion::openHelpWindow(&m_owner, m_appDir.path());
    press(window, "obtn_home");
    press(window, "obtn_search");
    ASSERT_EQ(m_opened.size(), 2u);
    EXPECT_EQ(m_opened[0], pellion::webHomeAddress());
    EXPECT_EQ(m_opened[1], pellion::webSearchAddress());
    EXPECT_EQ(shownPage(window), QUrl::fromLocalFile(helpFile("index.htm")));

    m_launcherSucceeds = false; // no web browser on this machine
    press(window, "obtn_home");
    press(window, "obtn_search");
    EXPECT_TRUE(shownBoxes().isEmpty());
}

TEST_F(HelpWindowTest, WebLinksInAPageGoToTheWebBrowser) {
    HelpWindow* window = pellion::openHelpWindow(&m_owner, m_appDir.path());
    followLink(window, QStringLiteral("Second page"));
    followLink(window, QStringLiteral("More on the web"));
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], QUrl(QStringLiteral("https://example.org/more")));
    EXPECT_EQ(shownPage(window), QUrl::fromLocalFile(helpFile("page2.htm")));
}

TEST_F(HelpWindowTest, ClosingHidesAndTheNextContentsOpensAFreshWindowAtTheIndex) {
    QPointer<HelpWindow> closed = pellion::openHelpWindow(&m_owner, m_appDir.path());
    followLink(closed, QStringLiteral("Second page"));
    EXPECT_TRUE(closed->close());
    QCoreApplication::processEvents();
    ASSERT_FALSE(closed.isNull()) << "closing only hides";
    EXPECT_TRUE(closed->isHidden());

    HelpWindow* fresh = pellion::openHelpWindow(&m_owner, m_appDir.path());
    EXPECT_NE(fresh, closed.data());
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_TRUE(fresh->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(shownPage(fresh), QUrl::fromLocalFile(helpFile("index.htm")));
    EXPECT_FALSE(fresh->browser()->isBackwardAvailable());
}

TEST_F(HelpWindowTest, TheOwnerTakesItsHelpWindowsWithIt) {
    auto* owner = new QWidget;
    QPointer<HelpWindow> open = pellion::openHelpWindow(owner, m_appDir.path());
    QPointer<HelpWindow> hidden = pellion::openHelpWindow(owner, m_appDir.path());
    hidden->close();
    delete owner;
    EXPECT_TRUE(open.isNull());
    EXPECT_TRUE(hidden.isNull());
}

// The bar at the window's designed 680 x 555: its bevels are its only margins,
// so the five panels fill the width exactly, each button filling its panel
// but for one pixel, the right-hand three pinned to the right edge.
TEST_F(HelpWindowTest, TheBarFitsTheDesignedWidthWithFullHeightButtons) {
    HelpWindow window(m_appDir.path(), &m_owner);
    window.resize(680, 555);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.size(), QSize(680, 555));
    EXPECT_LE(window.minimumSizeHint().width(), 680);

    const QWidget* bar = window.findChild<QWidget*>(QStringLiteral("pnl_buttons"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 680, 25));
    const struct {
        const char* name;
        int panelLeft, panelWidth;
    } buttons[] = {
        {"obtn_back", 2, 87},        {"obtn_forward", 89, 87}, {"obtn_search", 176, 192},
        {"obtn_contents", 368, 192}, {"obtn_home", 560, 118},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        const auto* button = window.findChild<FlatButton*>(QString::fromLatin1(b.name));
        ASSERT_NE(button, nullptr);
        const QRect inBar(button->mapTo(bar, QPoint(0, 0)), button->size());
        EXPECT_EQ(inBar, QRect(b.panelLeft + 1, 3, b.panelWidth - 2, 19));
    }
}

// The dotted focus rectangle goes round the bullet and the caption, never
// through them.
TEST_F(HelpWindowTest, TheFocusRectangleStaysClearOfTheCaption) {
    HelpWindow window(m_appDir.path(), &m_owner);
    window.resize(680, 555);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWidget* page = window.browser()->viewport();
    for (const char* name : {"obtn_back", "obtn_search", "obtn_home"}) {
        SCOPED_TRACE(name);
        auto* button = window.findChild<FlatButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr);
        window.browser()->setFocus();
        QTest::mouseMove(page, page->rect().center()); // no hover look on the button
        ASSERT_FALSE(button->hasFocus());
        const QImage plain = button->grab().toImage();
        press(&window, name);
        QTest::mouseMove(page, page->rect().center());
        ASSERT_TRUE(button->hasFocus());
        const QImage focused = button->grab().toImage();
        ASSERT_EQ(plain.size(), focused.size());

        const QColor face = plain.pixelColor(1, 1);
        QRect content; // the bullet and the caption, as drawn without the focus
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                if (plain.pixelColor(x, y) != face)
                    content |= QRect(x, y, 1, 1);
        ASSERT_FALSE(content.isEmpty());
        QRect focusMark; // what the focus adds
        int overContent = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                if (focused.pixelColor(x, y) == plain.pixelColor(x, y))
                    continue;
                focusMark |= QRect(x, y, 1, 1);
                overContent += content.contains(x, y) ? 1 : 0;
            }
        }
        ASSERT_FALSE(focusMark.isEmpty()) << "no focus rectangle drawn";
        EXPECT_EQ(overContent, 0) << "the focus rectangle crosses the bullet or the caption";
        EXPECT_TRUE(focusMark.contains(content, true));
    }
}

TEST_F(HelpWindowTest, AMissingIndexShowsThePageViewsOwnNoticeWithoutAnError) {
    QFile::remove(helpFile("index.htm"));
    HelpWindow* window = pellion::openHelpWindow(&m_owner, m_appDir.path());
    EXPECT_TRUE(shownBoxes().isEmpty());
    EXPECT_EQ(window->browser()->documentTitle(), QStringLiteral("Page not found"));
    EXPECT_TRUE(
        window->browser()->toPlainText().contains(QDir::toNativeSeparators(helpFile("index.htm"))));
}

TEST_F(HelpWindowTest, AnIndexThatCannotBeReadIsReportedAndTheWindowStillOpens) {
    QFile::remove(helpFile("index.htm"));
    QDir(m_appDir.path() + QStringLiteral("/help")).mkdir(QStringLiteral("index.htm"));
    const QString expected = QStringLiteral("Pellion|Cannot open file ") +
                             QDir::toNativeSeparators(helpFile("index.htm")) + u'.';

    HelpWindow* window = pellion::openHelpWindow(&m_owner, m_appDir.path());
    ASSERT_EQ(shownBoxes(), QStringList{expected});
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->browser()->toPlainText().isEmpty());

    press(window, "obtn_contents");
    EXPECT_EQ(shownBoxes(), (QStringList{expected, expected}));
    EXPECT_TRUE(window->isVisible());
}

} // namespace
