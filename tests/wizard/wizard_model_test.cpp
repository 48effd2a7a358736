#include "fakes/app_harness.h"
#include "wizard/wizard_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace volmara::test {
namespace {

class WizardModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        h.files.files["/opt/volmara/set.dat"] = ""; // not a first run: the wizard stays closed
        h.load();
        wizard().show();
    }
    WizardModel& wizard() { return h.app().frmWizard; }
    std::vector<std::string> messages() const { return h.dialogs.texts(); }

    AppHarness h;
};

TEST_F(WizardModelTest, FileKindsUnitAndSpeedSuggestTheMinimumSpace)
{
    struct Case {
        const char* name;
        std::string start;
        std::function<void(WizardModel&)> steps;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"Business", "50000", [](WizardModel& w) { w.chkop_Click(0, true); }, "350000"},
        {"Business then Media", "50000",
         [](WizardModel& w) {
             w.chkop_Click(0, true);
             w.chkop_Click(1, true);
         },
         "550000"},
        {"unticking subtracts nothing", "50000",
         [](WizardModel& w) {
             w.chkop_Click(0, true);
             w.chkop_Click(1, true);
             w.chkop_Click(0, false);
             w.chkop_Click(1, false);
         },
         "550000"},
        {"Internet on an empty box", "", [](WizardModel& w) { w.chkop_Click(2, true); }, "100000"},
        {"unticking on an empty box still sets the amount", "", [](WizardModel& w) { w.chkop_Click(1, false); },
         "200000"},
        {"Percentage over 100", "350000", [](WizardModel& w) { w.OpDriv_Click(1); }, "30"},
        {"Percentage at 80", "80", [](WizardModel& w) { w.OpDriv_Click(1); }, "80"},
        {"Amount changes nothing", "350000", [](WizardModel& w) { w.OpDriv_Click(0); }, "350000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        wizard().txtFreeSpaceEdited(c.start);
        c.steps(wizard());
        EXPECT_EQ(wizard().answers().txtFreeSpace, c.expected);
    }

    const std::vector<int> minutes{45, 15, 5};
    for (int option = 0; option < 3; ++option) {
        SCOPED_TRACE(option);
        wizard().setInterval(2, 0, 7);
        wizard().Option1_Click(option);
        const auto& t = wizard().answers().DTPicker1;
        EXPECT_EQ(t.hour, 2);
        EXPECT_EQ(t.minute, minutes[static_cast<std::size_t>(option)]);
        EXPECT_EQ(t.second, 7);
    }
}

TEST_F(WizardModelTest, ANonDigitEmptiesTheBoxWithItsMessage)
{
    wizard().txtFreeSpaceEdited("1200");
    EXPECT_EQ(wizard().answers().txtFreeSpace, "1200");
    EXPECT_TRUE(messages().empty());

    wizard().txtFreeSpaceEdited("12a");
    h.loop.runPending();
    EXPECT_EQ(wizard().answers().txtFreeSpace, "");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "Only numbers should be entered.");
    EXPECT_EQ(h.dialogs.shown[0].icon, MsgIcon::Information);
}

TEST_F(WizardModelTest, PagesCountAndStopAtBothEnds)
{
    auto& w = wizard();
    EXPECT_EQ(w.lblOp(), "Options: 1/7");
    EXPECT_FALSE(w.backEnabled());
    EXPECT_TRUE(w.nextEnabled());
    EXPECT_FALSE(w.applyEnabled());
    w.cmdReverse_Click();
    EXPECT_EQ(w.page(), 0);

    for (int i = 0; i < 10; ++i)
        w.cmdProgress_Click();
    EXPECT_EQ(w.page(), 6);
    EXPECT_EQ(w.lblOp(), "Options: 7/7");
    EXPECT_FALSE(w.nextEnabled());
    EXPECT_TRUE(w.backEnabled());

    w.cmdReverse_Click();
    EXPECT_EQ(w.lblOp(), "Options: 6/7");
    EXPECT_TRUE(w.nextEnabled());
    w.pagePressed();
    EXPECT_TRUE(w.applyEnabled());
}

TEST_F(WizardModelTest, ApplyCopiesOnlyWhatIsFilledInAndRunsTheMainWindowsReactions)
{
    auto& s = h.app().settings;
    s.DTPInterval = DateTime::timeOfDay(1, 2, 3);
    s.txtSpace = "777";
    s.txtFileType = "bak";
    auto& w = wizard();
    w.setInterval(0, 15, 0);
    w.txtFreeSpaceEdited("");
    w.setFileTypes("");
    w.setMovePath("/mnt/spare");
    w.setCustomTime(true);
    w.setCustomTimes(DateTime::timeOfDay(22, 0), DateTime::timeOfDay(6, 30));

    w.cmdApply_Click();
    EXPECT_EQ(s.DTPInterval.hour, 1);
    EXPECT_EQ(s.DTPInterval.minute, 15);
    EXPECT_EQ(s.DTPInterval.second, 3);
    EXPECT_EQ(s.txtSpace, "777");
    EXPECT_EQ(s.txtFileType, "bak");
    EXPECT_EQ(s.txtDrive, "/mnt/spare");
    EXPECT_EQ(s.chkCustTime, 1);
    EXPECT_TRUE(h.app().form1.customPickersEnabled);
    EXPECT_EQ(s.DTTime1[1], DateTime::timeOfDay(6, 30));
    EXPECT_EQ(h.app().form1.OpDriv, 0) << "no unit chosen: the main window's stays";

    // The unit goes through the main window's own handling: its slider and header follow.
    w.txtFreeSpaceEdited("20");
    w.OpDriv_Click(1);
    w.cmdApply_Click();
    EXPECT_EQ(s.txtSpace, "20");
    EXPECT_EQ(h.app().form1.OpDriv, 1);
    EXPECT_TRUE(h.app().form1.sliderVisible);
    EXPECT_TRUE(h.app().form1.triggerHeader.ends_with("( %)"));
}

TEST_F(WizardModelTest, ApplyingTwiceAppendsTheListsTwice)
{
    h.files.folders.insert("/data");
    auto& w = wizard();
    w.setListText(WizardList::Files, "/data;a.tmp;b.tmp");
    w.addToList(WizardList::Files);
    h.loop.runPending();
    w.setListText(WizardList::Files, "/data/a.tmp");
    w.addToList(WizardList::Files); // already listed
    w.setListText(WizardList::Programs, "/usr/bin/cleanup");
    w.addToList(WizardList::Programs);
    h.loop.runPending();
    ASSERT_EQ(w.answers().cboFile.items, (std::vector<std::string>{"/data/a.tmp", "/data/b.tmp"}));

    const auto filesBefore = h.app().cboFile.size();
    w.cmdApply_Click();
    w.cmdApply_Click();
    EXPECT_EQ(h.app().cboFile.size(), filesBefore + 4);
    EXPECT_EQ(h.app().cboFile.back(), "/data/b.tmp");
    EXPECT_EQ(h.app().cboProg, (std::vector<std::string>{"/usr/bin/cleanup", "/usr/bin/cleanup"}));
}

TEST_F(WizardModelTest, ListButtonsChooseAndRemove)
{
    auto& w = wizard();
    h.dialogs.multiFiles.push_back(std::string("/home/user\0x.iso\0y.iso", 22));
    w.browseForList(WizardList::Programs);
    h.loop.runPending();
    ASSERT_EQ(h.dialogs.filesRequests.size(), 1u);
    EXPECT_EQ(h.dialogs.filesRequests[0].title, "Choose File/Folder ");
    EXPECT_EQ(w.answers().cboProg.text, "/home/user;x.iso;y.iso");
    EXPECT_TRUE(w.answers().cboProg.items.empty()) << "nothing is added before Add";

    h.files.folders.insert("/home/user");
    w.addToList(WizardList::Programs);
    h.loop.runPending();
    ASSERT_EQ(w.answers().cboProg.items.size(), 2u);

    w.removeFromList(WizardList::Programs); // nothing selected
    EXPECT_EQ(w.answers().cboProg.items.size(), 2u);
    w.selectItem(WizardList::Programs, 0);
    w.removeFromList(WizardList::Programs);
    EXPECT_EQ(w.answers().cboProg.items, (std::vector<std::string>{"/home/user/y.iso"}));
}

TEST_F(WizardModelTest, ResponsesGoByMeaning)
{
    // Each of the last three ticks reaches its own setting and nothing else.
    struct Target {
        int wizardItem;
        std::optional<int> response;
        std::optional<int> event;
    };
    const std::vector<Target> targets{
        {kWizStagnancy, std::nullopt, kEvtStagnancy},
        {kWizEmptyRecycle, kActEmptyRecycle, std::nullopt},
        {kWizFolderChange, std::nullopt, kEvtAmount},
        {kActSound, kActSound, std::nullopt},
    };
    for (const auto& t : targets) {
        SCOPED_TRACE(t.wizardItem);
        h.app().lstAct = {};
        h.app().lstEvt = {};
        for (int i = 0; i < 9; ++i)
            wizard().setResponseTicked(i, i == t.wizardItem);
        wizard().cmdApply_Click();
        LstAct expectedAct{};
        LstEvt expectedEvt{};
        if (t.response)
            expectedAct[static_cast<std::size_t>(*t.response)] = true;
        if (t.event)
            expectedEvt[static_cast<std::size_t>(*t.event)] = true;
        EXPECT_EQ(h.app().lstAct, expectedAct);
        EXPECT_EQ(h.app().lstEvt, expectedEvt);
    }
}

TEST_F(WizardModelTest, OpenExplorerAndHelpGoThroughTheShellAndTheSeam)
{
    wizard().openExplorer();
    h.loop.runPending();
    EXPECT_EQ(h.shell.explored, (std::vector<std::string>{"/"}));

    int helped = 0;
    wizard().openHelp = [&] { ++helped; };
    wizard().cmdHelp_Click();
    EXPECT_EQ(helped, 1);

    wizard().cmdOK_Click();
    EXPECT_FALSE(wizard().visible());
}

TEST(WizardFirstRun, OpensOnceAfterStartUpOnlyWithoutSettingsFile)
{
    for (const bool settingsExist : {false, true}) {
        SCOPED_TRACE(settingsExist);
        AppHarness h;
        if (settingsExist)
            h.files.files["/opt/volmara/set.dat"] = "";
        auto& model = h.make();
        int opened = 0;
        model.app().frmWizard.openWindow = [&] { ++opened; };
        model.Form_Load();
        h.loop.runPending();
        ASSERT_TRUE(model.startedUp());
        EXPECT_EQ(opened, settingsExist ? 0 : 1);
    }
}

} // namespace
} // namespace volmara::test
