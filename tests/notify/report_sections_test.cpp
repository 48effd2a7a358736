#include "core/error.h"
#include "notify/report_sections.h"

#include <gtest/gtest.h>

namespace volmara {
namespace {

const std::string S = "=============";

ListViewText listOf(std::string tag, std::size_t rows)
{
    ListViewText list{std::move(tag), {"A", "B"}, {}};
    for (std::size_t i = 0; i < rows; ++i)
        list.rows.push_back({"a" + std::to_string(i), "b"});
    return list;
}

TEST(ReportSectionsTest, ListSectionLayoutAndLimits)
{
    EXPECT_EQ(prcNotContent(listOf("Listed Drive/Path(s)", 0)), "Listed Drive/Path(s)\r\n" + S + "\r\nno info");
    EXPECT_EQ(prcNotContent(listOf("Alerts", 1)), "Alerts\r\n" + S + "\r\nA: a0 B: b \r\n" + S + "\r\n");

    struct Case {
        std::string tag;
        std::size_t rows;
        std::size_t reported;
    };
    for (const auto& c : {Case{"Alerts", 20, 15}, Case{"Alerts", 15, 15}, Case{"Listed Specified File(s)", 200, 150},
                          Case{"Listed Specified File(s)", 20, 20}}) {
        SCOPED_TRACE(c.tag + " " + std::to_string(c.rows));
        const auto text = prcNotContent(listOf(c.tag, c.rows));
        std::size_t rows = 0;
        for (auto at = text.find("A: a"); at != std::string::npos; at = text.find("A: a", at + 1))
            ++rows;
        EXPECT_EQ(rows, c.reported);
        EXPECT_NE(text.find("A: a" + std::to_string(c.reported - 1) + " "), std::string::npos) << "from the top";
    }

    auto broken = listOf("Alerts", 1);
    broken.rows[0].push_back("one too many");
    EXPECT_THROW(prcNotContent(broken), Error);
}

TEST(ReportSectionsTest, MemorySection)
{
    const MemoryFigures figures{{"MemTotal", 16'318'412}, {"MemAvailable", 9'000'000}, {"MemFree", 1},
                                {"Cached", 2}, {"CommitLimit", 3}, {"Committed_AS", 4}};
    EXPECT_EQ(memorySection(figures, Locale{}),
              "Ramdon Access Memory (RAM) Status\r\n" + S + "\r\n"
              "Total RAM: 16,318,412 KB\r\n"
              "Used RAM: 7,318,412 KB\r\n"
              "Avaliable RAM: 9,000,000 KB\r\n\r\n"
              "Random Access Memory Info:\r\n" + S +
              "\r\nCacheBytes: 2048\r\nCommitLimit: 3072\r\nCommittedBytes: 4096\r\n" + S + "\r\n" + S + "\r\n");

    // No available memory shows nothing between the label and " KB"; a system without the
    // counters gives their heading and closing lines.
    const auto empty = memorySection(MemoryFigures{{"MemTotal", 1000}, {"MemAvailable", 0}}, Locale{',', '.'});
    EXPECT_NE(empty.find("Total RAM: 1.000 KB\r\nUsed RAM: 1.000 KB\r\nAvaliable RAM:  KB\r\n"), std::string::npos) << empty;
    EXPECT_EQ(prcWMI_RamInfo(std::nullopt), "Random Access Memory Info:\r\n" + S + "\r\n" + S);
}

TEST(ReportSectionsTest, UsersAndRunningTime)
{
    EXPECT_EQ(prcWMI_LogOnUser({{"box", "ann"}, {"box", "bob"}, {"box", "ann"}}),
              "# of users logged on: 3\r\n" + S +
                  "\r\nDomain/Machine = box Account = ann\r\n"
                  "\r\nDomain/Machine = box Account = bob\r\n"
                  "\r\nDomain/Machine = box Account = ann\r\n\r\n");
    EXPECT_EQ(prcWMI_LogOnUser({}), "# of users logged on: 0\r\n" + S + "\r\n");

    const auto seconds = [](std::int64_t ms) {
        const auto text = prcTimeRunning(ms, Locale{});
        return text.substr(text.find("Seconds: ") + 9);
    };
    EXPECT_EQ(prcTimeRunning(3'725'250, Locale{}), "System running time: \r\n" + S + "\r\nSeconds: 3725.25");
    EXPECT_EQ(seconds(3'725'000), "3725");
    EXPECT_EQ(seconds(1), "0.001");
    // Thirty days: past where a 32-bit count of milliseconds turns negative.
    EXPECT_EQ(seconds(30LL * 86'400'000 + 500), "2592000.5");
}

JournalEntry entry(std::string message, std::uint64_t seq)
{
    JournalEntry e;
    e.facility = 3;
    e.hostName = "box";
    e.messageId = "fc2e22bc6ee647b6b90729ab34a250b1";
    e.transport = "syslog";
    e.message = std::move(message);
    e.sequenceNumber = seq;
    e.identifier = "cron";
    e.realtimeUsec = 1'700'000'000'123'456;
    e.priority = 4;
    e.user = "root";
    return e;
}

TEST(ReportSectionsTest, EventLogSection)
{
    const std::string heading = "Last 4 events:\r\n" + S + "\r\n";
    // No journal: the loop's body runs once and each of its lines fails.
    EXPECT_EQ(prcWMI_NTEvt(4, std::nullopt), heading + S + "\r\nEvent: 1\r\n");
    EXPECT_EQ(prcWMI_NTEvt(0, std::nullopt), "Last 0 events:\r\n" + S + "\r\n");
    EXPECT_EQ(prcWMI_NTEvt(4, std::vector<JournalEntry>{}), heading);

    const std::vector<JournalEntry> journal{entry("newest", 9), entry("older", 8), entry("oldest", 7)};
    const auto two = prcWMI_NTEvt(2, journal);
    EXPECT_EQ(two, "Last 2 events:\r\n" + S + "\r\n" + S +
                       "\r\nEvent: 1\r\n"
                       "Category: 3\r\n"
                       "CategoryString: daemon\r\n"
                       "ComputerName: box\r\n"
                       "EventCode: 4\r\n"
                       "EventIdentifier: fc2e22bc6ee647b6b90729ab34a250b1\r\n"
                       "Logfile: syslog\r\n"
                       "Message: newest\r\n"
                       "RecordNumber: 9\r\n"
                       "SourceName: cron\r\n"
                       "TimeGenerated: 20231114221320.123456+000\r\n"
                       "TimeWritten: 20231114221320.123456+000\r\n"
                       "Type: Warning\r\n"
                       "User: root\r\n" +
                       S + "\r\nEvent: 2\r\n" + "Category: 3\r\n"
                       "CategoryString: daemon\r\n"
                       "ComputerName: box\r\n"
                       "EventCode: 4\r\n"
                       "EventIdentifier: fc2e22bc6ee647b6b90729ab34a250b1\r\n"
                       "Logfile: syslog\r\n"
                       "Message: older\r\n"
                       "RecordNumber: 8\r\n"
                       "SourceName: cron\r\n"
                       "TimeGenerated: 20231114221320.123456+000\r\n"
                       "TimeWritten: 20231114221320.123456+000\r\n"
                       "Type: Warning\r\n"
                       "User: root\r\n");
    JournalEntry bare;
    const auto lines = prcWMI_NTEvt(1, std::vector<JournalEntry>{bare});
    EXPECT_NE(lines.find("Category: \r\nCategoryString: \r\n"), std::string::npos);
    EXPECT_NE(lines.find("Type: \r\nUser: \r\n"), std::string::npos);
    EXPECT_EQ(reportTime(0), "19700101000000.000000+000");
    EXPECT_EQ(reportTime(951'782'400'000'001), "20000229000000.000001+000");
}

TEST(ReportSectionsTest, RunningProcessesSection)
{
    std::vector<ProcessEntry> processes{{"/usr/bin/Foo Bar", 7}, {"/ÄPP/X", 8}};
    EXPECT_EQ(runningProcessesSection(processes), "Currently Running Processes: 2\r\n" + std::string(14, '=') +
                                                      "\r\n/usr/bin/foo bar 7 \r\n/Äpp/x 8 \r\n" + std::string(15, '='));
    processes.assign(250, ProcessEntry{"/bin/p", 3});
    const auto text = runningProcessesSection(processes);
    EXPECT_TRUE(text.starts_with("Currently Running Processes: 201\r\n"));
    EXPECT_EQ(runningProcessesSection({}), "Currently Running Processes: 0\r\n" + std::string(14, '=') + "\r\n" +
                                               std::string(15, '='));
}

TEST(ReportSectionsTest, CustomFileIsReadAsDelimitedFields)
{
    struct Case {
        std::string text;
        std::vector<std::string> fields;
    };
    const std::vector<Case> cases{
        {"a,b", {"a", "b"}},
        {"a,b\r\nc\r\n", {"a", "b", "c"}},
        {"  x, \"q, with comma\" ,y\n", {"x", "q, with comma", "y"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a,\r\nb", {"a", "", "b"}},
        {"\"open quote", {"open quote"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(delimitedFields(c.text), c.fields);
    }

    const CappedFile read{CappedFile::Status::Read, "a,b", false};
    EXPECT_EQ(prcNotOpenCustFile("/tmp/c.txt  ", read), "File Contents: /tmp/c.txt  \r\n" + S + "\r\na\r\nb\r\n\r\n" + S);
    EXPECT_EQ(prcNotOpenCustFile("/gone.txt", CappedFile{}),
              "File Contents: /gone.txt\r\n" + S + "\r\nFile Access Error\r\n" + S);
    const auto cut = prcNotOpenCustFile("/big.txt", CappedFile{CappedFile::Status::Read, "x", true});
    EXPECT_NE(cut.find("x\r\n(The file is larger than 1048576 bytes: the rest was left out.)\r\n"), std::string::npos);
    EXPECT_THROW(prcNotOpenCustFile("/locked.txt", CappedFile{CappedFile::Status::Unreadable, {}, false}), Error);
}

} // namespace
} // namespace volmara
