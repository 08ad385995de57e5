// What Save does with the files the user already has: a file the user
// protected is not replaced, a folder that takes no new file does not stop a
// save, and a ledger that start-up did not load completely is kept as
// pellion.csv.bak before the first Save replaces it. The permission cases run
// as an unprivileged user.

#include "ledgertext.h"
#include "mainwindowfixture.h"

#include "tests/unprivileged.h"

#include <QLineEdit>

#include <sys/stat.h>

namespace {

using pellion::testing::ledgerWithLines;

// Thirty appliances; the twentieth's wattage is no number when `damaged`.
QByteArray thirtyAppliances(bool damaged) {
    QList<QByteArray> records;
    for (int i = 1; i <= 30; ++i) {
        const QByteArray watts = damaged && i == 20 ? "2o0" : QByteArray::number(i * 10);
        records << ",\"Appliance " + QByteArray::number(i) + "\",,,\"1\",,\"230\",\"" + watts +
                       "\",";
    }
    return ledgerWithLines(records);
}

const QByteArray kSettings = "[cost]\n0=0.20\n[dailycosts]\n0=0.50\n";

class SaveSafetyTest : public MainWindowFixture {
protected:
    static mode_t modeOf(const QString& path) {
        struct stat status {};
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
        return status.st_mode & 07777;
    }
    static void setMode(const QString& path, mode_t mode) {
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
    }
    QStringList filesIn(const QString& folder) const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    QString bak(const char* suffix = "") const { return ledgerPath() + ".bak" + suffix; }
};

// Files that cannot be written at all: Save stops at the first and names it.
TEST_F(SaveSafetyTest, FailedSettingsWriteEndsSaveAndNamesTheFile) {
    start();
    QDir(appDir()).removeRecursively(); // nowhere to write the settings
    click("btnSave");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Pellion");
    EXPECT_EQ(dialogs()[0].text, "Unable to write to " + settingsPath() + ".");
    EXPECT_FALSE(m_window->saved());
    EXPECT_FALSE(QFile::exists(ledgerPath()));
}

TEST_F(SaveSafetyTest, LedgerThatCannotBeCreatedEndsSaveAfterTheSettings) {
    start();
    QDir(workDir()).mkdir(QStringLiteral("pellion.csv")); // in the way of the file
    click("btnSave");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Pellion");
    EXPECT_EQ(dialogs()[0].text, "Cannot create file pellion.csv.");
    EXPECT_TRUE(QFile::exists(settingsPath()));
    EXPECT_FALSE(m_window->saved());
}

// Each file the user protected stays as it was, mode included; Save says why
// it stopped and the work stays unsaved.
TEST_F(SaveSafetyTest, ProtectedFilesAreNotReplaced) {
    PELLION_RUN_AS_UNPRIVILEGED_USER();
    struct Case {
        const char* situation;
        bool settings; // the settings file is the protected one, else the ledger
        mode_t mode;
        QString message;
    };
    const std::vector<Case> cases = {
        {"read-only ledger", false, 0444, "Cannot create file pellion.csv."},
        {"unreadable ledger", false, 0000, "Cannot create file pellion.csv."},
        {"write-only ledger", false, 0200, "Cannot create file pellion.csv."},
        {"read-only settings", true, 0444, "Unable to write to " + settingsPath() + "."},
        {"write-only settings", true, 0200, "Unable to write to " + settingsPath() + "."},
    };
    const QByteArray ledger = ledgerWithLines({",\"Kettle\",,,\"0.5\",,\"230\",\"2000\","});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        m_window.reset();
        const QString path = c.settings ? settingsPath() : ledgerPath();
        writeFile(settingsPath(), kSettings);
        writeFile(ledgerPath(), ledger);
        setMode(path, c.mode);

        start();
        spin("sechgphr")->setValue(0.3);
        answer({"OK"});
        click("btnSave");
        ASSERT_EQ(dialogs().size(), 1u);
        EXPECT_EQ(dialogs()[0].text, c.message);
        EXPECT_FALSE(m_window->saved());
        EXPECT_EQ(modeOf(path), c.mode);
        EXPECT_EQ(filesIn(workDir()), QStringList{"pellion.csv"});
        EXPECT_EQ(filesIn(appDir()), QStringList{"cfgfd.ini"});
        setMode(path, 0600);
        EXPECT_EQ(readFile(path), c.settings ? kSettings : ledger);
    }
}

// A shared or program folder the user cannot write, holding files the user
// can: Save rewrites both files where they stand.
TEST_F(SaveSafetyTest, FoldersThatTakeNoNewFileDoNotStopSave) {
    PELLION_RUN_AS_UNPRIVILEGED_USER();
    writeFile(settingsPath(), kSettings);
    writeFile(ledgerPath(), ledgerWithLines({",\"Kettle\",,,\"0.5\",,\"230\",\"2000\","}));
    setMode(ledgerPath(), 0640);
    setMode(appDir(), 0555);
    setMode(workDir(), 0555);

    start();
    spin("sechgphr")->setValue(0.3);
    click("btnSave");
    EXPECT_TRUE(dialogs().empty())
        << (dialogs().empty() ? QString() : dialogs()[0].text).toStdString();
    EXPECT_TRUE(m_window->saved());
    EXPECT_TRUE(readFile(settingsPath()).contains("[cost]\n0=0.30\n"));
    EXPECT_TRUE(readFile(ledgerPath()).contains("\"8.6957\",\"Kettle\",")); // recalculated
    EXPECT_EQ(modeOf(ledgerPath()), 0640u);
    EXPECT_EQ(filesIn(workDir()), QStringList{"pellion.csv"});
    EXPECT_EQ(filesIn(appDir()), QStringList{"cfgfd.ini"});
    setMode(appDir(), 0755);
    setMode(workDir(), 0755);
}

// Whatever kept start-up from loading the whole ledger, the first Save keeps
// the file as it was before replacing it with the list on screen; later
// saves replace it as usual.
TEST_F(SaveSafetyTest, LedgerNotLoadedCompletelyIsKeptBeforeTheFirstSaveReplacesIt) {
    struct Case {
        const char* situation;
        QByteArray settings;
        QByteArray ledger;
        int recordsShown;
    };
    const std::vector<Case> cases = {
        {"a number that is no number on the twentieth line", kSettings, thirtyAppliances(true), 20},
        {"a setting that stops the start-up", "[cost]\n0=0.20\n[dailycosts]\n0=x\n",
         thirtyAppliances(false), 0},
        {"definitions that leave the list closed", kSettings, ledgerWithLines({}).left(200),
         0}, // ends inside the definitions
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        m_window.reset();
        QFile::remove(bak());
        writeFile(settingsPath(), c.settings);
        writeFile(ledgerPath(), c.ledger);
        start({"OK", "OK", "OK"});
        EXPECT_EQ(table().isOpen() ? table().RecordTotal() : 0, c.recordsShown);

        answer({"OK"});
        click("btnSave");
        if (!table().isOpen()) {
            // A closed list is never saved: the file stays as it is.
            EXPECT_EQ(readFile(ledgerPath()), c.ledger);
            EXPECT_FALSE(QFile::exists(bak()));
            continue;
        }
        EXPECT_TRUE(dialogs().empty());
        EXPECT_EQ(readFile(bak()), c.ledger);
        EXPECT_EQ(modeOf(bak()), modeOf(ledgerPath()));
        EXPECT_NE(readFile(ledgerPath()), c.ledger);

        click("btnSave");
        EXPECT_EQ(readFile(bak()), c.ledger);
        EXPECT_EQ(filesIn(workDir()), (QStringList{"pellion.csv", "pellion.csv.bak"}));
    }
}

// A .bak the user already has is kept too, under the next free number.
TEST_F(SaveSafetyTest, BackupKeepsTheUsersOwnBakFile) {
    writeFile(settingsPath(), kSettings);
    const QByteArray damaged = thirtyAppliances(true);
    writeFile(ledgerPath(), damaged);
    writeFile(bak(), "the user's own backup");
    start();
    click("btnSave");
    EXPECT_EQ(readFile(bak()), damaged);
    EXPECT_EQ(readFile(bak(".1")), "the user's own backup");
}

// A ledger that loaded whole, or none at all, is simply replaced.
TEST_F(SaveSafetyTest, LedgerLoadedWholeIsReplacedWithoutABackup) {
    for (const bool ledger : {true, false}) {
        SCOPED_TRACE(ledger ? "a whole ledger" : "no ledger");
        m_window.reset();
        QFile::remove(ledgerPath());
        if (ledger)
            writeFile(ledgerPath(), thirtyAppliances(false));
        start();
        click("btnSave");
        EXPECT_TRUE(dialogs().empty());
        EXPECT_EQ(filesIn(workDir()), QStringList{"pellion.csv"});
    }
}

} // namespace
