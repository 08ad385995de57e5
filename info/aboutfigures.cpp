#include "info/aboutfigures.h"

#include "engine/numberformat.h"

#include <set>

namespace pellion {

namespace {
constexpr double bytesPerMegabyte = 1024000;
}

QString megabytes(double bytes) {
    return QString::fromStdString(FormatNumber("0.00", bytes / bytesPerMegabyte));
}

QString memoryText(std::uint64_t bytes) {
    return megabytes(double(bytes)) + QStringLiteral(" MB");
}

QString loadText(unsigned percent) {
    return QString::fromStdString(FormatNumber("0.00", double(percent))) + QStringLiteral(" %");
}

QStringList diskLines(const DiskSpace& space) {
    return {QStringLiteral("Total Disk Size ") + megabytes(double(space.totalBytes)) +
                QStringLiteral("  MB"),
            QStringLiteral("Space Free ") + megabytes(double(space.freeBytes)) +
                QStringLiteral("  MB")};
}

QString driveItemText(const Volume& volume) {
    const QString bracketedLabel = QStringLiteral(" [") + volume.label.toLower() + u']';
    switch (volume.kind) {
    case VolumeKind::Removable:
        return volume.rootPath;
    case VolumeKind::Remote:
        if (!volume.networkName.isEmpty())
            return volume.rootPath + u' ' + volume.networkName.toLower();
        return volume.rootPath + bracketedLabel;
    case VolumeKind::Fixed:
    case VolumeKind::CdRom:
    case VolumeKind::RamDisk:
        break;
    }
    return volume.rootPath + bracketedLabel;
}

QStringList volumeSummaryLines(const std::vector<Volume>& volumes, const SystemInfoSource& source) {
    std::set<QString> counted;
    double total = 0;
    double free = 0;
    for (const Volume& volume : volumes) {
        const QString disk = volume.device.isEmpty() ? volume.rootPath : volume.device;
        if (!counted.insert(disk).second)
            continue;
        const DiskSpace space = source.diskSpace(volume.rootPath);
        if (space.totalBytes < 0 || space.freeBytes < 0)
            continue;
        total += double(space.totalBytes);
        free += double(space.freeBytes);
    }
    return {QStringLiteral("All mounted volumes: ") +
                QString::fromStdString(IntegerToText(std::int64_t(volumes.size()))),
            QStringLiteral("Total Disk Size ") + megabytes(total) + QStringLiteral("  MB"),
            QStringLiteral("Space Free ") + megabytes(free) + QStringLiteral("  MB")};
}

} // namespace pellion
