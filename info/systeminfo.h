#pragma once

// Where the About box gets its figures: the machine's physical memory and the
// mounted volumes with their sizes. The box asks an interface, so tests hand
// it fixed figures and the program hands it the running system.

#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace pellion {

struct MemoryStatus {
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0;
    unsigned memoryLoad = 0; // per cent of the physical memory in use
};

enum class VolumeKind { Removable, Fixed, Remote, CdRom, RamDisk };

struct Volume {
    QString rootPath;    // the mount point
    QString label;       // the volume label; empty when it has none
    QString networkName; // remote volumes: what is mounted, e.g. "server:/export"
    QString device;      // the device behind it; bind mounts of one disk share it
    VolumeKind kind = VolumeKind::Fixed;
};

// The size of one volume and the space its user may still fill; -1 where the
// query failed.
struct DiskSpace {
    std::int64_t totalBytes = -1;
    std::int64_t freeBytes = -1;
};

class SystemInfoSource {
public:
    virtual ~SystemInfoSource() = default;
    virtual MemoryStatus memoryStatus() const = 0;
    // The mounted volumes, ordered by mount point.
    virtual std::vector<Volume> volumes() const = 0;
    virtual DiskSpace diskSpace(const QString& rootPath) const = 0;
    // The mount point of the volume that holds path; empty when unknown.
    virtual QString volumeRootOf(const QString& path) const = 0;
};

// The running Linux system: /proc/meminfo (sysinfo(2) as fallback) and
// QStorageInfo. All byte counts are 64-bit, so machines beyond 4 GiB show
// their true memory.
class SystemInfo : public SystemInfoSource {
public:
    MemoryStatus memoryStatus() const override;
    std::vector<Volume> volumes() const override;
    DiskSpace diskSpace(const QString& rootPath) const override;
    QString volumeRootOf(const QString& path) const override;
};

// Reads MemTotal and MemAvailable (kB) from the text of /proc/meminfo; none
// when either is missing or MemTotal is 0.
std::optional<MemoryStatus> parseMemInfo(std::string_view text);

// The share of memory in use, in whole per cent, rounded to nearest.
unsigned memoryLoadPercent(std::uint64_t totalBytes, std::uint64_t availableBytes);

// The kind of a volume from its file system type and the removable flag of
// its block device.
VolumeKind volumeKindOf(std::string_view fileSystemType, bool removableDevice);

} // namespace pellion
