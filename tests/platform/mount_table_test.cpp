#include "platform/posix/mount_table.h"

#include "core/error.h"

#include "measure_now.h"
#include "platform/posix/volumes_posix.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include <sys/sysmacros.h>

namespace volmara {
namespace {

MountRecord mount(std::string target, std::string fsType, std::uint64_t device, std::string source = "/dev/sda1")
{
    return {std::move(target), std::move(source), std::move(fsType), device};
}

std::vector<std::string> targetsOf(const std::vector<MountRecord>& mounts)
{
    std::vector<std::string> targets;
    for (const MountRecord& m : mounts)
        targets.push_back(m.target);
    return targets;
}

struct FilterCase {
    const char* name;
    std::vector<MountRecord> table;
    std::vector<std::string> kept;
};

TEST(FillableMounts, KeepsWhatAUserCanFillInTableOrder)
{
    const std::vector<FilterCase> cases = {
        {"storage of every kind is kept",
         {mount("/", "ext4", 1), mount("/home", "xfs", 2, "/dev/sda2"), mount("/mnt/image", "ext4", 3, "/dev/loop0"),
          mount("/media/usb", "vfat", 4, "/dev/sdb1"), mount("/mnt/nas", "nfs4", 5, "server:/export"),
          mount("/mnt/win", "cifs", 6, "//server/share"), mount("/mnt/ssh", "fuse.sshfs", 7, "user@host:"),
          mount("/boot/efi", "vfat", 8, "/dev/sda3"), mount("/data", "btrfs", 9), mount("/ovl", "overlay", 10, "overlay")},
         {"/", "/home", "/mnt/image", "/media/usb", "/mnt/nas", "/mnt/win", "/mnt/ssh", "/boot/efi", "/data", "/ovl"}},
        {"pseudo file systems are left out",
         {mount("/", "ext4", 1), mount("/proc", "proc", 20, "proc"), mount("/sys", "sysfs", 21, "sysfs"),
          mount("/sys/fs/cgroup", "cgroup2", 22, "cgroup2"), mount("/sys/fs/cgroup/cpu", "cgroup", 23, "cgroup"),
          mount("/dev", "devtmpfs", 24, "udev"), mount("/dev/pts", "devpts", 25, "devpts"),
          mount("/sys/kernel/debug", "debugfs", 26, "debugfs"), mount("/sys/kernel/tracing", "tracefs", 27, "tracefs"),
          mount("/sys/kernel/security", "securityfs", 28, "securityfs"), mount("/dev/mqueue", "mqueue", 29, "mqueue"),
          mount("/dev/hugepages", "hugetlbfs", 30, "hugetlbfs"), mount("/proc/sys/fs/binfmt_misc", "autofs", 31, "systemd-1"),
          mount("/sys/fs/fuse/connections", "fusectl", 32, "fusectl"), mount("/sys/fs/bpf", "bpf", 33, "bpf"),
          mount("/sys/kernel/config", "configfs", 34, "configfs"), mount("/sys/fs/pstore", "pstore", 35, "pstore"),
          mount("/run/user/1000/doc", "fuse.portal", 36, "portal"), mount("/srv/nfs", "nfsd", 37, "nfsd")},
         {"/"}},
        {"squashfs images are left out",
         {mount("/", "ext4", 1), mount("/snap/core22/1234", "squashfs", 40, "/dev/loop3"),
          mount("/snap/firefox/5", "squashfs", 41, "/dev/loop4")},
         {"/"}},
        {"tmpfs counts outside the system's trees only",
         {mount("/", "ext4", 1), mount("/run", "tmpfs", 50, "tmpfs"), mount("/run/user/1000", "tmpfs", 51, "tmpfs"),
          mount("/dev/shm", "tmpfs", 52, "tmpfs"), mount("/sys/fs/cgroup", "tmpfs", 53, "tmpfs"),
          mount("/proc/x", "tmpfs", 54, "tmpfs"), mount("/tmp", "tmpfs", 55, "tmpfs"), mount("/mnt/ram", "tmpfs", 56, "tmpfs"),
          mount("/runner", "tmpfs", 57, "tmpfs"), mount("/devices", "tmpfs", 58, "tmpfs"), mount("/media/rd", "ramfs", 59, "ramfs")},
         {"/", "/tmp", "/mnt/ram", "/runner", "/devices", "/media/rd"}},
        {"a further mount of a kept file system is left out",
         {mount("/", "ext4", 1), mount("/home", "ext4", 2, "/dev/sda2"), mount("/srv/home", "ext4", 2, "/dev/sda2"),
          mount("/var/lib/docker/x", "ext4", 1), mount("/mnt/nas", "nfs", 5, "server:/a"),
          mount("/mnt/nas-again", "nfs", 5, "server:/a")},
         {"/", "/home", "/mnt/nas"}},
        {"of two mounts at one place only the later, visible one is kept",
         {mount("/", "ext4", 1), mount("/mnt/data", "ext4", 2, "/dev/sdb1"), mount("/mnt/data", "xfs", 3, "/dev/sdc1"),
          mount("/mnt/data", "xfs", 3, "/dev/sdc1")},
         {"/", "/mnt/data"}},
        {"without device numbers source and type tell file systems apart",
         {mount("/", "ext4", 0, "/dev/vda"), mount("/a", "ext4", 0, "/dev/vdb"), mount("/b", "ext4", 0, "/dev/vdb"),
          mount("/c", "xfs", 0, "/dev/vdb")},
         {"/", "/a", "/c"}},
        {"an empty table has no drives", {}, {}},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(targetsOf(fillableMounts(c.table)), c.kept);
    }
}

TEST(FillableMounts, HiddenMountKeepsTheVisibleRecord)
{
    const std::vector<MountRecord> table = {mount("/", "ext4", 1), mount("/mnt/data", "nfs", 2, "old:/x"),
                                            mount("/mnt/data", "ext4", 3, "/dev/sdc1")};
    const auto kept = fillableMounts(table);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1], table[2]);
}

TEST(MountHolding, LongestComponentWisePrefixWins)
{
    const std::vector<MountRecord> table = {
        mount("/", "ext4", 1),           mount("/home", "ext4", 2),         mount("/home/user/usb", "vfat", 3),
        mount("/mnt/a", "nfs", 4),       mount("/mnt/a", "ext4", 5),        mount("/proc", "proc", 6),
    };
    const struct {
        const char* path;
        const char* target;
        std::uint64_t device;
    } cases[] = {
        {"/", "/", 1},
        {"/homework", "/", 1},
        {"/home", "/home", 2},
        {"/home/user", "/home", 2},
        {"/home/user/usb", "/home/user/usb", 3},
        {"/home/user/usb/photos/2024", "/home/user/usb", 3},
        {"/home/user/usbstick", "/home", 2},
        {"/mnt/a/x", "/mnt/a", 5},
        {"/proc/self", "/proc", 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const MountRecord* found = mountHolding(table, c.path);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->target, c.target);
        EXPECT_EQ(found->device, c.device);
    }
    EXPECT_EQ(mountHolding(std::vector<MountRecord>{mount("/home", "ext4", 2)}, "/srv"), nullptr);
}

TEST(NormalAbsolutePath, CollapsesTheTextOfAnAbsolutePath)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/", "/"},           {"//", "/"},       {"/home/", "/home"},     {"/a/./b//c/../", "/a/b"},
        {"/..", "/"},         {"/a/b/..", "/a"}, {"relative/x", ""},      {"", ""},
        {"./x", ""},          {"C:\\", ""},      {"/with space/", "/with space"},
    };
    for (const auto& [text, normal] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(normalAbsolutePath(text), normal);
    }
}

// A mount table in the kernel's format, parsed by the same code as the live one.
class SampleTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ofstream(file) << "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
                               "28 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                               "40 28 8:17 / /media/my\\040disk rw,nosuid - vfat /dev/sdb1 rw\n"
                               "41 28 0:50 / /mnt/nas rw - nfs4 server:/export rw\n"
                               "42 28 0:51 / /mnt/ssh rw - fuse.sshfs user@host:/ rw\n"
                               "43 28 254:0 /srv /srv/bind rw - ext4 /dev/vda rw\n"
                               "44 28 0:52 / /tmp rw - tmpfs tmpfs rw\n"
                               "45 28 0:53 / /run rw - tmpfs tmpfs rw\n";
    }
    test::TempFolder folder;
    const std::string file = folder / "mountinfo";
};

TEST_F(SampleTable, LibmountGivesUnescapedRecords)
{
    const std::vector<MountRecord> expected = {
        {"/proc", "proc", "proc", makedev(0, 21)},
        {"/", "/dev/vda", "ext4", makedev(254, 0)},
        {"/media/my disk", "/dev/sdb1", "vfat", makedev(8, 17)},
        {"/mnt/nas", "server:/export", "nfs4", makedev(0, 50)},
        {"/mnt/ssh", "user@host:/", "fuse.sshfs", makedev(0, 51)},
        {"/srv/bind", "/dev/vda", "ext4", makedev(254, 0)},
        {"/tmp", "tmpfs", "tmpfs", makedev(0, 52)},
        {"/run", "tmpfs", "tmpfs", makedev(0, 53)},
    };
    EXPECT_EQ(readMountTable(file), expected);
}

TEST_F(SampleTable, VolumesAnswerFromTheTable)
{
    PosixVolumes volumes(file, "/nonexistent/fstab");
    EXPECT_EQ(volumes.logicalDrives(),
              (std::vector<std::string>{"/", "/media/my disk/", "/mnt/nas/", "/mnt/ssh/", "/tmp/"}));

    EXPECT_EQ(volumes.mountPointOf("/media/my disk/photos"), "/media/my disk/");
    EXPECT_EQ(volumes.mountPointOf("/srv/bind/x"), "/srv/bind/");
    EXPECT_EQ(volumes.mountPointOf("relative"), "");

    const std::pair<const char*, bool> remote[] = {
        {"/mnt/nas", true}, {"/mnt/nas/deep/folder", true}, {"/mnt/ssh/x", true},
        {"/mnt/nasx", false}, {"/media/my disk", false}, {"/", false}, {"nas", false},
    };
    for (const auto& [path, isRemote] : remote) {
        SCOPED_TRACE(path);
        EXPECT_EQ(volumes.isRemote(path), isRemote);
    }

    // The table names a disk this machine does not have: its path is gone, the drive not ready.
    const DriveSpace missing = test::measureNow(volumes, " /media/my disk/photos ");
    EXPECT_FALSE(missing.ready);
    EXPECT_EQ(missing.root, "/media/my disk/");
    EXPECT_EQ(missing.path, "/media/my disk");
}

TEST(MountTable, UnreadableTableIsAnError)
{
    EXPECT_THROW(readMountTable("/nonexistent/mountinfo"), Error);
    PosixVolumes volumes("/nonexistent/mountinfo");
    EXPECT_THROW(volumes.logicalDrives(), Error);
}

} // namespace
} // namespace volmara
