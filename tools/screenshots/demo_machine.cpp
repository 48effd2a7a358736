#include "tools/screenshots/demo_machine.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace volmara::shots {

namespace {

constexpr std::string_view kProgramFolder = "/opt/volmara";

// Drive sizes in KB, as a 120 GB system disk, a 480 GB home disk, a 32 GB card and a NAS share.
struct DemoDrive {
    const char* root;
    std::uint64_t freeKb;
    std::uint64_t totalKb;
    const char* fileSystem;
    DriveType type;
    bool remote;
};
constexpr DemoDrive kDrives[] = {
    {"/", 38'211'904, 102'687'672, "EXT4", DriveType::Fixed, false},
    {"/home/", 211'847'316, 472'446'976, "EXT4", DriveType::Fixed, false},
    {kCardRoot, kCardFreeKb, 31'266'816, "FAT32", DriveType::Removable, false},
    {"/mnt/nas/", 815'221'760, 1'953'514'584, "NFS4", DriveType::Remote, true},
};
constexpr std::uint64_t kCardClusterKb = 32;

struct DemoFile {
    const char* path;
    std::uint64_t bytes;
    const char* type;
};
constexpr DemoFile kFiles[] = {
    {"/media/usb/DCIM/100CANON/MVI_2041.MOV", 734'003'200, "QuickTime video"},
    {"/home/user/Downloads/debian-12.5.0-amd64-netinst.iso", 659'554'304, "Raw CD image"},
    {"/home/user/Downloads/build-cache/objects.pack", 214'748'364, "Archive"},
    {"/home/user/Videos/holiday-raw.mkv", 2'147'483'648, "Matroska video"},
    {"/home/user/bin/prune-build-cache.sh", 1'874, "Shell script"},
    {"/usr/local/bin/rotate-footage", 48'312, "Executable"},
};

// set.dat as the program writes it: the alert, move and sound responses, free space change and
// lost drive events, a 2,000,000 KB trigger, a one-minute check and a mail account with two
// recipients.
constexpr std::string_view kSetDat = "chkUpdate=0\r\n"
                                     "chkStartUp=1\r\n"
                                     "chkOnTopMonitor=0\r\n"
                                     "chkNTLog=0\r\n"
                                     "chkLog=1\r\n"
                                     "chkAutoSave=1\r\n"
                                     "txtAudio0=\r\n"
                                     "txtAudio1=\r\n"
                                     "txtTime=60\r\n"
                                     "minspace=2000000\r\n"
                                     "notEmail=volmara@workstation.example.org\r\n"
                                     "notEmailUser=volmara\r\n"
                                     "notEmailPass=demo-only\r\n"
                                     "notMailServer=mail.example.org\r\n"
                                     "notEmailSubj=Zembrik Volmara: system info\r\n"
                                     "notMailFromDisp=Volmara on workstation\r\n"
                                     "notcboEmail=ops@example.org\r\n"
                                     "notcboEmail=anna.berg@example.org\r\n"
                                     "NotlstContent=0\r\n"
                                     "NotlstContent=2\r\n"
                                     "NotlstContent=3\r\n"
                                     "NotlstContent=5\r\n"
                                     "notlstTime=1\r\n"
                                     "notlstTime=3\r\n"
                                     "notCustMsg=The camera card on the workstation is running out of space.\r\n"
                                     "notCustCont=\r\n"
                                     "notCustEvtAmt=4\r\n"
                                     "notDTPicker1=07:30:00\r\n"
                                     "notDTPicker2=01:00:00\r\n"
                                     "nottxtProxy=\r\n"
                                     "nottxtPort=\r\n"
                                     "notchkHTML=0\r\n"
                                     "notchkProxy=0\r\n"
                                     "insystray=1\r\n"
                                     "path2move=/mnt/nas/archive\r\n"
                                     "filetype=.tmp|.iso|.mov\r\n"
                                     "custtime=0\r\n"
                                     "custtimebegin=08:00:00\r\n"
                                     "custtimeend=18:00:00\r\n"
                                     "custtimeDTPI=00:01:00\r\n"
                                     "updateauto=0\r\n"
                                     "path=/\r\n"
                                     "path=/home/\r\n"
                                     "path=/media/usb/\r\n"
                                     "cboFile=/media/usb/DCIM/100CANON/MVI_2041.MOV\r\n"
                                     "cboFile=/home/user/Downloads/build-cache\r\n"
                                     "lstAct=0\r\n"
                                     "lstAct=1\r\n"
                                     "lstAct=5\r\n"
                                     "lstEvt=1\r\n"
                                     "lstEvt=4\r\n";

constexpr std::string_view kExtraDat = "mailport=587\r\n"
                                       "file=/media/usb/DCIM/100CANON/MVI_2041.MOV\r\n"
                                       "file=/home/user/Downloads/debian-12.5.0-amd64-netinst.iso\r\n"
                                       "file=/home/user/Downloads/build-cache\r\n"
                                       "file=/home/user/Videos/holiday-raw.mkv\r\n"
                                       "prog=/home/user/bin/prune-build-cache.sh\r\n"
                                       "prog=/usr/local/bin/rotate-footage\r\n";

std::string parentOf(std::string_view path) { return std::string(path.substr(0, path.rfind('/'))); }

void put(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint64_t value, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i, value >>= 8)
        bytes.at(offset + i) = static_cast<std::uint8_t>(value & 0xFF);
}

void put(std::vector<std::uint8_t>& bytes, std::size_t offset, std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        bytes.at(offset + i) = static_cast<std::uint8_t>(text[i]);
}

// The first two sectors of the card as a FAT32 formatter leaves them: the boot sector and the
// file-system information sector with the free cluster count.
std::vector<std::uint8_t> cardBootSectors(std::uint64_t totalKb, std::uint64_t freeKb)
{
    std::vector<std::uint8_t> bytes(1024, 0);
    put(bytes, 0, 0x9058EB, 3);
    put(bytes, 3, "mkfs.fat");
    put(bytes, 11, 512, 2);
    put(bytes, 13, kCardClusterKb * 2, 1);
    put(bytes, 14, 32, 2);
    put(bytes, 16, 2, 1);
    put(bytes, 21, 0xF8, 1);
    put(bytes, 24, 63, 2);
    put(bytes, 26, 255, 2);
    put(bytes, 28, 2048, 4);
    put(bytes, 32, totalKb * 2, 4);
    put(bytes, 36, 7633, 4);
    put(bytes, 44, 2, 4);
    put(bytes, 48, 1, 2);
    put(bytes, 50, 6, 2);
    put(bytes, 64, 0x80, 1);
    put(bytes, 66, 0x29, 1);
    put(bytes, 67, 0x5A3C1E77, 4);
    put(bytes, 71, "CAMERA     ");
    put(bytes, 82, "FAT32   ");
    put(bytes, 510, 0xAA55, 2);
    put(bytes, 512, "RRaA");
    put(bytes, 512 + 484, "rrAa");
    put(bytes, 512 + 488, freeKb / kCardClusterKb, 4);
    put(bytes, 512 + 492, 184'213, 4);
    put(bytes, 1022, 0xAA55, 2);
    return bytes;
}

void addDrives(test::AppHarness& machine)
{
    for (const auto& d : kDrives) {
        machine.volumes.add(d.root, d.freeKb, d.totalKb).remote = d.remote;
        machine.volumeInfo.names[d.root] = d.fileSystem;
        machine.volumeInfo.types[d.root] = d.type;
        // 4 KB clusters, except the card's 32 KB ones.
        const std::uint64_t clusterKb = d.root == std::string_view(kCardRoot) ? kCardClusterKb : 4;
        machine.volumeInfo.geometry[d.root] =
            ClusterGeometry{clusterKb * 2, 512, d.freeKb / clusterKb, d.totalKb / clusterKb};
        // A Linux file system keeps its first kilobyte empty; the card has its FAT32 boot record.
        machine.rawVolumes.images[d.root].bytes = d.root == std::string_view(kCardRoot)
                                                       ? cardBootSectors(d.totalKb, d.freeKb)
                                                       : std::vector<std::uint8_t>(1024, 0);
    }
}

void addFiles(test::AppHarness& machine)
{
    auto& files = machine.files;
    for (const auto* folder : {"/home/user", kDownloads, "/home/user/Downloads/build-cache", "/home/user/Videos",
                               "/home/user/bin", "/media/usb/DCIM", "/media/usb/DCIM/100CANON", "/mnt/nas/archive",
                               "/usr/local/bin"})
        files.folders.insert(folder);
    for (const auto& f : kFiles) {
        files.files[f.path] = "demo";
        files.sizes[f.path] = f.bytes;
        files.typeNames[f.path] = f.type;
        files.folders.insert(parentOf(f.path));
    }
    for (const auto& d : kDrives)
        files.folders.insert(d.root);
    files.counts[kCardRoot] = FolderCounts{3, 2};
    files.counts[kDownloads] = FolderCounts{37, 4};
    files.counts["/home/user"] = FolderCounts{12, 21};
    const std::string program(kProgramFolder);
    files.files[program + "/set.dat"] = std::string(kSetDat);
    files.files[program + "/extra.dat"] = std::string(kExtraDat);
    files.files[program + "/sound/alert.WAV"] = "RIFF";
}

} // namespace

void furnish(test::AppHarness& machine)
{
    addDrives(machine);
    addFiles(machine);
    machine.systemInfo.host = "workstation";
}

void changeCardSpace(test::AppHarness& machine, std::uint64_t freeKb)
{
    machine.volumes.mount(kCardRoot).freeBytes = freeKb * 1024;
    machine.volumeInfo.geometry[kCardRoot].freeClusters = freeKb / kCardClusterKb;
}

} // namespace volmara::shots
