#include "base/replacingfile.h"

#include "base/error.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellion {

namespace {

namespace fs = std::filesystem;

constexpr int maxNameAttempts = 100;
constexpr int maxBackupNumber = 100000;

std::string replacedFile(const std::string& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error))
        return path;
    const fs::path target = fs::canonical(path, error);
    return error ? path : target.string();
}

std::string folderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

std::string baseOf(const std::string& path) {
    return fs::path(path).filename().string();
}

// ".<base>.<digits>.tmp": the name of a file of ours that is being made.
std::string temporaryPath(const std::string& folder, const std::string& base) {
    static std::random_device random;
    return (fs::path(folder) / ("." + base + "." + std::to_string(random() % 1000000000u) + ".tmp"))
        .string();
}

bool isTemporaryName(std::string_view name, std::string_view base) {
    const std::string_view suffix = ".tmp";
    if (name.size() <= base.size() + 2 + suffix.size() || name[0] != '.' ||
        name.substr(1, base.size()) != base || name[1 + base.size()] != '.' ||
        name.substr(name.size() - suffix.size()) != suffix)
        return false;
    const std::string_view digits =
        name.substr(base.size() + 2, name.size() - base.size() - 2 - suffix.size());
    return !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
}

// What a crash during an earlier save left beside the file: every save holds
// its temporary file locked, so one that can be locked has no save behind it.
void removeStaleTemporaries(const std::string& folder, const std::string& base) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (!isTemporaryName(entry->path().filename().string(), base))
            continue;
        const std::string path = entry->path().string();
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) // a copy of a write-only file is itself write-only
            fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat status {};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
}

bool unnamedFilesLinkable() {
    static const bool linkable = ::access("/proc/self/fd", X_OK) == 0;
    return linkable;
}

// A new file in `folder`, open for writing and locked against the clean-up of
// stale temporary files. It has no name where the file system allows it (a
// crash then leaves nothing behind), else a hidden temporary name of ours.
// -1 with errno set when the folder takes no new file.
int createNewFile(const std::string& folder, const std::string& base, std::string& name) {
    name.clear();
    int fd = -1;
#ifdef O_TMPFILE
    if (unnamedFilesLinkable()) {
        fd = ::open(folder.c_str(), O_WRONLY | O_TMPFILE | O_CLOEXEC, 0666);
        // Other errors mean this file system cannot make unnamed files.
        if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS || errno == ENOENT ||
                       errno == ENOTDIR || errno == ENOSPC))
            return -1;
    }
#endif
    for (int attempt = 0; fd < 0 && attempt < maxNameAttempts; ++attempt) {
        name = temporaryPath(folder, base);
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            const int cause = errno;
            name.clear();
            errno = cause;
            return -1;
        }
    }
    if (fd < 0) {
        name.clear();
        errno = EEXIST;
        return -1;
    }
    ::flock(fd, LOCK_EX);
    return fd;
}

// Gives an unnamed new file the name `name`; false with errno set when that
// cannot be done (EEXIST: the name is taken).
bool nameNewFile(int fd, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// The new file stands in for the old one: same mode, and the same owner and
// group where the process may set them (the owner is set first, as that can
// clear the set-id bits of a mode).
void takeOverOwnerAndMode(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    ::fchmod(fd, old.st_mode & 07777);
}

bool writeAll(int fd, std::string_view bytes, off_t offset = -1) {
    while (!bytes.empty()) {
        const ssize_t written = offset < 0 ? ::write(fd, bytes.data(), bytes.size())
                                           : ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
        if (offset >= 0)
            offset += written;
    }
    return true;
}

// Makes renames and new names in the folder durable; a failure here loses
// nothing.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A rename in a folder with the sticky bit replaces only files of the user's
// own, unless the folder is the user's.
bool folderLetsReplace(const std::string& folder, const struct stat& old) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0 || !(status.st_mode & S_ISVTX))
        return true;
    const uid_t user = ::geteuid();
    return user == 0 || old.st_uid == user || status.st_uid == user;
}

// Moves an existing backup out of the way to the first free numbered name,
// never replacing one. False with errno set on failure.
bool moveBackupAside(const std::string& backup) {
    for (int number = 1; number <= maxBackupNumber; ++number) {
        const std::string aside = backup + "." + std::to_string(number);
        if (::renameat2(AT_FDCWD, backup.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno == ENOENT)
            return true; // gone meanwhile: the name is free
        if (errno == EINVAL || errno == ENOSYS) {
            // A file system without the no-replace rename: a second name, then
            // the first one taken away.
            if (::link(backup.c_str(), aside.c_str()) == 0)
                return ::unlink(backup.c_str()) == 0 || errno == ENOENT;
        }
        if (errno != EEXIST)
            return false;
    }
    errno = EEXIST;
    return false;
}

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// A temporary file's name, removed on the way out.
struct TemporaryName {
    std::string path;
    ~TemporaryName() {
        if (!path.empty())
            ::unlink(path.c_str());
    }
};

} // namespace

ReplacingFile::ReplacingFile(const std::string& path, Messages messages, OldFile old)
    : m_messages(std::move(messages)), m_path(path), m_target(replacedFile(path)), m_old(old) {
    const std::string folder = folderOf(m_target);
    const std::string base = baseOf(m_target);
    struct stat oldStatus {};
    const bool oldIsFile = ::stat(m_target.c_str(), &oldStatus) == 0 && S_ISREG(oldStatus.st_mode);
    // Asked as the file system would answer an open for writing.
    if (oldIsFile && ::faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0)
        throw Error(m_messages.cannotCreate);

    removeStaleTemporaries(folder, base);
    if (!oldIsFile || folderLetsReplace(folder, oldStatus)) {
        m_fd = createNewFile(folder, base, m_temporary);
        if (m_fd >= 0) {
            if (oldIsFile)
                takeOverOwnerAndMode(m_fd, oldStatus);
            return;
        }
        if (!oldIsFile || (errno != EACCES && errno != EPERM))
            throw Error(m_messages.cannotCreate);
    }
    // The folder takes no new file of the user's, but the file itself may be
    // written: it is rewritten where it stands (see commitInPlace).
    m_fd = ::open(m_target.c_str(), O_WRONLY | O_CLOEXEC);
    if (m_fd < 0)
        throw Error(m_messages.cannotCreate);
    m_inPlace = true;
}

ReplacingFile::~ReplacingFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_inPlace && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

void ReplacingFile::write(std::string_view bytes) {
    if (m_inPlace) {
        m_contents += bytes;
        return;
    }
    if (!writeAll(m_fd, bytes))
        throw Error(m_messages.cannotWrite);
}

void ReplacingFile::commit() {
    if (m_inPlace)
        commitInPlace();
    else
        commitByRename();
}

void ReplacingFile::commitByRename() {
    if (::fsync(m_fd) != 0)
        throw Error(m_messages.cannotWrite);
    if (m_old == OldFile::KeepAsBackup)
        keepBackupCopy(m_path, m_messages.cannotCreate);
    const std::string folder = folderOf(m_target);
    for (int attempt = 0; m_temporary.empty() && attempt < maxNameAttempts; ++attempt) {
        const std::string name = temporaryPath(folder, baseOf(m_target));
        if (nameNewFile(m_fd, name))
            m_temporary = name;
        else if (errno != EEXIST)
            break;
    }
    if (m_temporary.empty())
        throw Error(m_messages.cannotCreate);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        throw Error(m_messages.cannotWrite);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        throw Error(m_messages.cannotReplace);
    m_committed = true;
    syncFolder(folder);
}

// Not atomic, unlike the rename: a crash part-way through leaves the old
// contents partly overwritten. So the disk space is claimed before the first
// old byte is touched (a full disk then changes nothing), and a backup asked
// for is made first, which in a folder that takes no new file fails the save
// instead.
void ReplacingFile::commitInPlace() {
    if (m_old == OldFile::KeepAsBackup)
        keepBackupCopy(m_path, m_messages.cannotCreate);
    const auto size = static_cast<off_t>(m_contents.size());
    if (size > 0 && ::fallocate(m_fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0 &&
        (errno == ENOSPC || errno == EFBIG || errno == EDQUOT))
        throw Error(m_messages.cannotWrite);
    if (!writeAll(m_fd, m_contents, 0) || ::ftruncate(m_fd, size) != 0 || ::fsync(m_fd) != 0)
        throw Error(m_messages.cannotWrite);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        throw Error(m_messages.cannotWrite);
    m_committed = true;
}

void keepBackupCopy(const std::string& path, const std::string& failure) {
    Descriptor source{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (source.fd < 0) {
        if (errno == ENOENT)
            return;
        throw Error(failure);
    }
    struct stat status {};
    if (::fstat(source.fd, &status) != 0)
        throw Error(failure);
    if (!S_ISREG(status.st_mode))
        return; // nothing a copy could keep

    const std::string folder = folderOf(path);
    TemporaryName temporary;
    Descriptor copy{createNewFile(folder, baseOf(path), temporary.path)};
    if (copy.fd < 0)
        throw Error(failure);
    takeOverOwnerAndMode(copy.fd, status);
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(source.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || !writeAll(copy.fd, std::string_view(buffer, std::size_t(got))))
            throw Error(failure);
        if (got == 0)
            break;
    }
    if (::fsync(copy.fd) != 0)
        throw Error(failure);

    const std::string backup = path + ".bak";
    for (int attempt = 0; attempt < maxNameAttempts; ++attempt) {
        const bool placed = temporary.path.empty()
                                ? nameNewFile(copy.fd, backup)
                                : ::link(temporary.path.c_str(), backup.c_str()) == 0;
        if (placed) {
            syncFolder(folder);
            return;
        }
        if (errno != EEXIST || !moveBackupAside(backup))
            break;
    }
    throw Error(failure);
}

} // namespace pellion
