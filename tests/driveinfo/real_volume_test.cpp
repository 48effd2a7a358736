// The reader over the real Linux layer, against volumes made by the real formatting tools.
#include "driveinfo/boot_sector_reader.h"
#include "driveinfo/sector_dump.h"
#include "platform/posix/driveinfo/file_system_probe.h"
#include "platform/posix/driveinfo/posix_raw_volumes.h"
#include "platform/posix/driveinfo/posix_volume_info.h"
#include "sector_builder.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <cctype>

#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

namespace volmara {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::valueOf;

std::optional<std::string> findTool(const std::string& name)
{
    std::vector<std::string> folders{"/usr/sbin", "/sbin"};
    if (const char* path = std::getenv("PATH")) {
        std::stringstream list(path);
        for (std::string folder; std::getline(list, folder, ':');)
            folders.push_back(folder);
    }
    for (const std::string& folder : folders) {
        const fs::path candidate = fs::path(folder) / name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    }
    return std::nullopt;
}

struct CommandResult {
    int status = -1;
    std::string output;
};

CommandResult run(const std::string& command)
{
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        result.output.append(buffer.data(), n);
    result.status = ::pclose(pipe);
    return result;
}

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

Bytes readFileBytes(const fs::path& path, std::uint64_t offset, std::size_t length)
{
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    Bytes bytes(length);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(length));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void writeFileBytes(const fs::path& path, std::uint64_t offset, const Bytes& bytes)
{
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(offset));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

SectorBuffer firstSectorOf(const fs::path& path)
{
    const Bytes bytes = readFileBytes(path, 0, kSectorSize);
    SectorBuffer sector{};
    std::copy(bytes.begin(), bytes.end(), sector.begin());
    return sector;
}

// What fsck.fat finds in a FAT volume, as an independent reading of its structure.
struct FatCheck {
    std::uint64_t sectorsTotal = 0;
    std::uint64_t sectorsPerFat = 0;
    std::uint64_t rootCluster = 0;
    std::uint64_t usedClusters = 0;
    std::uint64_t dataClusters = 0;
};

std::optional<FatCheck> checkFat(const std::string& fsck, const fs::path& image)
{
    const CommandResult r = run(quoted(fsck) + " -v -n " + quoted(image.string()));
    std::smatch m;
    FatCheck check;
    const auto number = [&](const char* pattern, std::uint64_t& out, int group = 1) {
        if (!std::regex_search(r.output, m, std::regex(pattern)))
            return false;
        out = std::stoull(m[group].str());
        return true;
    };
    number(R"(start at cluster (\d+))", check.rootCluster);
    if (!number(R"((\d+) sectors total)", check.sectorsTotal) || !number(R"(\(= (\d+) sectors\))", check.sectorsPerFat) ||
        !number(R"((\d+)/\d+ clusters)", check.usedClusters) || !number(R"(\d+/(\d+) clusters)", check.dataClusters))
        return std::nullopt;
    return check;
}

class RealVolumeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/volmara-driveinfo-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    // Runs a formatting tool, skipping the test when it is not installed.
    void format(const std::string& tool, const std::string& arguments)
    {
        const std::optional<std::string> path = findTool(tool);
        if (!path)
            GTEST_SKIP() << tool << " is not installed";
        const CommandResult r = run(quoted(*path) + " " + arguments);
        ASSERT_EQ(r.status, 0) << tool << " " << arguments << "\n" << r.output;
    }

    fs::path image(const std::string& name) const { return dir / name; }

    void expectRows(const FieldList& expected)
    {
        EXPECT_EQ(reader.lvInfo(), expected);
    }

    fs::path dir;
    PosixRawVolumes volumes;
    PosixVolumeInfo info;
    BootSectorReader reader{volumes, info};
};

TEST_F(RealVolumeTest, Fat12)
{
    const fs::path img = image("fat12.img");
    format("mkfs.fat", "-F 12 -C -S 512 -s 2 -R 1 -f 2 -M 0xF0 -D 0x00 -h 63 -g 2/18 -n LBL12 -i 1234ABCD " +
                           quoted(img.string()) + " 1440");
    if (IsSkipped() || HasFatalFailure())
        return;

    EXPECT_EQ(info.fileSystemName(img.string()), "FAT12");
    ASSERT_EQ(reader.prcReadBootSector(img.string()), BootReadOutcome::Shown);
    expectRows({
        {"OEM name", "mkfs.fat"},
        {"Bytes per Sector", "512"},
        {"Sectors per cluster", "2"},
        {"Reserved sectors", "1"},
        {"Number of copies of FAT", "2"},
        {"Media Descriptor", "F0"},
        {"Sectors per track", "18"},
        {"Number of heads", "2"},
        {"Number of hidden sectors", "63"},
        {"Number of sectors", "0"}, // 2880 sectors fit the 16-bit count, the 32-bit one stays zero
        {"Drive number", "0"},
        {"Serial number", "1234ABCD"},
        {"Volume name", "LBL12      "},
        {"File system type", "FAT12   "},
    });
    const SectorBuffer onDisk = firstSectorOf(img);
    EXPECT_EQ(reader.txtBytes(), hexDump(onDisk));
    EXPECT_EQ(reader.txtChar(), charDump(onDisk));
}

TEST_F(RealVolumeTest, Fat16)
{
    const fs::path img = image("fat16.img");
    format("mkfs.fat", "-F 16 -C -S 512 -s 4 -R 4 -f 2 -M 0xF8 -D 0x80 -h 2147483648 -g 64/32 -n LBL16 -i 89ABCDEF " +
                           quoted(img.string()) + " 65536");
    if (IsSkipped() || HasFatalFailure())
        return;
    const std::optional<std::string> fsck = findTool("fsck.fat");
    ASSERT_TRUE(fsck);
    const std::optional<FatCheck> check = checkFat(*fsck, img);
    ASSERT_TRUE(check);

    EXPECT_EQ(info.fileSystemName(img.string()), "FAT16");
    ASSERT_EQ(reader.prcReadBootSector(img.string()), BootReadOutcome::Shown);
    expectRows({
        {"OEM name", "mkfs.fat"},
        {"Bytes per Sector", "512"},
        {"Sectors per cluster", "4"},
        {"Reserved sectors", "4"},
        {"Number of copies of FAT", "2"},
        {"Media Descriptor", "F8"},
        {"Sectors per track", "32"},
        {"Number of heads", "64"},
        {"Number of hidden sectors", "-2147483648"},
        {"Number of sectors", std::to_string(check->sectorsTotal)},
        {"Drive number", "128"},
        {"Serial number", "89ABCDEF"},
        {"Volume name", "LBL16      "},
        {"File system type", "FAT16   "},
    });
    EXPECT_GT(check->sectorsTotal, 65535u); // so the 32-bit count is the one in use
}

class RealFat32Test : public RealVolumeTest {
protected:
    // 4096-byte sectors, so an information sector located with the wrong sector size shows.
    void makeFat32()
    {
        img = image("fat32.img");
        format("mkfs.fat", "-F 32 -C -S 4096 -s 1 -R 40 -f 2 -M 0xF0 -D 0x81 -h 2048 -g 16/63 -b 6 -n VOL32 -i 00C0FFEE " +
                               quoted(img.string()) + " 300000");
    }

    fs::path img;
};

TEST_F(RealFat32Test, BootSectorAndInformationSector)
{
    makeFat32();
    if (IsSkipped() || HasFatalFailure())
        return;
    const std::optional<std::string> fsck = findTool("fsck.fat");
    ASSERT_TRUE(fsck);
    const std::optional<FatCheck> check = checkFat(*fsck, img);
    ASSERT_TRUE(check);
    // The hint as a volume in use may leave it: "unknown".
    writeFileBytes(img, 4096 + 492, {0xFF, 0xFF, 0xFF, 0xFF});

    EXPECT_EQ(info.fileSystemName(img.string()), "FAT32");
    ASSERT_EQ(reader.prcReadBootSector(img.string()), BootReadOutcome::Shown);
    expectRows({
        {"OEM name", "mkfs.fat"},
        {"Bytes per Sector", "4096"},
        {"Sectors per cluster", "1"},
        {"Reserved sectors", "40"},
        {"Number of copies of FAT", "2"},
        {"Media Descriptor", "F0"},
        {"Sectors per track", "63"},
        {"Number of heads", "16"},
        {"Number of hidden sectors", "2048"},
        {"Number of sectors", std::to_string(check->sectorsTotal)},
        {"Number of sectors per FAT", std::to_string(check->sectorsPerFat)},
        {"Active FAT copy", "0"},
        {"FAT mirroring enabled", "True"},
        {"Drive Version", "0.0"},
        {"Root Directory cluster number", std::to_string(check->rootCluster)},
        {"File System Information sector", "1"},
        {"Backup boot sector number", "6"},
        {"Drive number", "129"},
        {"Serial number", "C0FFEE"},
        {"Volume name", "VOL32      "},
        {"FAT name", "FAT32   "},
        {"Last known free cluster", std::to_string(check->dataClusters - check->usedClusters)},
        {"Starting free cluster", "-1"},
    });
}

// A boot sector that points its information sector outside the volume. The system's probe may
// refuse such a volume (no rows then); either way nothing is read from outside, the dumps show.
TEST_F(RealFat32Test, InformationSectorOutsideTheVolumeIsNeverShown)
{
    makeFat32();
    if (IsSkipped() || HasFatalFailure())
        return;
    const std::uint64_t cutSize = 1024 * 1024 + 100; // still holds the boot sector, FATs and root folder
    for (const unsigned infoSector : {256u, 0xFFFFu}) {
        SCOPED_TRACE(infoSector);
        const fs::path cut = image("cut.img");
        fs::copy_file(img, cut, fs::copy_options::overwrite_existing);
        fs::resize_file(cut, cutSize);
        writeFileBytes(cut, 48, testing::littleEndian(infoSector, 2));

        ASSERT_EQ(reader.prcReadBootSector(cut.string()), BootReadOutcome::Shown);
        EXPECT_EQ(valueOf(reader.lvInfo(), "Last known free cluster"), std::nullopt);
        EXPECT_EQ(valueOf(reader.lvInfo(), "Starting free cluster"), std::nullopt);
        EXPECT_EQ(reader.txtBytes(), hexDump(firstSectorOf(cut)));
    }
}

TEST_F(RealVolumeTest, RawReadsStopAtTheEndOfTheVolume)
{
    const fs::path img = image("counting.img");
    Bytes content(4096);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<std::uint8_t>(i * 7);
    {
        std::ofstream out(img, std::ios::binary);
        out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    }
    const std::unique_ptr<RawVolume> volume = volumes.open(img.string());
    ASSERT_TRUE(volume);
    ASSERT_EQ(volume->size(), 4096u);

    SectorBuffer sector{};
    EXPECT_EQ(volume->readAt(1024, sector), kSectorSize);
    EXPECT_TRUE(std::equal(sector.begin(), sector.end(), content.begin() + 1024));
    EXPECT_EQ(volume->readAt(4000, sector), 96u);
    EXPECT_EQ(volume->readAt(4096, sector), 0u);
    EXPECT_EQ(volume->readAt(std::uint64_t{1} << 40, sector), 0u);
    EXPECT_EQ(volume->readAt(UINT64_MAX - 10, sector), std::nullopt);
}

TEST_F(RealVolumeTest, Ntfs)
{
    const fs::path img = image("ntfs.img");
    const std::uint64_t bytes = 8 * 1024 * 1024;
    {
        std::ofstream create(img, std::ios::binary);
    }
    fs::resize_file(img, bytes);
    format("mkntfs", "-F -Q -L NTLABEL -s 512 -c 4096 -p 2048 -H 16 -S 63 " + quoted(img.string()));
    if (IsSkipped() || HasFatalFailure())
        return;
    format("ntfslabel", "--new-serial=0123456789ABCDEF " + quoted(img.string()));
    if (IsSkipped() || HasFatalFailure())
        return;

    EXPECT_EQ(info.fileSystemName(img.string()), "NTFS");
    ASSERT_EQ(reader.prcReadBootSector(img.string()), BootReadOutcome::Shown);
    const FieldList& rows = reader.lvInfo();
    ASSERT_EQ(rows.size(), 12u);
    const std::string mft = valueOf(rows, "LCN of MFT data attribute").value_or("");
    const std::string mirror = valueOf(rows, "LCN of MFT mirror data attribute").value_or("");
    expectRows({
        {"OEM name", "NTFS    "},
        {"Bytes per Sector", "512"},
        {"Sectors per cluster", "8"},
        {"Media descriptor", "F8"},
        {"Sectors per track", "63"},
        {"Number of heads", "16"},
        {"Sectors in storage unit", std::to_string(bytes / 512 - 1)}, // the last sector holds the backup boot sector
        {"LCN of MFT data attribute", mft},
        {"LCN of MFT mirror data attribute", mirror},
        {"File record size", "246 clusters"}, // 1024-byte records: the byte -10, taken with its three zero bytes
        {"Index buffer size", "1 clusters"},  // 4096-byte index buffers: one cluster
        {"Volume serial number", "89ABCDEF"},
    });
    // Both cluster numbers must land on MFT records.
    ASSERT_NE(mft, mirror);
    for (const std::string& lcn : {mft, mirror}) {
        SCOPED_TRACE(lcn);
        EXPECT_EQ(readFileBytes(img, std::stoull(lcn) * 4096, 4), testing::bytesOf("FILE"));
    }
}

TEST_F(RealVolumeTest, VolumesThatCannotBeReadReportTheirFailure)
{
    const fs::path fifo = image("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path tiny = image("tiny.img");
    {
        std::ofstream out(tiny, std::ios::binary);
        out << std::string(100, 'x');
    }
    struct Case {
        std::string path;
        BootReadOutcome outcome;
    };
    const std::vector<Case> cases{
        {image("missing.img").string(), BootReadOutcome::OpenFailed},
        {fifo.string(), BootReadOutcome::OpenFailed}, // must not wait for a writer
        {"/dev/null", BootReadOutcome::OpenFailed},
        {"/proc", BootReadOutcome::OpenFailed}, // a file system without a device
        {"", BootReadOutcome::OpenFailed},
        {tiny.string(), BootReadOutcome::ReadFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(reader.prcReadBootSector(c.path), c.outcome);
        EXPECT_TRUE(reader.lvInfo().empty());
    }
}

TEST_F(RealVolumeTest, VolumeIsOpenedReadOnly)
{
    const fs::path img = image("plain.img");
    {
        std::ofstream out(img, std::ios::binary);
        out << std::string(4096, '\0');
    }
    const std::unique_ptr<RawVolume> volume = volumes.open(img.string());
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->size(), 4096u);

    int matching = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (fs::read_symlink(entry.path(), error) != img)
            continue;
        ++matching;
        std::ifstream fdinfo("/proc/self/fdinfo/" + entry.path().filename().string());
        std::string key;
        std::string flags;
        while (fdinfo >> key && key != "flags:")
            ;
        fdinfo >> flags;
        EXPECT_EQ(std::stoul(flags, nullptr, 8) & O_ACCMODE, static_cast<unsigned long>(O_RDONLY));
    }
    EXPECT_EQ(matching, 1);
}

std::string mountedType(const std::string& path)
{
    std::string type = run("findmnt -n -o FSTYPE -T " + quoted(path)).output;
    while (!type.empty() && (type.back() == '\n' || type.back() == ' '))
        type.pop_back();
    return type;
}

TEST_F(RealVolumeTest, DriveAttributesOfAMountedFolder)
{
    if (!findTool("findmnt") || !findTool("stat"))
        GTEST_SKIP() << "findmnt or stat is not installed";
    const std::string type = mountedType(dir.string());
    ASSERT_FALSE(type.empty());
    if (type.rfind("vfat", 0) != 0 && type.rfind("ntfs", 0) != 0 && type != "fuseblk") {
        std::string upper = type;
        for (char& ch : upper)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_EQ(info.fileSystemName(dir.string()), upper);
    }

    std::uint64_t blockSize = 0;
    std::uint64_t blocks = 0;
    std::istringstream(run("stat -f -c '%S %b' " + quoted(dir.string())).output) >> blockSize >> blocks;
    const ClusterGeometry g = info.clusterGeometry(dir.string());
    EXPECT_EQ(g.sectorsPerCluster * g.bytesPerSector, blockSize);
    EXPECT_EQ(g.totalClusters, blocks);
    EXPECT_LE(g.freeClusters, g.totalClusters);
    EXPECT_NE(info.driveType(dir.string()), DriveType::NotFound);

    EXPECT_EQ(info.driveType(image("no/such/folder").string()), DriveType::NotFound);
    EXPECT_EQ(info.clusterGeometry(image("no/such/folder").string()).totalClusters, 0u);
    if (mountedType("/dev/shm") == "tmpfs") {
        EXPECT_EQ(info.driveType("/dev/shm"), DriveType::RamDisk);
    }
}

// A mount table where a network file system is mounted over a folder of the test. Nothing on
// such a file system is opened or probed: it could hang on its server.
TEST_F(RealVolumeTest, NetworkMountIsNeverTouched)
{
    const fs::path share = image("share");
    fs::create_directory(share);
    {
        std::ofstream out(share / "inside.img", std::ios::binary);
        out << std::string(4096, '\0');
    }
    const fs::path table = image("mountinfo");
    {
        std::ofstream out(table);
        out << "21 1 0:20 / / rw,relatime - ext4 /dev/volmara-no-such-disk rw\n"
            << "22 21 0:42 / " << share.string() << " rw,relatime - nfs4 server:/export rw\n";
    }
    PosixRawVolumes tableVolumes(table.string());
    PosixVolumeInfo tableInfo(table.string());
    BootSectorReader tableReader{tableVolumes, tableInfo};

    const std::string root = share.string() + "/";
    EXPECT_EQ(tableReader.prcReadBootSector(root), BootReadOutcome::OpenFailed);
    EXPECT_EQ(tableReader.prcReadBootSector((share / "inside.img").string()), BootReadOutcome::OpenFailed);
    EXPECT_EQ(tableInfo.fileSystemName(root), "NFS4");
    EXPECT_EQ(tableInfo.driveType(root), DriveType::Remote);

    // Measured by a plain statvfs (the workers keep a dead server from holding the window).
    std::uint64_t blocks = 0;
    std::istringstream(run("stat -f -c '%b' " + quoted(share.string())).output) >> blocks;
    EXPECT_EQ(tableInfo.clusterGeometry(root).totalClusters, blocks);

    // The local root's device cannot be probed: the table's type is the name.
    EXPECT_EQ(tableInfo.fileSystemName(dir.string()), "EXT4");
    EXPECT_EQ(tableInfo.driveType(dir.string()), DriveType::Fixed);
}

TEST(SystemFileSystemNames, ReportedNames)
{
    struct Case {
        std::string type;
        std::string version;
        std::string name;
    };
    const std::vector<Case> cases{
        {"vfat", "FAT12", "FAT12"}, {"vfat", "FAT16", "FAT16"}, {"vfat", "FAT32", "FAT32"}, {"vfat", "", "FAT"},
        {"ntfs", "", "NTFS"},       {"ntfs3", "", "NTFS"},      {"ext4", "1.0", "EXT4"},    {"iso9660", "", "ISO9660"},
        {"exfat", "1.0", "EXFAT"},  {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type + "/" + c.version);
        EXPECT_EQ(posix::reportedFileSystemName(c.type, c.version), c.name);
    }
}

TEST(SystemDriveTypes, FromFileSystemAndDevice)
{
    using posix::DeviceRemovability;
    struct Case {
        std::string fsType;
        DeviceRemovability device;
        DriveType type;
    };
    const std::vector<Case> cases{
        {"ext4", DeviceRemovability::Fixed, DriveType::Fixed},
        {"vfat", DeviceRemovability::Removable, DriveType::Removable},
        {"iso9660", DeviceRemovability::Removable, DriveType::CdRom},
        {"udf", DeviceRemovability::Fixed, DriveType::CdRom},
        {"nfs4", DeviceRemovability::NoDevice, DriveType::Remote},
        {"cifs", DeviceRemovability::NoDevice, DriveType::Remote},
        {"fuse.sshfs", DeviceRemovability::NoDevice, DriveType::Remote},
        {"tmpfs", DeviceRemovability::NoDevice, DriveType::RamDisk},
        {"overlay", DeviceRemovability::NoDevice, DriveType::Fixed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fsType);
        EXPECT_EQ(posix::driveTypeFor(c.fsType, c.device), c.type);
    }
}

TEST(SystemClusterGeometry, ClusterSplitIntoDeviceSectors)
{
    struct Case {
        std::uint64_t cluster;
        std::uint64_t sector;
        std::uint64_t sectorsPerCluster;
        std::uint64_t bytesPerSector;
    };
    for (const Case& c : {Case{4096, 512, 8, 512}, Case{4096, 4096, 1, 4096}, Case{1024, 4096, 1, 1024},
                          Case{6144, 4096, 1, 6144}, Case{4096, 0, 1, 4096}}) {
        SCOPED_TRACE(std::to_string(c.cluster) + "/" + std::to_string(c.sector));
        const ClusterGeometry g = posix::splitCluster(c.cluster, c.sector);
        EXPECT_EQ(g.sectorsPerCluster, c.sectorsPerCluster);
        EXPECT_EQ(g.bytesPerSector, c.bytesPerSector);
    }
}

} // namespace
} // namespace volmara
