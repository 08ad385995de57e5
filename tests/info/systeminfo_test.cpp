#include "info/aboutfigures.h"
#include "info/systeminfo.h"

#include "engine/numberformat.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

namespace {

using pellion::DiskSpace;
using pellion::MemoryStatus;
using pellion::Volume;
using pellion::VolumeKind;

// Figures as the About box reads them, whatever the machine's regional settings.
class Figures : public ::testing::Test {
protected:
    pellion::ScopedFormatSettings m_settings{pellion::FormatSettings{}};
};

TEST_F(Figures, MegabytesAreThousandTwentyFourThousandBytesWithTwoDecimals) {
    struct Case {
        const char* situation;
        std::uint64_t bytes;
        const char* shown;
    };
    const Case cases[] = {
        {"half a gibibyte", 536870912, "524.29 MB"},
        {"nothing", 0, "0.00 MB"},
        {"beyond 4 GiB", 17179869184ULL, "16777.22 MB"},
        {"a terabyte of memory, no thousands separators", 1099511627776ULL, "1073741.82 MB"},
        {"half a hundredth rounds up", 5120, "0.01 MB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        EXPECT_EQ(pellion::memoryText(c.bytes).toStdString(), c.shown);
    }
}

TEST_F(Figures, MemoryLoadShowsTwoDecimalsAndAPercentSign) {
    EXPECT_EQ(pellion::loadText(45).toStdString(), "45.00 %");
    EXPECT_EQ(pellion::loadText(100).toStdString(), "100.00 %");
}

TEST_F(Figures, DiskLinesHaveTwoSpacesBeforeMegabytesAndZeroForAFailedQuery) {
    const QStringList known = pellion::diskLines(DiskSpace{40000000000, 1024000});
    EXPECT_EQ(known.value(0).toStdString(), "Total Disk Size 39062.50  MB");
    EXPECT_EQ(known.value(1).toStdString(), "Space Free 1.00  MB");

    const QStringList failed = pellion::diskLines(DiskSpace{-1, -1});
    EXPECT_EQ(failed.value(0).toStdString(), "Total Disk Size 0.00  MB");
    EXPECT_EQ(failed.value(1).toStdString(), "Space Free 0.00  MB");
}

TEST_F(Figures, FiguresFollowTheUsersDecimalSeparator) {
    pellion::FormatSettings comma;
    comma.decimalSeparator = ',';
    comma.thousandSeparator = '.';
    pellion::ScopedFormatSettings scope(comma);
    EXPECT_EQ(pellion::memoryText(536870912).toStdString(), "524,29 MB");
}

TEST(DriveItemText, ShowsMountPointAndLowerCaseLabelByKind) {
    struct Case {
        const char* situation;
        Volume volume;
        const char* shown;
    };
    const Case cases[] = {
        {"fixed disk with a label",
         {"/", "System", "", "/dev/sda1", VolumeKind::Fixed},
         "/ [system]"},
        {"fixed disk without a label",
         {"/data", "", "", "/dev/sdb1", VolumeKind::Fixed},
         "/data []"},
        {"mount point keeps its case",
         {"/media/Photos", "CARD", "", "/dev/sdc1", VolumeKind::CdRom},
         "/media/Photos [card]"},
        {"ram disk", {"/tmp", "", "", "tmpfs", VolumeKind::RamDisk}, "/tmp []"},
        {"removable shows its mount point alone",
         {"/media/usb", "Stick", "", "/dev/sdd1", VolumeKind::Removable},
         "/media/usb"},
        {"remote shows what is mounted",
         {"/mnt/share", "", "NAS:/Export", "NAS:/Export", VolumeKind::Remote},
         "/mnt/share nas:/export"},
        {"remote without a source shows its label",
         {"/mnt/share", "Backup", "", "", VolumeKind::Remote},
         "/mnt/share [backup]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        EXPECT_EQ(pellion::driveItemText(c.volume).toStdString(), c.shown);
    }
}

TEST(VolumeKindOf, TellsKindsByFileSystemAndRemovableFlag) {
    struct Case {
        const char* type;
        bool removable;
        VolumeKind kind;
    };
    const Case cases[] = {
        {"ext4", false, VolumeKind::Fixed},        {"vfat", true, VolumeKind::Removable},
        {"nfs4", false, VolumeKind::Remote},       {"cifs", false, VolumeKind::Remote},
        {"fuse.sshfs", false, VolumeKind::Remote}, {"iso9660", true, VolumeKind::CdRom},
        {"udf", false, VolumeKind::CdRom},         {"tmpfs", false, VolumeKind::RamDisk},
        {"overlay", false, VolumeKind::Fixed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(pellion::volumeKindOf(c.type, c.removable), c.kind);
    }
}

TEST(ParseMemInfo, ReadsTotalAndAvailableAsSixtyFourBitBytes) {
    const auto status = pellion::parseMemInfo("MemTotal:       16318272 kB\n"
                                              "MemFree:         1180000 kB\n"
                                              "MemAvailable:    8159136 kB\n"
                                              "Buffers:          500000 kB\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->totalBytes, 16318272ULL * 1024);
    EXPECT_EQ(status->availableBytes, 8159136ULL * 1024);
    EXPECT_EQ(status->memoryLoad, 50u);
}

TEST(ParseMemInfo, RefusesTextWithoutBothFigures) {
    const char* texts[] = {
        "",
        "MemTotal: 1000 kB\n",
        "MemAvailable: 1000 kB\n",
        "MemTotal: 0 kB\nMemAvailable: 0 kB\n",
        "MemTotal: lots kB\nMemAvailable: 10 kB\n",
        "MemTotalX: 1000 kB\nMemAvailable: 10 kB\n",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(pellion::parseMemInfo(text));
    }
}

TEST(MemoryLoadPercent, RoundsTheShareInUse) {
    EXPECT_EQ(pellion::memoryLoadPercent(200, 110), 45u);
    EXPECT_EQ(pellion::memoryLoadPercent(1000, 995), 1u); // 0.5 % rounds up
    EXPECT_EQ(pellion::memoryLoadPercent(1000, 1000), 0u);
    EXPECT_EQ(pellion::memoryLoadPercent(1000, 0), 100u);
    EXPECT_EQ(pellion::memoryLoadPercent(0, 0), 0u);
}

class CountingSource : public pellion::SystemInfoSource {
public:
    std::map<QString, DiskSpace> spaces;
    MemoryStatus memoryStatus() const override { return {}; }
    std::vector<Volume> volumes() const override { return {}; }
    DiskSpace diskSpace(const QString& root) const override {
        auto found = spaces.find(root);
        return found == spaces.end() ? DiskSpace{} : found->second;
    }
    QString volumeRootOf(const QString&) const override { return {}; }
};

TEST_F(Figures, SummaryCountsEachDiskOnceAndSkipsFailedQueries) {
    CountingSource source;
    source.spaces["/"] = {40000000000, 10240000};
    source.spaces["/srv"] = {40000000000, 10240000}; // the same disk mounted again
    source.spaces["/data"] = {1024000, 1024000};
    const std::vector<Volume> volumes = {
        {"/", "", "", "/dev/sda1", VolumeKind::Fixed},
        {"/data", "", "", "/dev/sdb1", VolumeKind::Fixed},
        {"/mnt/gone", "", "", "server:/x", VolumeKind::Remote}, // query fails
        {"/srv", "", "", "/dev/sda1", VolumeKind::Fixed},
    };
    const QStringList lines = pellion::volumeSummaryLines(volumes, source);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].toStdString(), "All mounted volumes: 4");
    EXPECT_EQ(lines[1].toStdString(), "Total Disk Size 39063.50  MB");
    EXPECT_EQ(lines[2].toStdString(), "Space Free 11.00  MB");
}

TEST(SystemInfo, ReportsThisMachinesMemoryAndTheWorkingDirectorysVolume) {
    const pellion::SystemInfo system;
    const MemoryStatus memory = system.memoryStatus();
    EXPECT_GT(memory.totalBytes, 0u);
    EXPECT_LE(memory.availableBytes, memory.totalBytes);
    EXPECT_LE(memory.memoryLoad, 100u);

    const QString root = system.volumeRootOf(QDir::currentPath());
    ASSERT_FALSE(root.isEmpty());
    const DiskSpace space = system.diskSpace(root);
    EXPECT_GT(space.totalBytes, 0);
    EXPECT_GE(space.freeBytes, 0);

    bool listed = false;
    QString previous;
    for (const Volume& volume : system.volumes()) {
        listed = listed || volume.rootPath == root;
        EXPECT_LE(previous, volume.rootPath) << "volumes come in mount point order";
        previous = volume.rootPath;
    }
    EXPECT_TRUE(listed) << root.toStdString();
}

TEST(SystemInfo, AFailedDiskQueryGivesMinusOne) {
    const DiskSpace space = pellion::SystemInfo().diskSpace("/no/such/volume/here");
    EXPECT_EQ(space.totalBytes, -1);
    EXPECT_EQ(space.freeBytes, -1);
}

} // namespace
