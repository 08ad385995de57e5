// Where the settings and the help pages are found, decided from the program's
// folder as its user sees it: a folder the user may write (a build folder, a
// portable copy) keeps cfgfd.ini; an installed program's folder does not.

#include "app/programfiles.h"

#include "app/settingsfile.h"
#include "tests/scratchfolder.h"
#include "tests/unprivileged.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using pellion::testing::runUnprivileged;

class ProgramFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_configHomeWasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        m_previousConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", path("home/.config").toLocal8Bit());
        // The unprivileged user makes its configuration folder in this home.
        fs::create_directories(m_root.path() / "home");
        fs::permissions(m_root.path() / "home", fs::perms::all);
    }
    void TearDown() override {
        if (m_configHomeWasSet)
            qputenv("XDG_CONFIG_HOME", m_previousConfigHome);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    QString path(const char* relative) const {
        return QString::fromStdString((m_root.path() / relative).string());
    }
    void makeFolder(const char* relative, fs::perms permissions = fs::perms::all) const {
        fs::create_directories(m_root.path() / relative);
        fs::permissions(m_root.path() / relative, permissions);
    }

    pellion::testing::ScratchFolder m_root{"programfiles_test"};
    bool m_configHomeWasSet = false;
    QByteArray m_previousConfigHome;
};

constexpr auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;

TEST_F(ProgramFilesTest,
       SettingsStayBesideACopyInAWritableFolderElseGoToTheUsersConfigurationFolder) {
    struct Case {
        const char* situation;
        bool folderExists;
        fs::perms permissions;
        bool installed; // its help pages in the prefix's data folder
        const char* expectedFolder;
        bool expectedUserFolder;
        bool holdsSettings = false; // a cfgfd.ini already beside the program
    };
    const Case cases[] = {
        {"a copy in a folder the user may write", true, fs::perms::all, false, "prefix/bin", false},
        {"a copy in a folder the user may not write", true, readOnly, false, "home/.config/pellion",
         true},
        {"an installed program under a read-only prefix", true, readOnly, true,
         "home/.config/pellion", true},
        {"an installed program under a prefix the user may write", true, fs::perms::all, true,
         "home/.config/pellion", true},
        {"a program folder that is gone", false, fs::perms::all, false, "home/.config/pellion",
         true},
        {"a copy in a folder the user may not write, holding its settings", true, readOnly, false,
         "prefix/bin", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        fs::remove_all(m_root.path() / "prefix");
        if (c.installed)
            makeFolder("prefix/share/pellion/help");
        if (c.folderExists) {
            makeFolder("prefix/bin");
            if (c.holdsSettings)
                std::ofstream(m_root.path() / "prefix/bin/cfgfd.ini") << "[cost]\n0=0.25\n";
            fs::permissions(m_root.path() / "prefix/bin", c.permissions);
        }
        const auto seen = runUnprivileged([&] {
            const pellion::SettingsLocation location =
                pellion::settingsLocation(path("prefix/bin"));
            return (location.folder + (location.userFolder ? "|user" : "|beside")).toStdString();
        });
        const QString expected =
            path(c.expectedFolder) + (c.expectedUserFolder ? "|user" : "|beside");
        EXPECT_EQ(seen, expected.toStdString());
    }
}

TEST_F(ProgramFilesTest, FirstSaveOfAnInstalledProgramMakesTheUsersConfigurationFolder) {
    makeFolder("prefix/bin", readOnly);
    const auto saved = runUnprivileged([&] {
        const pellion::SettingsLocation location = pellion::settingsLocation(path("prefix/bin"));
        location.prepareForSaving();
        pellion::SettingsFile settings(location.filePath().toStdString());
        settings.write("cost", "0", "0.25");
        try {
            settings.save();
        } catch (const std::exception& error) {
            return std::string(error.what());
        }
        return location.filePath().toStdString();
    });
    EXPECT_EQ(saved, path("home/.config/pellion/cfgfd.ini").toStdString());
    EXPECT_EQ(pellion::testing::readBytes(m_root.path() / "home/.config/pellion/cfgfd.ini"),
              "[cost]\n0=0.25\n");
    EXPECT_FALSE(fs::exists(m_root.path() / "prefix/bin/cfgfd.ini"));
}

// The program's own folder is never made: a settings file that cannot be
// written there is the save's error, not a new folder.
TEST_F(ProgramFilesTest, SavingBesideTheProgramNeverMakesItsFolder) {
    makeFolder("program");
    const pellion::SettingsLocation location = pellion::settingsLocation(path("program"));
    fs::remove_all(m_root.path() / "program");
    location.prepareForSaving();
    EXPECT_FALSE(QFileInfo::exists(path("program")));
}

TEST_F(ProgramFilesTest, HelpIsFoundBesideTheProgramElseInTheInstalledDataFolder) {
    struct Case {
        const char* situation;
        bool helpBeside;
        bool helpInstalled;
        const char* expected;
    };
    const Case cases[] = {
        {"the build folder, with an install elsewhere", true, true, "prefix/bin"},
        {"an installed program", false, true, "prefix/share/pellion"},
        {"a lone copy of the program", false, false, "prefix/bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        fs::remove_all(m_root.path() / "prefix");
        makeFolder("prefix/bin");
        if (c.helpBeside)
            makeFolder("prefix/bin/help");
        if (c.helpInstalled)
            makeFolder("prefix/share/pellion/help");
        EXPECT_EQ(pellion::dataFolder(path("prefix/bin")), path(c.expected));
    }
}

} // namespace
