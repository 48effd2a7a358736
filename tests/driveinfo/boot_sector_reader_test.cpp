#include "driveinfo/boot_sector_reader.h"
#include "driveinfo/sector_dump.h"
#include "fakes/fake_raw_volumes.h"
#include "sector_builder.h"

#include <gtest/gtest.h>

namespace volmara {
namespace {

using testing::Bytes;
using testing::bytesOf;
using testing::littleEndian;
using testing::MemoryVolumes;
using testing::sectorWith;
using testing::valueOf;

constexpr std::size_t kFat32BootRows = 21;

SectorBuffer fat32Boot(unsigned bytesPerSector, unsigned infoSector)
{
    return sectorWith({
        {3, bytesOf("mkfs.fat")},
        {11, littleEndian(bytesPerSector, 2)},
        {48, littleEndian(infoSector, 2)},
        {82, bytesOf("FAT32   ")},
    });
}

SectorBuffer fsInfo(std::uint32_t freeClusters, std::uint32_t nextFree)
{
    return sectorWith({{488, littleEndian(freeClusters, 4)}, {492, littleEndian(nextFree, 4)}});
}

// A volume of `size` zero bytes with sectors placed at the given offsets.
Bytes volumeOf(std::size_t size, std::initializer_list<std::pair<std::size_t, SectorBuffer>> sectors)
{
    Bytes bytes(size, 0);
    for (const auto& [offset, sector] : sectors)
        std::copy(sector.begin(), sector.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

class BootSectorReaderTest : public ::testing::Test {
protected:
    void addVolume(const std::string& drive, Bytes bytes, std::string fileSystem)
    {
        volumes.images[drive].bytes = std::move(bytes);
        info.names[drive] = std::move(fileSystem);
    }

    MemoryVolumes volumes;
    testing::FakeVolumeInfo info;
    BootSectorReader reader{volumes, info};
};

TEST_F(BootSectorReaderTest, Fat32AddsTheInformationSectorReadThroughTheSameVolume)
{
    const SectorBuffer boot = fat32Boot(4096, 1);
    addVolume("/media/a/", volumeOf(16384, {{0, boot}, {4096, fsInfo(80627, 2)}}), "FAT32");

    ASSERT_EQ(reader.prcReadBootSector("/media/a/"), BootReadOutcome::Shown);

    const FieldList& rows = reader.lvInfo();
    ASSERT_EQ(rows.size(), kFat32BootRows + 2);
    EXPECT_EQ(rows[kFat32BootRows], (InfoRow{"Last known free cluster", "80627"}));
    EXPECT_EQ(rows[kFat32BootRows + 1], (InfoRow{"Starting free cluster", "2"}));
    ASSERT_EQ(volumes.reads.size(), 2u);
    EXPECT_EQ(volumes.reads[1].handle, volumes.reads[0].handle);
    EXPECT_EQ(volumes.reads[0].offset, 0u);
    EXPECT_EQ(volumes.reads[1].offset, 4096u);
    // The dumps show the boot sector, not the sector read after it.
    EXPECT_EQ(reader.txtBytes(), hexDump(boot));
    EXPECT_EQ(reader.txtChar(), charDump(boot));
    EXPECT_TRUE(reader.isOpen());
}

TEST_F(BootSectorReaderTest, UnreachableInformationSectorLeavesItsRowsOut)
{
    struct Case {
        const char* what;
        unsigned bytesPerSector;
        unsigned infoSector;
        std::size_t volumeSize;
        std::optional<std::uint64_t> reportedSize;
        std::optional<std::uint64_t> failReadsFrom;
        bool infoReadAttempted;
    };
    const std::vector<Case> cases{
        {"far past the end", 0x8000, 0xFFFF, 8192, {}, {}, false},
        {"last byte past the end", 512, 15, 8191, {}, {}, false},
        {"read fails", 512, 1, 8192, {}, 512, true},
        {"volume shorter than it claims", 512, 15, 7900, 8192, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryVolumes localVolumes;
        testing::FakeVolumeInfo localInfo;
        BootSectorReader localReader{localVolumes, localInfo};
        auto& image = localVolumes.images["/v/"];
        image.bytes = volumeOf(c.volumeSize, {{0, fat32Boot(c.bytesPerSector, c.infoSector)}});
        image.reportedSize = c.reportedSize;
        image.failReadsFrom = c.failReadsFrom;
        localInfo.names["/v/"] = "FAT32";

        ASSERT_EQ(localReader.prcReadBootSector("/v/"), BootReadOutcome::Shown);
        EXPECT_EQ(localReader.lvInfo().size(), kFat32BootRows);
        EXPECT_EQ(valueOf(localReader.lvInfo(), "Bytes per Sector"), std::to_string(c.bytesPerSector));
        EXPECT_EQ(localVolumes.reads.size(), c.infoReadAttempted ? 2u : 1u);
        EXPECT_FALSE(localReader.txtBytes().empty());
    }
}

TEST_F(BootSectorReaderTest, LayoutFollowsTheReportedNameNotTheSectorContent)
{
    const SectorBuffer ntfsLooking = sectorWith({{3, bytesOf("NTFS    ")}, {11, littleEndian(512, 2)}});
    struct Case {
        std::string reported;
        std::size_t rows;
    };
    for (const Case& c : {Case{"ext4", 0}, Case{"", 0}, Case{"fat16", 14}, Case{std::string("ntfs\0x", 6), 12}}) {
        SCOPED_TRACE(c.reported);
        addVolume("/d/", volumeOf(4096, {{0, ntfsLooking}}), c.reported);
        ASSERT_EQ(reader.prcReadBootSector("/d/"), BootReadOutcome::Shown);
        EXPECT_EQ(reader.lvInfo().size(), c.rows);
        EXPECT_EQ(reader.txtBytes(), hexDump(ntfsLooking));
        EXPECT_EQ(reader.txtChar(), charDump(ntfsLooking));
    }
}

TEST_F(BootSectorReaderTest, OpenFailureClosesThePreviousVolume)
{
    addVolume("/a/", volumeOf(4096, {{0, fat32Boot(512, 1)}}), "FAT32");
    ASSERT_EQ(reader.prcReadBootSector("/a/"), BootReadOutcome::Shown);
    ASSERT_EQ(volumes.live, 1);

    EXPECT_EQ(reader.prcReadBootSector("/missing/"), BootReadOutcome::OpenFailed);
    EXPECT_EQ(volumes.live, 0);
    EXPECT_FALSE(reader.isOpen());
    EXPECT_EQ(bootReadFailureText(BootReadOutcome::OpenFailed),
              "Error opening the drive.\r\nClose some applications and try again.");
}

TEST_F(BootSectorReaderTest, ReadFailureEmptiesListAndDumpsButKeepsTheVolumeOpen)
{
    addVolume("/good/", volumeOf(4096, {{0, fat32Boot(512, 1)}}), "FAT32");
    addVolume("/short/", Bytes(511, 0xAA), "FAT32");
    addVolume("/broken/", Bytes(4096, 0), "NTFS");
    volumes.images["/broken/"].failReadsFrom = 0;

    for (const char* drive : {"/short/", "/broken/"}) {
        SCOPED_TRACE(drive);
        ASSERT_EQ(reader.prcReadBootSector("/good/"), BootReadOutcome::Shown);
        ASSERT_FALSE(reader.lvInfo().empty());

        EXPECT_EQ(reader.prcReadBootSector(drive), BootReadOutcome::ReadFailed);
        EXPECT_TRUE(reader.lvInfo().empty());
        EXPECT_EQ(reader.txtBytes(), "");
        EXPECT_EQ(reader.txtChar(), "");
        EXPECT_TRUE(reader.isOpen());
        EXPECT_EQ(volumes.live, 1);
    }
    EXPECT_EQ(bootReadFailureText(BootReadOutcome::ReadFailed), "Error reading the drive.");
    EXPECT_EQ(bootReadFailureText(BootReadOutcome::Shown), std::nullopt);
}

TEST_F(BootSectorReaderTest, EachReadClosesTheVolumeBeforeOpeningTheNextAndCloseEndsIt)
{
    addVolume("/a/", volumeOf(4096, {{0, fat32Boot(512, 1)}}), "FAT32");
    addVolume("/b/", volumeOf(4096, {}), "NTFS");

    for (const char* drive : {"/a/", "/b/", "/a/"}) {
        ASSERT_EQ(reader.prcReadBootSector(drive), BootReadOutcome::Shown);
        EXPECT_EQ(volumes.liveAtLastOpen, 0) << drive;
        EXPECT_EQ(volumes.live, 1) << drive;
    }
    reader.close();
    EXPECT_EQ(volumes.live, 0);
    EXPECT_FALSE(reader.isOpen());
}

} // namespace
} // namespace volmara
