#include "info/systeminfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <sys/sysinfo.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace pellion {

namespace {

// The number of kB on the line "Key:   1234 kB", when the text has that key.
std::optional<std::uint64_t> memInfoKilobytes(std::string_view text, std::string_view key) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.size() <= key.size() || line.substr(0, key.size()) != key ||
            line[key.size()] != ':')
            continue;
        std::string_view rest = line.substr(key.size() + 1);
        const std::size_t digits = rest.find_first_not_of(' ');
        if (digits == std::string_view::npos)
            return std::nullopt;
        rest.remove_prefix(digits);
        std::uint64_t kilobytes = 0;
        const auto [ptr, error] =
            std::from_chars(rest.data(), rest.data() + rest.size(), kilobytes);
        if (error != std::errc() || ptr == rest.data())
            return std::nullopt;
        return kilobytes;
    }
    return std::nullopt;
}

std::optional<MemoryStatus> memoryFromSysinfo() {
    struct sysinfo info {};
    if (sysinfo(&info) != 0 || info.totalram == 0)
        return std::nullopt;
    const std::uint64_t unit = info.mem_unit == 0 ? 1 : info.mem_unit;
    MemoryStatus status;
    status.totalBytes = std::uint64_t(info.totalram) * unit;
    status.availableBytes = (std::uint64_t(info.freeram) + info.bufferram) * unit;
    status.memoryLoad = memoryLoadPercent(status.totalBytes, status.availableBytes);
    return status;
}

// Whether the block device behind a volume says it is removable; partitions
// inherit the flag of their disk.
bool isRemovableDevice(const QByteArray& device) {
    if (!device.startsWith("/dev/"))
        return false;
    const QString name =
        QFileInfo(QString::fromLocal8Bit(device)).canonicalFilePath().section(u'/', -1);
    if (name.isEmpty())
        return false;
    const QString sysPath =
        QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
    if (sysPath.isEmpty())
        return false;
    for (const QString& dir : {sysPath, QFileInfo(sysPath).path()}) {
        QFile flag(dir + QStringLiteral("/removable"));
        if (flag.open(QIODevice::ReadOnly))
            return flag.readAll().trimmed() == "1";
    }
    return false;
}

} // namespace

std::optional<MemoryStatus> parseMemInfo(std::string_view text) {
    const auto total = memInfoKilobytes(text, "MemTotal");
    const auto available = memInfoKilobytes(text, "MemAvailable");
    if (!total || !available || *total == 0)
        return std::nullopt;
    MemoryStatus status;
    status.totalBytes = *total * 1024;
    status.availableBytes = std::min(*available, *total) * 1024;
    status.memoryLoad = memoryLoadPercent(status.totalBytes, status.availableBytes);
    return status;
}

unsigned memoryLoadPercent(std::uint64_t totalBytes, std::uint64_t availableBytes) {
    if (totalBytes == 0 || availableBytes >= totalBytes)
        return 0;
    const double used = double(totalBytes - availableBytes);
    return unsigned(std::lround(100.0 * used / double(totalBytes)));
}

VolumeKind volumeKindOf(std::string_view fileSystemType, bool removableDevice) {
    static constexpr std::array<std::string_view, 11> remote = {
        "nfs", "nfs4", "cifs",      "smb3", "smbfs",     "ncpfs",
        "afs", "ceph", "glusterfs", "9p",   "fuse.sshfs"};
    if (std::find(remote.begin(), remote.end(), fileSystemType) != remote.end())
        return VolumeKind::Remote;
    if (fileSystemType == "iso9660" || fileSystemType == "udf")
        return VolumeKind::CdRom;
    if (fileSystemType == "tmpfs" || fileSystemType == "ramfs")
        return VolumeKind::RamDisk;
    return removableDevice ? VolumeKind::Removable : VolumeKind::Fixed;
}

MemoryStatus SystemInfo::memoryStatus() const {
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (meminfo.open(QIODevice::ReadOnly)) {
        const QByteArray text = meminfo.readAll();
        if (auto status =
                parseMemInfo(std::string_view(text.constData(), std::size_t(text.size()))))
            return *status;
    }
    return memoryFromSysinfo().value_or(MemoryStatus{});
}

std::vector<Volume> SystemInfo::volumes() const {
    std::vector<Volume> result;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        // Files bind-mounted into a container are mounts too, but no volume.
        if (!storage.isValid() || !storage.isReady() || !QFileInfo(storage.rootPath()).isDir())
            continue;
        const QByteArray type = storage.fileSystemType();
        Volume volume;
        volume.rootPath = storage.rootPath();
        volume.label = storage.name();
        volume.device = QString::fromLocal8Bit(storage.device());
        volume.kind = volumeKindOf(std::string_view(type.constData(), std::size_t(type.size())),
                                   isRemovableDevice(storage.device()));
        if (volume.kind == VolumeKind::Remote)
            volume.networkName = volume.device;
        result.push_back(volume);
    }
    std::sort(result.begin(), result.end(),
              [](const Volume& a, const Volume& b) { return a.rootPath < b.rootPath; });
    return result;
}

DiskSpace SystemInfo::diskSpace(const QString& rootPath) const {
    const QStorageInfo storage(rootPath);
    if (!storage.isValid() || !storage.isReady())
        return {};
    return {storage.bytesTotal(), storage.bytesAvailable()};
}

QString SystemInfo::volumeRootOf(const QString& path) const {
    const QStorageInfo storage(path);
    return storage.isValid() ? storage.rootPath() : QString();
}

} // namespace pellion
