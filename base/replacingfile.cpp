#include "base/replacingfile.h"

#include "base/error.h"

#include <cerrno>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellion {

namespace {

std::string replacedFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? path : target.string();
}

} // namespace

ReplacingFile::ReplacingFile(const std::string& path, Messages messages)
    : m_messages(std::move(messages)), m_target(replacedFile(path)) {
    const std::filesystem::path target(m_target);
    const std::string base = target.filename().string();
    const std::filesystem::path folder = target.parent_path();
    std::random_device random;
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const std::string name = "." + base + "." + std::to_string(random() % 1000000000u) + ".tmp";
        m_temporary = (folder / name).string();
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0)
        throw Error(m_messages.cannotCreate);
    keepPermissionsOfOldFile();
}

ReplacingFile::~ReplacingFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed)
        ::unlink(m_temporary.c_str());
}

void ReplacingFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw Error(m_messages.cannotWrite);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void ReplacingFile::commit() {
    if (::fsync(m_fd) != 0)
        throw Error(m_messages.cannotWrite);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        throw Error(m_messages.cannotWrite);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        throw Error(m_messages.cannotReplace);
    m_committed = true;
    syncFolder();
}

void ReplacingFile::keepPermissionsOfOldFile() {
    struct stat old {};
    if (::stat(m_target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(m_fd, old.st_mode & 07777);
}

// Makes the rename itself durable; a failure here loses nothing.
void ReplacingFile::syncFolder() const {
    const std::filesystem::path folder = std::filesystem::path(m_target).parent_path();
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace pellion
