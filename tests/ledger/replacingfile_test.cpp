// How a save puts its file in place: never over a file the user may not
// write, in place where the folder takes no new file, keeping mode, owner and
// group, clearing away what crashed saves left, and keeping a backup copy
// when asked. The permission cases run as an unprivileged user.

#include "base/replacingfile.h"

#include "base/error.h"
#include "ledger/appliancetable.h"
#include "ledger/ledgerfile.h"
#include "tests/errortext.h"
#include "tests/scratchfolder.h"
#include "tests/unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pellion {
namespace {

namespace fs = std::filesystem;
using testing::errorText;
using testing::readBytes;
using testing::writeBytes;

const ReplacingFile::Messages kMessages{"cannot create", "cannot write", "cannot replace"};

struct stat statusOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status;
}

mode_t modeOf(const fs::path& path) {
    return statusOf(path).st_mode & 07777;
}

void save(const fs::path& path, const std::string& bytes,
          ReplacingFile::OldFile old = ReplacingFile::OldFile::Replace) {
    ReplacingFile file(path.string(), kMessages, old);
    file.write(bytes);
    file.commit();
}

class ReplacingFileTest : public ::testing::Test {
protected:
    // The folder's contents, for "nothing left behind, nothing else touched".
    std::vector<std::string> entries() const { return m_folder.entries(); }

    testing::ScratchFolder m_folder{"replacingfile_test"};
    fs::path m_path = m_folder.path() / "pellion.csv";
};

// Each file the user may not write stays exactly as it was, and no file
// appears beside it.
TEST_F(ReplacingFileTest, FileTheUserMayNotWriteIsNotReplaced) {
    PELLION_RUN_AS_UNPRIVILEGED_USER();
    for (const mode_t mode : {0444, 0000}) {
        SCOPED_TRACE(::testing::Message() << "mode " << std::oct << mode);
        writeBytes(m_path, "the user's list");
        ASSERT_EQ(::chmod(m_path.c_str(), mode), 0);
        EXPECT_EQ(errorText([&] { save(m_path, "new"); }), "cannot create");
        EXPECT_EQ(modeOf(m_path), mode);
        EXPECT_EQ(entries(), std::vector<std::string>{"pellion.csv"});
        ASSERT_EQ(::chmod(m_path.c_str(), 0600), 0);
        EXPECT_EQ(readBytes(m_path), "the user's list");
        fs::remove(m_path);
    }
}

// A folder the user cannot write, holding a file the user can: the file is
// rewritten where it stands, shorter or longer than before.
TEST_F(ReplacingFileTest, WritableFileInAFolderThatTakesNoNewFileIsRewrittenInPlace) {
    PELLION_RUN_AS_UNPRIVILEGED_USER();
    writeBytes(m_path, "the old contents of the list");
    ASSERT_EQ(::chmod(m_path.c_str(), 0640), 0);
    const ino_t inode = statusOf(m_path).st_ino;
    ASSERT_EQ(::chmod(m_folder.path().c_str(), 0555), 0);
    for (const std::string& contents :
         {std::string("short"), std::string(100000, 'x'), std::string()}) {
        SCOPED_TRACE(contents.size());
        EXPECT_EQ(errorText([&] { save(m_path, contents); }), "(no error)");
        EXPECT_EQ(readBytes(m_path), contents);
        EXPECT_EQ(statusOf(m_path).st_ino, inode);
        EXPECT_EQ(modeOf(m_path), 0640u);
        EXPECT_EQ(entries(), std::vector<std::string>{"pellion.csv"});
    }
    // A backup needs a new file in the folder: without it nothing is changed.
    EXPECT_EQ(errorText([&] { save(m_path, "new", ReplacingFile::OldFile::KeepAsBackup); }),
              "cannot create");
    EXPECT_EQ(readBytes(m_path), "");
    ASSERT_EQ(::chmod(m_folder.path().c_str(), 0755), 0);
}

TEST_F(ReplacingFileTest, NewFileKeepsTheModeOwnerAndGroupOfTheOldOne) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give the old file another user's owner and group";
    const uid_t owner = 4321;
    const gid_t group = 8765;
    writeBytes(m_path, "old");
    ASSERT_EQ(::chown(m_path.c_str(), owner, group), 0);
    ASSERT_EQ(::chmod(m_path.c_str(), 0604), 0);
    save(m_path, "new");
    const struct stat status = statusOf(m_path);
    EXPECT_EQ(status.st_uid, owner);
    EXPECT_EQ(status.st_gid, group);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    EXPECT_EQ(readBytes(m_path), "new");
}

// Only names of our own pattern, and only those no running save holds.
TEST_F(ReplacingFileTest, SaveRemovesTheTemporaryFilesOfCrashedSaves) {
    writeBytes(m_path, "old");
    const std::vector<std::string> stale = {".pellion.csv.123456789.tmp", ".pellion.csv.7.tmp"};
    const std::vector<std::string> kept = {".pellion.csv.12a.tmp",    ".pellion.csv..tmp",
                                           ".pellion.csv.5.tmp.keep", "pellion.csv.5.tmp",
                                           ".other.csv.5.tmp",        ".pellion.csv.55.tmp",
                                           "pellion.csv.bak",         ".pellion.csv.bak.1.tmp"};
    for (const auto& name : stale)
        writeBytes(m_folder.path() / name, std::string(1000, 'x'));
    for (const auto& name : kept)
        writeBytes(m_folder.path() / name, "x");
    // A save still running in another program holds its file locked.
    const int running = ::open((m_folder.path() / ".pellion.csv.55.tmp").c_str(), O_RDONLY);
    ASSERT_GE(running, 0);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);

    save(m_path, "new");
    ::close(running);

    std::vector<std::string> expected = kept;
    expected.push_back("pellion.csv");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(readBytes(m_path), "new");
}

// The program killed at any moment of a save: the ledger is the old one or
// the new one, whole, and the next save leaves nothing else behind.
TEST_F(ReplacingFileTest, KilledSavesLeaveTheOldOrTheNewLedgerWhole) {
    ApplianceTable table;
    for (int i = 0; i < 20000; ++i) {
        table.StartAppend();
        table.FieldNamed("appliance").AssignText("Appliance number " + std::to_string(i));
        table.FieldNamed("wattage").AssignText(std::to_string(i));
        table.PostRecord();
    }
    SaveLedger(table, m_path.string());
    const std::string whole = readBytes(m_path);
    ASSERT_GT(whole.size(), 500000u);

    for (int delayMs : {1, 3, 7, 15, 30, 60}) {
        SCOPED_TRACE(delayMs);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;)
                SaveLedger(table, m_path.string());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(readBytes(m_path), whole);
    }
    SaveLedger(table, m_path.string());
    EXPECT_EQ(entries(), std::vector<std::string>{"pellion.csv"});
}

TEST_F(ReplacingFileTest, BackupCopiesNeverReplaceOneAnother) {
    writeBytes(m_path, "first");
    ASSERT_EQ(::chmod(m_path.c_str(), 0640), 0);
    keepBackupCopy(m_path.string(), "failed");
    EXPECT_EQ(readBytes(m_folder.path() / "pellion.csv.bak"), "first");
    EXPECT_EQ(modeOf(m_folder.path() / "pellion.csv.bak"), 0640u);

    // The newest is always ".bak"; older ones take the next free number.
    writeBytes(m_path, "second");
    keepBackupCopy(m_path.string(), "failed");
    writeBytes(m_path, "third");
    keepBackupCopy(m_path.string(), "failed");
    EXPECT_EQ(readBytes(m_folder.path() / "pellion.csv.bak"), "third");
    EXPECT_EQ(readBytes(m_folder.path() / "pellion.csv.bak.1"), "first");
    EXPECT_EQ(readBytes(m_folder.path() / "pellion.csv.bak.2"), "second");
    EXPECT_EQ(readBytes(m_path), "third");
    EXPECT_EQ(entries(), (std::vector<std::string>{"pellion.csv", "pellion.csv.bak",
                                                   "pellion.csv.bak.1", "pellion.csv.bak.2"}));

    fs::remove(m_path);
    keepBackupCopy(m_path.string(), "failed"); // nothing to keep
    EXPECT_EQ(entries().size(), 3u);
}

// The backup is made only when the new file goes in, from the old bytes.
TEST_F(ReplacingFileTest, SaveThatKeepsABackupCopiesTheOldFileFirst) {
    writeBytes(m_path, "damaged list");
    save(m_path, "new list", ReplacingFile::OldFile::KeepAsBackup);
    EXPECT_EQ(readBytes(m_path), "new list");
    EXPECT_EQ(readBytes(m_folder.path() / "pellion.csv.bak"), "damaged list");

    fs::remove(m_path);
    save(m_path, "list", ReplacingFile::OldFile::KeepAsBackup); // nothing was there
    EXPECT_EQ(entries(), (std::vector<std::string>{"pellion.csv", "pellion.csv.bak"}));
}

// A file that can be written but not read cannot be kept, so it is not
// replaced either.
TEST_F(ReplacingFileTest, FileThatCannotBeReadToKeepItIsNotReplaced) {
    PELLION_RUN_AS_UNPRIVILEGED_USER();
    writeBytes(m_path, "the user's list");
    ASSERT_EQ(::chmod(m_path.c_str(), 0200), 0);
    EXPECT_EQ(errorText([&] { save(m_path, "new", ReplacingFile::OldFile::KeepAsBackup); }),
              "cannot create");
    EXPECT_EQ(entries(), std::vector<std::string>{"pellion.csv"});
    EXPECT_EQ(modeOf(m_path), 0200u);
    ASSERT_EQ(::chmod(m_path.c_str(), 0600), 0);
    EXPECT_EQ(readBytes(m_path), "the user's list");
}

} // namespace
} // namespace pellion
