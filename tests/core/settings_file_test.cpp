#include "core/settings_file.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace volmara::test {
namespace {

std::string fixture(const std::string& name)
{
    std::ifstream in(std::string(VOLMARA_TEST_DATA) + "/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class SettingsFileTest : public ::testing::Test {
protected:
    AppHarness h;
    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 30000, 1000000);
        h.volumes.add("/home/", 500, 1000);
        h.files.folders = {"/", "/data/", "/home/"};
    }
    AppState& app() { return h.app(); }
};

TEST_F(SettingsFileTest, SaveWritesTheKnownStateByteForByte)
{
    h.load();
    auto& s = app().settings;
    s.chkUpdate = 1;
    s.chkOnTopMonitor = 1;
    s.chkAutoSave = 1;
    s.txtAudio[0] = "/snd/a.wav";
    s.DTPInterval = DateTime::timeOfDay(0, 0, 30);
    s.txtTime = "30";
    s.txtYourEmail = "a@b.c";
    s.txtUser = "user";
    s.txtPass = "pw";
    s.txtMailServer = "smtp.local";
    s.cboNotEmail = {"x@y.z", "p@q.r"};
    s.lstNotContent[1] = s.lstNotContent[3] = true;
    s.lstNotTime[0] = true;
    s.txtCustMsg = "hello";
    s.DTPicker1 = DateTime::timeOfDay(8, 15);
    s.DTPicker2 = DateTime::timeOfDay(1, 30);
    s.txtPort = "25";
    s.txtFileType = ".tmp|.log";
    s.chkCustTime = 1;
    s.DTTime1 = {DateTime::timeOfDay(8, 0), DateTime::timeOfDay(18, 30)};
    for (auto& e : app().ListView1.rows())
        e.watched = e.path != "/home/";
    app().cboFile = {"/data/big.iso"};
    app().lstAct[0] = app().lstAct[5] = true;
    app().lstEvt[4] = true;

    prcSettings(app(), 1);
    EXPECT_EQ(h.setDat(), fixture("set_known.dat"));
    EXPECT_TRUE(h.files.ownerOnly["/opt/volmara/set.dat"]) << "set.dat holds the mail password";
}

TEST_F(SettingsFileTest, CustomTimesAreWrittenOnlyWhenTheBoxIsTicked)
{
    h.load();
    app().settings.chkCustTime = 0;
    const auto text = settingsText(app());
    EXPECT_EQ(text.find("custtimebegin="), std::string::npos);
    EXPECT_NE(text.find("custtime=0\r\n\r\ncusttimeDTPI=00:00:00\r\nupdateauto=0\r\n\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, LoadAppliesEveryKeyAndTheOlderForms)
{
    h.files.files["/opt/volmara/set.dat"] = fixture("set_legacy.dat");
    h.load();
    const auto& s = app().settings;
    EXPECT_EQ(s.chkUpdate, 0);
    EXPECT_EQ(s.chkLog, 0);
    EXPECT_EQ(s.txtTime, "125");
    EXPECT_EQ(s.DTPInterval, DateTime::timeOfDay(0, 2, 5)) << "custtimeDTPI= is never acted upon";
    EXPECT_EQ(s.txtSpace, "34000") << "the last of two scalar lines wins";
    EXPECT_EQ(app().cboFile, (std::vector<std::string>{"/data/a, b.iso", "/data/c.iso"}))
        << "an empty cboFile= is skipped and a comma stays inside its line";
    EXPECT_TRUE(app().ListView1.at(0).watched);
    EXPECT_TRUE(app().ListView1.at(1).watched) << "a quoted item is read to its closing quote";
    EXPECT_FALSE(app().ListView1.at(2).watched);
    EXPECT_EQ(s.cboNotEmail, (std::vector<std::string>{"mixed@case.org"}));
    EXPECT_TRUE(s.lstNotContent[2]);
    EXPECT_TRUE(s.lstNotContent[7]);
    EXPECT_TRUE(s.lstNotTime[4]);
    EXPECT_TRUE(s.lstNotTime[1]);
    EXPECT_EQ(s.txtProxy, "proxy.local");
    EXPECT_EQ(s.chkProxy, 1);
    EXPECT_EQ(s.txtPort, "2525");
    EXPECT_EQ(s.txtCustMsg, "") << "a line holding an earlier key is taken for that key";
    EXPECT_EQ(s.txtFileType, ".tmp|.log") << "every occurrence of the key is removed from the value";
    EXPECT_EQ(s.txtAudio[0], "/snd/one.wav");
    EXPECT_EQ(app().lstAct, (LstAct{false, false, true, false, false, false, false, false, false, false, false}));
    EXPECT_EQ(h.dialogs.texts().front(), "The 'Move Specified files' option will be de-selected");
    EXPECT_TRUE(app().lstEvt[0]);
    EXPECT_EQ(s.DTTime1[0], DateTime::timeOfDay(7, 45));
    EXPECT_EQ(s.chkSystray, 0);
    EXPECT_EQ(s.chkAutoSave, 0) << "a value that is no number leaves the control as it was";

    // The bad line is reported once and everything after it still applied.
    ASSERT_EQ(app().log.LVAlert().size(), 1u);
    EXPECT_EQ(app().log.LVAlert()[0].action, "Settings lines skipped: chkAutoSave=not-a-number (Type mismatch)");
}

TEST_F(SettingsFileTest, RoundTripKeepsEverythingButReversesTheMailList)
{
    h.load();
    auto& s = app().settings;
    s.cboNotEmail = {"first@x", "second@x", "third@x"};
    s.txtTime = "30";
    s.DTPInterval = DateTime::timeOfDay(0, 0, 30);
    s.txtDrive = "/data/folder, with comma/";
    s.chkCustTime = 1;
    s.DTTime1 = {DateTime::timeOfDay(22, 0), DateTime::timeOfDay(6, 0)};
    app().ListView1.at(1).watched = true;
    app().cboFile = {"/data/x.iso", "/data/y, z.iso"};
    app().lstEvt = {true, false, true, false, true};
    const auto saved = settingsText(app());

    AppHarness other;
    other.volumes.mounts = h.volumes.mounts;
    other.files.folders = h.files.folders;
    other.files.files["/opt/volmara/set.dat"] = saved;
    other.load();
    auto& t = other.app().settings;
    EXPECT_EQ(t.cboNotEmail, (std::vector<std::string>{"third@x", "second@x", "first@x"}));
    t.cboNotEmail = s.cboNotEmail;
    EXPECT_EQ(settingsText(other.app()), saved);
}

TEST_F(SettingsFileTest, IntervalFixUpAfterEveryCall)
{
    struct Case {
        std::string text;
        std::string expected;
    };
    h.load();
    for (const auto& c : {Case{"0", "5"}, Case{"-3", "5"}, Case{"abc", "5"}, Case{"", "5"}, Case{"12", "12"}}) {
        SCOPED_TRACE(c.text);
        app().settings.txtTime = c.text;
        prcSettings(app(), 7);
        EXPECT_EQ(app().settings.txtTime, c.expected);
    }
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileWhole)
{
    h.load();
    prcSettings(app(), 1);
    const auto before = h.setDat();
    app().settings.txtSpace = "123";
    h.files.failWritesAfter = h.files.writes;
    EXPECT_THROW(prcSettings(app(), 1), Error);
    EXPECT_EQ(h.setDat(), before);
}

TEST_F(SettingsFileTest, FirstRunWatchesTheHomeDriveAndUnreadableFileIsReported)
{
    h.load();
    EXPECT_FALSE(app().ListView1.at(0).watched);
    EXPECT_TRUE(app().ListView1.at(2).watched) << "/home/user lies on /home/";
    EXPECT_TRUE(app().log.LVAlert().empty()) << "a missing file is a first run, not a fault";

    AppHarness broken;
    broken.volumes.mounts = h.volumes.mounts;
    broken.files.files["/opt/volmara/set.dat"] = "path=/\r\n";
    broken.files.unreadable.insert("/opt/volmara/set.dat");
    broken.load();
    ASSERT_EQ(broken.app().log.LVAlert().size(), 1u);
    EXPECT_EQ(broken.app().log.LVAlert()[0].action, "Settings file could not be read: /opt/volmara/set.dat");
    for (const auto& e : broken.app().ListView1.rows())
        EXPECT_FALSE(e.watched) << e.path;

    // The shut-down save keeps the unreadable file aside instead of overwriting it.
    broken.model->Form_Unload();
    EXPECT_EQ(broken.files.files["/opt/volmara/set.dat.unreadable"], "path=/\r\n");
    EXPECT_NE(broken.setDat().find("chkUpdate=0\r\n"), std::string::npos);
}

TEST(SettingItems, OneItemPerLineWithQuotesAndBlanks)
{
    EXPECT_EQ(readSettingItems("a=1\r\n\r\n  b=2, c\r\n\"q=x, y\" tail\nlast"),
              (std::vector<std::string>{"a=1", "", "b=2, c", "q=x, y", "last"}));
}

} // namespace
} // namespace volmara::test
