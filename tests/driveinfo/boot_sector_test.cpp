#include "driveinfo/boot_sector.h"
#include "driveinfo/file_system_name.h"
#include "driveinfo/sector_dump.h"
#include "sector_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace volmara {
namespace {

using testing::bytesOf;
using testing::littleEndian;
using testing::Patch;
using testing::sectorWith;
using testing::valueOf;

// Every field carries a value no neighbour shares, so a wrong offset, width or sign shows.
TEST(BootSectorDecode, Fat12Or16RowsInOrder)
{
    const SectorBuffer sector = sectorWith({
        {3, bytesOf("MSWIN4.1")},
        {11, littleEndian(512, 2)},
        {13, {16}},
        {14, littleEndian(3, 2)},
        {16, {2}},
        {17, littleEndian(0x0200, 2)}, // root entries: not shown
        {19, littleEndian(0x1234, 2)}, // 16-bit sector count: not shown
        {21, {0xF8}},
        {22, littleEndian(0x44, 2)}, // sectors per FAT: not shown
        {24, littleEndian(63, 2)},
        {26, littleEndian(255, 2)},
        {28, littleEndian(2048, 4)},
        {32, littleEndian(1048576, 4)},
        {36, {0x80}},
        {38, {0x29}},
        {39, {0xEF, 0xBE, 0xAD, 0xDE}},
        {43, bytesOf("NO NAME    ")},
        {54, bytesOf("FAT16   ")},
    });
    const FieldList expected{
        {"OEM name", "MSWIN4.1"},
        {"Bytes per Sector", "512"},
        {"Sectors per cluster", "16"},
        {"Reserved sectors", "3"},
        {"Number of copies of FAT", "2"},
        {"Media Descriptor", "F8"},
        {"Sectors per track", "63"},
        {"Number of heads", "255"},
        {"Number of hidden sectors", "2048"},
        {"Number of sectors", "1048576"},
        {"Drive number", "128"},
        {"Serial number", "DEADBEEF"},
        {"Volume name", "NO NAME    "},
        {"File system type", "FAT16   "},
    };
    EXPECT_EQ(decodeBootSector(BootLayout::Fat12Or16, sector), expected);
}

TEST(BootSectorDecode, Fat32RowsInOrder)
{
    const SectorBuffer sector = sectorWith({
        {3, bytesOf("mkfs.fat")},
        {11, littleEndian(4096, 2)},
        {13, {8}},
        {14, littleEndian(32, 2)},
        {16, {2}},
        {21, {0xF0}},
        {24, littleEndian(63, 2)},
        {26, littleEndian(16, 2)},
        {28, littleEndian(2048, 4)},
        {32, littleEndian(0x00123456, 4)},
        {36, littleEndian(0x4A1, 4)},
        {40, {0x02, 0x00}},
        {42, {0x05, 0x01}},
        {44, littleEndian(7, 4)},
        {48, littleEndian(1, 2)},
        {50, littleEndian(6, 2)},
        {64, {0x81}},
        {66, {0x29}},
        {67, {0xEE, 0xFF, 0xC0, 0x00}},
        {71, bytesOf("VOL32      ")},
        {82, bytesOf("FAT32   ")},
        {510, {0x55, 0xAA}},
    });
    const FieldList expected{
        {"OEM name", "mkfs.fat"},
        {"Bytes per Sector", "4096"},
        {"Sectors per cluster", "8"},
        {"Reserved sectors", "32"},
        {"Number of copies of FAT", "2"},
        {"Media Descriptor", "F0"},
        {"Sectors per track", "63"},
        {"Number of heads", "16"},
        {"Number of hidden sectors", "2048"},
        {"Number of sectors", "1193046"},
        {"Number of sectors per FAT", "1185"},
        {"Active FAT copy", "2"},
        {"FAT mirroring enabled", "True"},
        {"Drive Version", "1.5"},
        {"Root Directory cluster number", "7"},
        {"File System Information sector", "1"},
        {"Backup boot sector number", "6"},
        {"Drive number", "129"},
        {"Serial number", "C0FFEE"},
        {"Volume name", "VOL32      "},
        {"FAT name", "FAT32   "},
    };
    EXPECT_EQ(decodeBootSector(BootLayout::Fat32, sector), expected);
}

TEST(BootSectorDecode, NtfsRowsInOrder)
{
    const SectorBuffer sector = sectorWith({
        {3, bytesOf("NTFS    ")},
        {11, littleEndian(512, 2)},
        {13, {8}},
        {21, {0xF8}},
        {24, littleEndian(63, 2)},
        {26, littleEndian(255, 2)},
        {28, littleEndian(2048, 4)}, // hidden sectors: not shown
        {40, littleEndian(0x3FFF, 8)},
        {48, littleEndian(4, 8)},
        {56, littleEndian(0x3FF, 8)},
        {64, {0xF6, 0x00, 0x00, 0x00}},
        {68, {0x01, 0x00, 0x00, 0x00}},
        {72, littleEndian(0x0123456789ABCDEF, 8)},
    });
    const FieldList expected{
        {"OEM name", "NTFS    "},
        {"Bytes per Sector", "512"},
        {"Sectors per cluster", "8"},
        {"Media descriptor", "F8"},
        {"Sectors per track", "63"},
        {"Number of heads", "255"},
        {"Sectors in storage unit", "16383"},
        {"LCN of MFT data attribute", "4"},
        {"LCN of MFT mirror data attribute", "1023"},
        {"File record size", "246 clusters"},
        {"Index buffer size", "1 clusters"},
        {"Volume serial number", "89ABCDEF"},
    };
    EXPECT_EQ(decodeBootSector(BootLayout::Ntfs, sector), expected);
}

TEST(BootSectorDecode, NoLayoutGivesNoRows)
{
    EXPECT_TRUE(decodeBootSector(BootLayout::None, sectorWith({{3, bytesOf("NTFS    ")}})).empty());
}

struct FieldCase {
    const char* what;
    BootLayout layout;
    std::vector<Patch> patches;
    FieldList expected; // rows that must be present with these values
};

TEST(BootSectorDecode, FieldEdgeCases)
{
    const std::vector<FieldCase> cases{
        {"extended flags 0x00", BootLayout::Fat32, {{40, {0x00}}},
         {{"Active FAT copy", "0"}, {"FAT mirroring enabled", "True"}}},
        {"extended flags 0x81", BootLayout::Fat32, {{40, {0x81}}},
         {{"Active FAT copy", "1"}, {"FAT mirroring enabled", "False"}}},
        {"extended flags high byte ignored", BootLayout::Fat32, {{40, {0x0F, 0xFF}}},
         {{"Active FAT copy", "15"}, {"FAT mirroring enabled", "True"}}},
        {"version 0.0", BootLayout::Fat32, {{42, {0x00, 0x00}}}, {{"Drive Version", "0.0"}}},
        {"version minor first", BootLayout::Fat32, {{42, {0x02, 0x01}}}, {{"Drive Version", "1.2"}}},
        {"serial without padding", BootLayout::Fat12Or16, {{39, {0xCD, 0xAB, 0x12, 0x00}}},
         {{"Serial number", "12ABCD"}}},
        {"serial with the top bit set", BootLayout::Fat32, {{67, {0x78, 0x56, 0x34, 0x92}}},
         {{"Serial number", "92345678"}}},
        {"zero serial", BootLayout::Ntfs, {}, {{"Volume serial number", "0"}}},
        {"media 0x0F keeps two digits", BootLayout::Fat12Or16, {{21, {0x0F}}}, {{"Media Descriptor", "0F"}}},
        {"NTFS media 0x0F", BootLayout::Ntfs, {{21, {0x0F}}}, {{"Media descriptor", "0F"}}},
        {"NULs kept in the OEM name", BootLayout::Fat32, {{3, {'M', 'S', 0, 0, 'D', 'O', 'S', 0}}},
         {{"OEM name", std::string("MS\0\0DOS\0", 8)}}},
        {"bytes above 127 are their own characters", BootLayout::Fat12Or16, {{43, {'C', 0xE9, 'D', 0xFF}}},
         {{"Volume name", std::string("C\xC3\xA9" "D\xC3\xBF") + std::string(7, '\0')}}},
        {"32768 bytes per sector FAT", BootLayout::Fat12Or16, {{11, {0x00, 0x80}}}, {{"Bytes per Sector", "32768"}}},
        {"32768 bytes per sector NTFS", BootLayout::Ntfs, {{11, {0x00, 0x80}}}, {{"Bytes per Sector", "32768"}}},
        {"negative hidden sectors", BootLayout::Fat12Or16, {{28, {0xFF, 0xFF, 0xFF, 0xFF}}},
         {{"Number of hidden sectors", "-1"}}},
        {"most negative hidden sectors", BootLayout::Fat32, {{28, {0x00, 0x00, 0x00, 0x80}}},
         {{"Number of hidden sectors", "-2147483648"}}},
        {"NTFS geometry is signed", BootLayout::Ntfs, {{24, {0xFF, 0xFF, 0x00, 0x80}}},
         {{"Sectors per track", "-1"}, {"Number of heads", "-32768"}}},
        {"NTFS 64-bit counts exact past 2^53", BootLayout::Ntfs,
         {{40, littleEndian(0xFFFFFFFFFFFFFFFF, 8)}, {48, littleEndian(0x20000000000001, 8)}},
         {{"Sectors in storage unit", "18446744073709551615"}, {"LCN of MFT data attribute", "9007199254740993"}}},
        {"NTFS size fields taken whole", BootLayout::Ntfs, {{64, {0xF6, 0xFF, 0xFF, 0xFF}}, {68, {0x00, 0x01, 0x00, 0x00}}},
         {{"File record size", "-10 clusters"}, {"Index buffer size", "256 clusters"}}},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.what);
        SectorBuffer sector{};
        for (const Patch& p : c.patches) {
            for (std::size_t i = 0; i < p.bytes.size(); ++i)
                sector.at(p.offset + i) = p.bytes[i];
        }
        const FieldList rows = decodeBootSector(c.layout, sector);
        for (const InfoRow& want : c.expected)
            EXPECT_EQ(valueOf(rows, want.name), want.value) << want.name;
    }
}

TEST(FsInfoSector, RowsAreSignedCounts)
{
    const SectorBuffer info = sectorWith({
        {0, bytesOf("RRaA")},
        {484, bytesOf("rrAa")},
        {488, littleEndian(0x00013AF3, 4)},
        {492, littleEndian(0xFFFFFFFF, 4)},
    });
    const FieldList expected{{"Last known free cluster", "80627"}, {"Starting free cluster", "-1"}};
    EXPECT_EQ(decodeFsInfoSector(info), expected);
}

TEST(FsInfoSector, OffsetIsSectorNumberTimesUnsignedBytesPerSector)
{
    struct Case {
        unsigned sectorNumber;
        unsigned bytesPerSector;
        std::uint64_t offset;
    };
    for (const Case& c : {Case{1, 512, 512}, Case{6, 4096, 24576}, Case{0xFFFF, 0x8000, 0xFFFFull * 0x8000},
                          Case{0xFFFF, 0xFFFF, 0xFFFFull * 0xFFFF}, Case{3, 0, 0}}) {
        SCOPED_TRACE(std::to_string(c.sectorNumber) + " x " + std::to_string(c.bytesPerSector));
        const SectorBuffer boot = sectorWith({{11, littleEndian(c.bytesPerSector, 2)}, {48, littleEndian(c.sectorNumber, 2)}});
        EXPECT_EQ(fsInfoSectorOffset(boot), c.offset);
    }
}

SectorBuffer countingSector()
{
    SectorBuffer sector{};
    for (std::size_t i = 0; i < sector.size(); ++i)
        sector[i] = static_cast<std::uint8_t>(i);
    return sector;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(SectorDump, HexDumpIs64LinesOfEightWithoutTrailingSeparator)
{
    const std::string dump = hexDump(countingSector());
    const std::vector<std::string> lines = splitLines(dump);
    ASSERT_EQ(lines.size(), 64u);
    EXPECT_EQ(lines[0], "00 01 02 03 04 05 06 07");
    EXPECT_EQ(lines[1], "08 09 0A 0B 0C 0D 0E 0F");
    EXPECT_EQ(lines[31], "F8 F9 FA FB FC FD FE FF");
    EXPECT_EQ(lines[63], "F8 F9 FA FB FC FD FE FF"); // last line: no CR LF, no blank after it
    EXPECT_EQ(dump.size(), 512u * 2 + 63 * 2 + 448);
}

TEST(SectorDump, CharDumpBlanksControlBytesAndEndsEveryLine)
{
    const std::string dump = charDump(countingSector());
    ASSERT_GE(dump.size(), 2u);
    EXPECT_EQ(dump.substr(dump.size() - 2), "\r\n");
    std::vector<std::string> lines = splitLines(dump);
    ASSERT_EQ(lines.back(), ""); // after the final CR LF
    lines.pop_back();
    ASSERT_EQ(lines.size(), 64u);
    EXPECT_EQ(lines[0], "        ");
    EXPECT_EQ(lines[3], "        "); // 24 to 31 are still control bytes
    EXPECT_EQ(lines[4], " !\"#$%&'");
    EXPECT_EQ(lines[15], "xyz{|}~\x7F");
    EXPECT_EQ(lines[31], "\xC3\xB8\xC3\xB9\xC3\xBA\xC3\xBB\xC3\xBC\xC3\xBD\xC3\xBE\xC3\xBF");
    EXPECT_EQ(lines[32], "        ");
}

TEST(FileSystemName, NormalisedNameSelectsTheLayout)
{
    struct Case {
        std::string reported;
        std::string normalised;
        BootLayout layout;
    };
    const std::vector<Case> cases{
        {"FAT12", "FAT12", BootLayout::Fat12Or16},
        {"fat16", "FAT16", BootLayout::Fat12Or16},
        {"Fat32", "FAT32", BootLayout::Fat32},
        {"ntfs", "NTFS", BootLayout::Ntfs},
        {std::string("NTFS\0\0FAT32", 11), "NTFS", BootLayout::Ntfs},
        {std::string("\0NTFS", 5), "", BootLayout::None},
        {"", "", BootLayout::None},
        {"FAT", "FAT", BootLayout::None},
        {"exFAT", "EXFAT", BootLayout::None},
        {"CDFS", "CDFS", BootLayout::None},
        {"FAT32 ", "FAT32 ", BootLayout::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.normalised);
        const std::string name = normaliseFileSystemName(c.reported);
        EXPECT_EQ(name, c.normalised);
        EXPECT_EQ(layoutForFileSystem(name), c.layout);
    }
}

} // namespace
} // namespace volmara
