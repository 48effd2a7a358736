#include "notify/report_sections.h"
#include "platform/posix/system_info_posix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>
#include <utmpx.h>

namespace volmara {
namespace {

namespace fs = std::filesystem;

// A temporary folder, removed with everything in it.
struct TempFolder {
    fs::path path;
    TempFolder()
    {
        char name[] = "/tmp/volmara-sys-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return path / name;
    }
};

std::optional<std::string> journalRemote()
{
    for (const char* tool : {"/lib/systemd/systemd-journal-remote", "/usr/lib/systemd/systemd-journal-remote"}) {
        if (::access(tool, X_OK) == 0)
            return std::string(tool);
    }
    return std::nullopt;
}

// Three entries in the journal's export format, oldest first.
std::string exportText()
{
    std::string text;
    for (int i = 0; i < 3; ++i) {
        text += "__REALTIME_TIMESTAMP=" + std::to_string(1'700'000'000'000'000LL + i * 1'000'000LL) + "\n";
        text += "__MONOTONIC_TIMESTAMP=" + std::to_string(1000 + i) + "\n";
        text += "_BOOT_ID=0123456789abcdef0123456789abcdef\n";
        text += "MESSAGE=message " + std::to_string(i) + "\n";
        text += "PRIORITY=" + std::to_string(2 + i) + "\n";
        text += "SYSLOG_IDENTIFIER=tester\n_HOSTNAME=box\n_UID=0\nSYSLOG_FACILITY=3\n_TRANSPORT=syslog\n";
        if (i == 2)
            text += "MESSAGE_ID=fc2e22bc6ee647b6b90729ab34a250b1\n";
        text += "\n";
    }
    return text;
}

TEST(SystemInfoTest, JournalIsReadNewestFirstWithItsFieldsMapped)
{
    const auto tool = journalRemote();
    if (!tool)
        GTEST_SKIP() << "systemd-journal-remote is not installed";
    TempFolder folder;
    const auto input = folder.write("entries.export", exportText());
    const auto command = *tool + " -o " + (folder.path / "test.journal").string() + " - < " + input.string() + " 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    PosixSystemInfo system(SystemSources{"/proc", "/var/run/utmp", folder.path.string()});
    const auto newest = system.journal(2);
    ASSERT_TRUE(newest.has_value());
    ASSERT_EQ(newest->size(), 2u);
    const auto& first = (*newest)[0];
    EXPECT_EQ(first.message, "message 2");
    EXPECT_EQ((*newest)[1].message, "message 1");
    EXPECT_EQ(first.facility, 3);
    EXPECT_EQ(first.hostName, "box");
    EXPECT_EQ(first.messageId, "fc2e22bc6ee647b6b90729ab34a250b1");
    EXPECT_EQ(first.transport, "syslog");
    EXPECT_EQ(first.identifier, "tester");
    EXPECT_EQ(first.realtimeUsec, 1'700'000'002'000'000LL);
    EXPECT_EQ(first.priority, 4);
    EXPECT_EQ(first.user, "root");
    EXPECT_EQ(first.sequenceNumber, 3u);
    EXPECT_EQ((*newest)[1].sequenceNumber, 2u);
    EXPECT_EQ(system.journal(10)->size(), 3u);

    const auto section = prcWMI_NTEvt(2, newest);
    EXPECT_NE(section.find("Event: 1\r\nCategory: 3\r\nCategoryString: daemon\r\nComputerName: box\r\n"), std::string::npos);
    EXPECT_NE(section.find("Message: message 2\r\nRecordNumber: 3\r\nSourceName: tester\r\n"
                           "TimeGenerated: 20231114221322.000000+000\r\n"),
              std::string::npos)
        << section;
    EXPECT_EQ(section.find("Event: 3"), std::string::npos);
}

TEST(SystemInfoTest, NoJournalAndNoUtmpGiveTheUnavailableForms)
{
    TempFolder empty;
    PosixSystemInfo system(SystemSources{"/proc", (empty.path / "utmp").string(), empty.path.string()});
    EXPECT_FALSE(system.journal(4).has_value());
    EXPECT_EQ(prcWMI_NTEvt(4, system.journal(4)), "Last 4 events:\r\n=============\r\n=============\r\nEvent: 1\r\n");
    EXPECT_TRUE(system.loggedOnUsers().empty());
    EXPECT_EQ(prcWMI_LogOnUser(system.loggedOnUsers()), "# of users logged on: 0\r\n=============\r\n");
}

TEST(SystemInfoTest, UsersAreTheUserProcessRecordsOfUtmp)
{
    TempFolder folder;
    std::string records;
    const auto add = [&](short type, const char* user) {
        utmpx record{};
        record.ut_type = type;
        std::strncpy(record.ut_user, user, sizeof(record.ut_user));
        records.append(reinterpret_cast<const char*>(&record), sizeof(record));
    };
    add(BOOT_TIME, "reboot");
    add(USER_PROCESS, "ann");
    add(LOGIN_PROCESS, "LOGIN");
    add(USER_PROCESS, "bob");
    add(DEAD_PROCESS, "gone");
    add(USER_PROCESS, "ann");
    const auto utmp = folder.write("utmp", records);
    PosixSystemInfo system(SystemSources{"/proc", utmp.string(), folder.path.string()});
    const auto users = system.loggedOnUsers();
    ASSERT_EQ(users.size(), 3u);
    EXPECT_EQ(users[0].account, "ann");
    EXPECT_EQ(users[1].account, "bob");
    EXPECT_EQ(users[0].machine, system.hostName());
    EXPECT_TRUE(prcWMI_LogOnUser(users).starts_with("# of users logged on: 3\r\n"));
}

TEST(SystemInfoTest, MemoryProcessesAndRunningTimeOfThisMachine)
{
    PosixSystemInfo system;
    const auto memory = system.memoryFigures();
    ASSERT_TRUE(memory.has_value());
    EXPECT_GT(memory->at("MemTotal"), 0u);
    EXPECT_GT(system.millisecondsSinceBoot(), 0);

    const auto self = fs::read_symlink("/proc/self/exe").string();
    const auto processes = system.processes(100000);
    const auto mine = std::find_if(processes.begin(), processes.end(), [&](const ProcessEntry& p) { return p.path == self; });
    ASSERT_NE(mine, processes.end()) << self;
    EXPECT_NE(mine->handle, ::getpid()) << "the handle opened for the process, never its id";
    EXPECT_GE(mine->handle, 0);
    EXPECT_LE(system.processes(1).size(), 1u);

    // A system's figures by their names, as the file gives them.
    TempFolder proc;
    proc.write("meminfo", "MemTotal:       16318412 kB\nMemFree:          100 kB\nHugePages_Total:       0\nbroken line\n");
    PosixSystemInfo fake(SystemSources{proc.path.string(), "/var/run/utmp", ""});
    EXPECT_EQ(fake.memoryFigures(), (MemoryFigures{{"HugePages_Total", 0}, {"MemFree", 100}, {"MemTotal", 16318412}}));
    EXPECT_EQ(fake.processes(10).size(), 0u);
    EXPECT_NE(memorySection(fake.memoryFigures(), Locale{}).find("Avaliable RAM: 100 KB"), std::string::npos);
}

TEST(SystemInfoTest, CustomFileReadsAreCapped)
{
    TempFolder folder;
    const auto file = folder.write("notes.txt", "a,b\r\nc");
    PosixSystemInfo system;
    const auto whole = system.readFile(file.string(), 100);
    EXPECT_EQ(whole.status, CappedFile::Status::Read);
    EXPECT_EQ(whole.bytes, "a,b\r\nc");
    EXPECT_FALSE(whole.truncated);
    const auto cut = system.readFile(file.string(), 3);
    EXPECT_EQ(cut.bytes, "a,b");
    EXPECT_TRUE(cut.truncated);
    EXPECT_EQ(system.readFile((folder.path / "missing.txt").string(), 100).status, CappedFile::Status::Missing);
    EXPECT_EQ(system.readFile(folder.path.string(), 100).status, CappedFile::Status::Missing) << "a folder is no file";
}

TEST(SystemInfoTest, NetworkStatisticsRunTheTool)
{
    PosixSystemInfo system;
    const auto output = system.networkStatistics();
    ASSERT_TRUE(output.has_value()) << "neither netstat nor ss is installed";
    EXPECT_FALSE(output->empty());
    const auto offset = system.utcOffsetMinutes();
    EXPECT_GE(offset, -14 * 60);
    EXPECT_LE(offset, 14 * 60);
}

} // namespace
} // namespace volmara
