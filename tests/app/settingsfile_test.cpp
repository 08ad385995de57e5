#include "app/settingsfile.h"

#include "base/error.h"
#include "tests/errortext.h"
#include "tests/scratchfolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
protected:
    std::string path() const { return (m_folder.path() / "cfgfd.ini").string(); }
    void writeFile(const std::string& text) const { pellion::testing::writeBytes(path(), text); }
    std::string readFile() const { return pellion::testing::readBytes(path()); }
    std::vector<std::string> folderEntries() const { return m_folder.entries(); }

    pellion::testing::ScratchFolder m_folder{"settingsfile_test"};
};

TEST_F(SettingsFileTest, ReadsSectionsInAnyOrderIgnoringCaseAndSurroundingBlanks) {
    writeFile("; prices\n[dcdisc]\n0=0.30\n\n[ COST ]\n  0 =  0.25  \n[kwhdisc]\n1=x\n");
    const pellion::SettingsFile settings(path());
    struct Case {
        const char* situation;
        const char* section;
        const char* expected;
    };
    const Case cases[] = {
        {"last section written first", "dcdisc", "0.30"},
        {"section name in other case and blanks", "cost", "0.25"},
        {"section without the key", "kwhdisc", "ERROR"},
        {"section missing", "dailycosts", "ERROR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        EXPECT_EQ(settings.read(c.section, "0", "ERROR"), c.expected);
    }
}

TEST_F(SettingsFileTest, MissingFileReadsAsEmpty) {
    const pellion::SettingsFile settings(path());
    EXPECT_EQ(settings.read("cost", "0", "ERROR"), "ERROR");
}

TEST_F(SettingsFileTest, ValueIsReplacedInPlaceAndEverythingElseKept) {
    writeFile("; hand written\r\n[cost]\r\n0=0.20\r\nnote=keep me\r\n\r\n[other]\r\nx=1\r\n");
    pellion::SettingsFile settings(path());
    settings.write("Cost", "0", "0.25");
    settings.save();
    EXPECT_EQ(readFile(),
              "; hand written\r\n[cost]\r\n0=0.25\r\nnote=keep me\r\n\r\n[other]\r\nx=1\r\n");
}

TEST_F(SettingsFileTest, MissingKeyGoesAtTheEndOfItsSectionAndMissingSectionAtTheEnd) {
    writeFile("[cost]\nnote=1\n\n[other]\nx=1\n");
    pellion::SettingsFile settings(path());
    settings.write("cost", "0", "0.25");
    settings.write("dcdisc", "0", "0.00");
    settings.save();
    EXPECT_EQ(readFile(), "[cost]\nnote=1\n0=0.25\n\n[other]\nx=1\n[dcdisc]\n0=0.00\n");
    EXPECT_EQ(pellion::SettingsFile(path()).read("dcdisc", "0", "ERROR"), "0.00");
}

TEST_F(SettingsFileTest, SaveCreatesTheFileWithNothingLeftBeside) {
    pellion::SettingsFile settings(path());
    settings.write("cost", "0", "0.01");
    settings.save();
    EXPECT_EQ(readFile(), "[cost]\n0=0.01\n");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"cfgfd.ini"});
}

TEST_F(SettingsFileTest, FailedWriteKeepsTheOldFileAndNamesThePath) {
    writeFile("[cost]\n0=0.20\n");
    pellion::SettingsFile settings(path());
    settings.write("cost", "0", "0.25");
    settings.write("padding", "0", std::string(4096, 'x'));

    // A file size limit makes the write fail the way a full disk would.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    rlimit limit = oldLimit;
    limit.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const std::string message = pellion::testing::errorText([&] { settings.save(); });
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(message, "Unable to write to " + path());
    EXPECT_EQ(readFile(), "[cost]\n0=0.20\n");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"cfgfd.ini"});
}

TEST_F(SettingsFileTest, FolderThatDoesNotExistFailsWithThePath) {
    const std::string missing = (m_folder.path() / "gone" / "cfgfd.ini").string();
    pellion::SettingsFile settings(missing);
    settings.write("cost", "0", "0.01");
    EXPECT_EQ(pellion::testing::errorText([&] { settings.save(); }),
              "Unable to write to " + missing);
}

} // namespace

namespace {

TEST_F(SettingsFileTest, FileTooLargeToBeSettingsReadsAsEmptyAndIsReplacedOnSave) {
    writeFile("[cost]\n0=0.20\n" + std::string(pellion::SettingsFile::maxFileSize, ';'));
    pellion::SettingsFile settings(path());
    EXPECT_EQ(settings.read("cost", "0", "ERROR"), "ERROR");
    settings.write("cost", "0", "0.25");
    settings.save();
    EXPECT_EQ(readFile(), "[cost]\n0=0.25\n");
}

TEST(SettingsFileText, FirstLineEndingIsKeptAndAFinalLineWithoutEndingIsRead) {
    pellion::SettingsFile settings("unused.ini");
    settings.setContents("[cost]\r\n0=0.20");
    EXPECT_EQ(settings.read("cost", "0", "ERROR"), "0.20");
    settings.write("dcdisc", "0", "1");
    EXPECT_EQ(settings.contents(), "[cost]\r\n0=0.20\r\n[dcdisc]\r\n0=1\r\n");
}

} // namespace
