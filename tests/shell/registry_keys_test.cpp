#include "shell/registry_keys.h"
#include "shell/shell_commands.h"
#include "shell_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

TEST(RegistryKeys, RootNamesAreExact)
{
    EXPECT_EQ(RegRootFromName("HKEY_CLASSES_ROOT"), 0x80000000u);
    EXPECT_EQ(RegRootFromName("HKEY_CURRENT_USER"), 0x80000001u);
    EXPECT_EQ(RegRootFromName("HKEY_LOCAL_MACHINE"), 0x80000002u);
    EXPECT_EQ(RegRootFromName("HKEY_USERS"), 0x80000003u);
    EXPECT_EQ(RegRootFromName("HKEY_PERFORMANCE_DATA"), 0x80000004u);
    EXPECT_EQ(RegRootFromName("HKEY_CURRENT_CONFIG"), 0x80000005u);
    EXPECT_EQ(RegRootFromName("HKEY_DYN_DATA"), 0x80000006u);
    EXPECT_EQ(RegRootFromName("hkey_users"), 0u);
    EXPECT_EQ(RegRootFromName("HKEY_USERS "), 0u);
    EXPECT_EQ(RegRootFromName(""), 0u);
}

TEST(RegistryKeys, SplitKeyTable)
{
    struct Case {
        std::string path;
        RegRoot root;
        std::string subKey;
        bool formatError;
    };
    for (const auto& c : {
             Case{"HKEY_CURRENT_USER", HKEY_CURRENT_USER, "", false},
             Case{std::string(kRunKeyPath), HKEY_LOCAL_MACHINE, std::string(kRunSubKey), false},
             Case{"HKEY_USERS\\a\\b", HKEY_USERS, "a\\b", false},
             Case{"HKEY_NOWHERE\\a", 0, "a", false},
             Case{"HKEY_LOCAL_MACHINE\\SOFTWARE\\", 0, "HKEY_LOCAL_MACHINE\\SOFTWARE\\", true},
             Case{"hkey_local_machine\\SOFTWARE", 0, "hkey_local_machine\\SOFTWARE", true},
             Case{"SOFTWARE\\Microsoft", 0, "SOFTWARE\\Microsoft", true},
             Case{"HKEY", 0, "HKEY", true},
             Case{"", 0, "", true},
         }) {
        SCOPED_TRACE(c.path);
        const auto split = RegSplitKey(c.path);
        EXPECT_EQ(split.root, c.root);
        EXPECT_EQ(split.subKey, c.subKey);
        EXPECT_EQ(split.formatError, c.formatError);
        EXPECT_EQ(split.message, c.formatError ? "Incorrect Format:\n\n" + c.path : "");
    }
}

class RegistryWriteTest : public ::testing::Test {
protected:
    ShellHarness s;
    FakeRegistry& registry() { return s.h.registry; }
    RegStatus write(std::string path, std::string data)
    {
        std::optional<RegStatus> result;
        s.app().tasks.spawn([](AppState& app, std::string p, std::string d, std::optional<RegStatus>& out) -> Task<void> {
            auto writing = RegWriteString(app, std::move(p), "Volmara", std::move(d));
            out = co_await writing;
        }(s.app(), std::move(path), std::move(data), result));
        s.h.loop.runPending();
        return result.value_or(RegStatus{false, "never answered"});
    }
};

TEST_F(RegistryWriteTest, WritesOnlyUnderAnExistingKeyOfAWellFormedPath)
{
    EXPECT_FALSE(write(std::string(kRunKeyPath), "/opt/volmara/volmara").ok);
    EXPECT_TRUE(registry().values.empty());

    registry().addKey(HKEY_LOCAL_MACHINE, std::string(kRunSubKey));
    EXPECT_TRUE(write(std::string(kRunKeyPath), "/opt/volmara/volmara").ok);
    EXPECT_EQ(registry().queryString(HKEY_LOCAL_MACHINE, std::string(kRunSubKey), "Volmara"), "/opt/volmara/volmara");

    const auto writes = registry().writes.size();
    EXPECT_FALSE(write("HKEY_LOCAL_MACHINE\\SOFTWARE\\", "x").ok);
    EXPECT_EQ(s.lastMessage(), "Incorrect Format:\n\nHKEY_LOCAL_MACHINE\\SOFTWARE\\");
    EXPECT_FALSE(write("HKEY_NOWHERE\\SOFTWARE", "x").ok);
    EXPECT_EQ(registry().writes.size(), writes);
}

TEST_F(RegistryWriteTest, StartUpBoxWritesTheProgramAndUntickingEmptiesIt)
{
    registry().addKey(HKEY_LOCAL_MACHINE, std::string(kRunSubKey));
    s.app().startUpEntry.programPath = "/opt/my programs/volmara";
    const auto value = [&] { return registry().queryString(HKEY_LOCAL_MACHINE, std::string(kRunSubKey), "Volmara"); };

    chkStartUp_Click(s.app(), 1);
    s.h.loop.runPending();
    EXPECT_EQ(value(), "/opt/my programs/volmara");
    EXPECT_EQ(s.app().settings.chkStartUp, 1);

    chkStartUp_Click(s.app(), 0);
    s.h.loop.runPending();
    EXPECT_EQ(value(), "");

    // Clicks while a write is in flight: the last one wins, and no write runs beside another.
    s.h.io.hold = true;
    chkStartUp_Click(s.app(), 1);
    chkStartUp_Click(s.app(), 0);
    chkStartUp_Click(s.app(), 1);
    EXPECT_EQ(s.h.io.heldCalls(), 1u);
    while (s.h.io.heldCalls() > 0) {
        s.h.io.release();
        s.h.loop.runPending();
    }
    EXPECT_EQ(value(), "/opt/my programs/volmara");
    EXPECT_TRUE(s.h.dialogs.shown.empty());
}

TEST_F(RegistryWriteTest, AFailedWriteUnticksTheBoxAndSaysWhy)
{
    registry().addKey(HKEY_LOCAL_MACHINE, std::string(kRunSubKey));
    registry().failWrites = "Permission denied";
    chkStartUp_Click(s.app(), 1);
    s.h.loop.runPending();
    EXPECT_EQ(s.app().settings.chkStartUp, 0);
    EXPECT_EQ(s.lastMessage(), std::string(kStartUpNotWritten) + "Permission denied");

    s.app().settings.chkStartUp = 0;
    chkStartUp_Click(s.app(), 0);
    s.h.loop.runPending();
    EXPECT_EQ(s.lastMessage(), std::string(kStartUpNotRemoved) + "Permission denied");
}

TEST(StartUpLoad, ATickedBoxInTheSettingsWritesTheEntryAtStartUp)
{
    for (const bool ticked : {false, true}) {
        SCOPED_TRACE(ticked);
        AppHarness h;
        h.volumes.add("/", 900000, 2000000);
        h.files.folders = {"/"};
        h.files.files["/opt/volmara/set.dat"] = std::string("chkStartUp=") + (ticked ? "1" : "0") + "\r\n";
        h.registry.addKey(HKEY_LOCAL_MACHINE, std::string(kRunSubKey));
        h.make();
        h.app().startUpEntry.programPath = "/opt/volmara/volmara";
        h.model->Form_Load();
        h.loop.runPending();
        EXPECT_EQ(h.registry.writes.size(), ticked ? 1u : 0u);
        EXPECT_EQ(h.registry.queryString(HKEY_LOCAL_MACHINE, std::string(kRunSubKey), "Volmara"),
                  ticked ? std::optional<std::string>("/opt/volmara/volmara") : std::nullopt);
    }
}

} // namespace
} // namespace volmara::test
