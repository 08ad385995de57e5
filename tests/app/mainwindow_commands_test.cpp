// The commands that open the windows of their own: calculator, help, About.

#include "mainwindowfixture.h"

#include "info/helpbrowser.h"
#include "info/helpwindow.h"
#include "report/reportform.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the next modal window that shows up, while the command that
// opened it waits in its own event loop.
void onNextModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start(5);
}

using pellion::MainWindow;

class CommandsTest : public MainWindowFixture {
protected:
    QAction* action(const char* name) const { return control<QAction>(name); }
};

TEST_F(CommandsTest, CalculatorButtonOpensTheCalculatorAndItKeepsItsValueBetweenOpenings) {
    start();
    QString seen;
    onNextModal([&](QWidget* calc) {
        seen = calc->objectName();
        QTest::keyClicks(calc, QStringLiteral("6*7="));
        QTest::mouseClick(calc->findChild<QAbstractButton*>(QStringLiteral("btnOK")),
                          Qt::LeftButton);
    });
    click("btncalculator");
    EXPECT_EQ(seen, QStringLiteral("CalculatorForm"));

    QString display;
    onNextModal([&](QWidget* calc) {
        display = calc->findChild<QLabel*>(QStringLiteral("Display"))->text();
        QTest::mouseClick(calc->findChild<QAbstractButton*>(QStringLiteral("btnCancel")),
                          Qt::LeftButton);
    });
    click("btncalculator");
    EXPECT_EQ(display, QStringLiteral("42"));
    EXPECT_TRUE(dialogs().empty());
}

TEST_F(CommandsTest, ContentsOpensOneMoreHelpWindowEachTimeOwnedByTheMainWindow) {
    MainWindow& window = start();
    action("Contents1")->trigger();
    action("Contents1")->trigger();
    const auto helpWindows = window.findChildren<pellion::HelpWindow*>();
    ASSERT_EQ(helpWindows.size(), 2);
    for (auto* help : helpWindows) {
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->windowTitle(), QStringLiteral("Orvane Fundora Help"));
    }
}

// An installed program has its help pages in the data folder of its prefix
// (prefix/share/pellion beside prefix/bin); the build folder has them beside it.
TEST_F(CommandsTest, ContentsShowsTheHelpBesideTheProgramElseTheInstalledOnes) {
    const auto writeIndex = [](const QString& folder, const char* title) {
        QDir().mkpath(folder);
        writeFile(folder + "/index.htm",
                  QByteArray("<html><head><title>") + title + "</title></head></html>");
    };
    writeIndex(appDir() + "/../share/pellion/help", "Installed");
    // Installed, the program reads its settings from the user's configuration
    // folder: an empty one of this test's own.
    struct ConfigHome {
        bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        ~ConfigHome() {
            wasSet ? qputenv("XDG_CONFIG_HOME", previous) : qunsetenv("XDG_CONFIG_HOME");
        }
    } configHome;
    qputenv("XDG_CONFIG_HOME", (appDir() + "/../config").toLocal8Bit());
    MainWindow& window = start();
    const auto shownTitle = [&] {
        action("Contents1")->trigger();
        const auto helpWindows = window.findChildren<pellion::HelpWindow*>();
        return helpWindows.isEmpty() ? QString() : helpWindows.back()->browser()->documentTitle();
    };
    EXPECT_EQ(shownTitle(), QStringLiteral("Installed"));
    writeIndex(appDir() + "/help", "Beside");
    EXPECT_EQ(shownTitle(), QStringLiteral("Beside"));
}

TEST_F(CommandsTest, AboutShowsTheAboutBoxModallyAndEnterClosesIt) {
    start();
    QString seen;
    onNextModal([&](QWidget* about) {
        seen = about->objectName();
        QTest::keyClick(about, Qt::Key_Return);
    });
    action("About1")->trigger();
    EXPECT_EQ(seen, QStringLiteral("AboutBox"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(CommandsTest, PrintPreviewShowsTheReportAndReturnsWhenThePreviewCloses) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    QString caption;
    onPreview([&caption](QWidget* preview) { caption = preview->windowTitle(); });
    action("PrintPreview1")->trigger();
    EXPECT_EQ(caption, QStringLiteral("Pellion Report"));
    EXPECT_TRUE(dialogs().empty());
}

// What the report is handed while its preview is open: the texts of the
// fields, so a zero day total gives a lone "$" and a zero hour total "$0".
TEST_F(CommandsTest, PrintPreviewHandsTheFieldsTextsToTheReport) {
    struct Case {
        const char* situation;
        bool kettle;
        const char* price;    // typed into the price field
        QStringList captions; // RLabel10, rptlbltotal, rptlbltd, rptlbldkwu
    };
    const Case cases[] = {
        {"empty list", false, "0.2", {"0.2", "$0", "$", "0"}},
        {"a kettle", true, "0.25", {"0.25", "$0.01042", "$0.25", "1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        start();
        if (c.kettle)
            addAppliance("Kettle", "250", "8", "", "0.5");
        typePrice("sechgphr", QString::fromLatin1(c.price));
        QStringList captions;
        onPreview([&](QWidget*) {
            if (auto* form = m_window->findChild<pellion::ReportForm*>())
                for (const char* name : {"RLabel10", "rptlbltotal", "rptlbltd", "rptlbldkwu"})
                    captions << form->caption(QString::fromLatin1(name));
        });
        action("PrintPreview1")->trigger();
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(m_window->findChild<pellion::ReportForm*>(), nullptr); // destroyed
        m_window.reset();
    }
}

} // namespace
