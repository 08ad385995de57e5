#pragma once

// The texts the About box shows for its figures. Megabytes here are
// 1024000 bytes, with two decimals and no thousands separators:
//   memoryText(536870912)                    -> "524.29 MB"
//   loadText(45)                             -> "45.00 %"
//   diskLines({40000000000, -1}).front()     -> "Total Disk Size 39062.50  MB"
// A failed query (-1 bytes) shows as 0.00.

#include "info/systeminfo.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace pellion {

QString megabytes(double bytes);
QString memoryText(std::uint64_t bytes);
QString loadText(unsigned percent);

// The two lines of the selected volume: its total size and its free space.
QStringList diskLines(const DiskSpace& space);

// The drive list's text for a volume: the mount point, then the label in
// brackets in lower case ("/data [backup]"); a remote volume shows what is
// mounted instead, a removable one its mount point alone.
QString driveItemText(const Volume& volume);

// A summary of every mounted volume: how many there are, and their total size
// and free space, each disk counted once however often it is mounted.
QStringList volumeSummaryLines(const std::vector<Volume>& volumes, const SystemInfoSource& source);

} // namespace pellion
