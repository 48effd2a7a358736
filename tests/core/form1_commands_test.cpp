#include "core/pause_control.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

class Form1CommandsTest : public ::testing::Test {
protected:
    AppHarness h;
    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 30000, 1000000);
        h.files.folders = {"/", "/data/", "/data/music"};
        h.load();
    }
    AppState& app() { return h.app(); }
    Form1Model& model() { return *h.model; }
    std::string lastMessage() { return h.dialogs.texts().empty() ? "" : h.dialogs.texts().back(); }
};

TEST_F(Form1CommandsTest, AddPathMeasuresTheFolderOnItsDriveWithoutGrouping)
{
    struct Case {
        std::string chosen;
        bool ready;
        std::string freeText;
        std::string message;
    };
    for (const auto& c : {Case{"/data/music", true, "30000 KB", ""},
                          Case{"/data/music", false, "N/A, drive not ready.", ""},
                          Case{"no/drive/part", true, "", "The selected item is not found or unavailable. Check configuration."}}) {
        SCOPED_TRACE(c.chosen + (c.ready ? " ready" : " not ready"));
        h.volumes.mount("/data/").ready = c.ready;
        cmdPause_Click(app()); // paused before: the command still switches the watch timer on
        const auto shown = h.dialogs.shown.size();
        h.dialogs.folders.push_back(c.chosen);
        model().addPath();
        h.loop.runPending();
        const auto& added = app().ListView1.rows().back();
        EXPECT_EQ(added.path, c.chosen);
        EXPECT_FALSE(added.watched);
        EXPECT_EQ(added.freeText, c.freeText);
        EXPECT_TRUE(app().Timer1.Enabled());
        if (c.message.empty()) {
            EXPECT_EQ(h.dialogs.shown.size(), shown);
        } else {
            EXPECT_EQ(lastMessage(), c.message);
            EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Critical);
        }
        cmdPause_Click(app());
    }
    EXPECT_EQ(h.dialogs.folderTitles.back(), "Select Folder/Path");
}

TEST_F(Form1CommandsTest, ClearAsksAndPausesOnYesOnly)
{
    h.dialogs.answers.push_back(MsgAnswer::No);
    model().clearList();
    h.loop.runPending();
    EXPECT_EQ(lastMessage(), "Clearing the listed drives with pause Volmara timer. Proceed?");
    EXPECT_EQ(app().ListView1.size(), 2u);

    h.dialogs.answers.push_back(MsgAnswer::Yes);
    model().clearList();
    h.loop.runPending();
    EXPECT_TRUE(app().ListView1.empty());
    EXPECT_EQ(app().form1.cmdPause, "Start Watch");
    EXPECT_FALSE(app().Timer1.Enabled());

    model().clearList();
    h.loop.runPending();
    EXPECT_EQ(lastMessage(), "No drives listed to clear.");
}

TEST_F(Form1CommandsTest, RemoveTakesEverySelectedRow)
{
    app().ListView1.append(watchEntry("/a/", false));
    app().ListView1.append(watchEntry("/b/", false));
    for (auto& e : app().ListView1.rows())
        e.selected = e.path != "/data/";
    model().removeSelected();
    ASSERT_EQ(app().ListView1.size(), 1u);
    EXPECT_EQ(app().ListView1.at(0).path, "/data/");
}

TEST_F(Form1CommandsTest, TriggerUnitTogglesOnlyTheHeaderSuffix)
{
    auto& f = app().form1;
    EXPECT_EQ(f.triggerHeader, "Trigger Space(KB)");
    model().setTriggerUnit(0);
    EXPECT_EQ(f.triggerHeader, "Trigger Space(KB)");
    model().setTriggerUnit(1);
    EXPECT_EQ(f.triggerHeader, "Trigger Space( %)");
    EXPECT_TRUE(f.sliderVisible);
    EXPECT_EQ(lastMessage(), "Cannot set over 100%");
    EXPECT_EQ(app().settings.txtSpace, "10");
    EXPECT_EQ(f.lblSpaceMB, "");
    model().setTriggerUnit(0);
    EXPECT_EQ(f.triggerHeader, "Trigger Space(KB)");
    EXPECT_FALSE(f.sliderVisible);
}

TEST_F(Form1CommandsTest, GlobalTriggerInputAndLabels)
{
    model().txtSpaceChanged("1500");
    EXPECT_EQ(app().form1.lblSpaceMB, "1.5 MB");
    EXPECT_EQ(app().form1.lblSpaceGB, "0.0 GB");
    model().txtSpaceStep(+1);
    EXPECT_EQ(app().settings.txtSpace, "1501");
    model().txtSpaceChanged("12a");
    EXPECT_EQ(lastMessage(), "Please input only numbers.");
    EXPECT_EQ(app().settings.txtSpace, "1");
    model().txtSpaceChanged("0");
    model().txtSpaceStep(-1);
    EXPECT_EQ(app().settings.txtSpace, "0") << "the buttons act only above 0";
}

TEST_F(Form1CommandsTest, PerEntryTriggersCopyTheGlobalNumberAndRefuseText)
{
    model().setPerEntryTriggers(true);
    EXPECT_EQ(app().ListView1.at(0).triggerText, "50000");
    EXPECT_FALSE(app().form1.txtSpaceEnabled);
    EXPECT_TRUE(model().triggerEditable(WatchList::TriggerSpace));
    EXPECT_FALSE(model().triggerEditable(WatchList::FreeSpace));
    EXPECT_FALSE(model().commitTrigger(1, "lots"));
    EXPECT_EQ(lastMessage(), "You must enter a numeric value");
    EXPECT_TRUE(model().commitTrigger(1, "777"));
    EXPECT_EQ(app().ListView1.at(1).triggerText, "777");
    model().setPerEntryTriggers(false);
    EXPECT_EQ(app().ListView1.at(1).triggerText, "");
    EXPECT_TRUE(app().form1.txtSpaceEnabled);
}

TEST_F(Form1CommandsTest, ResponseRulesExcludeAndNeedTwoReadyEntries)
{
    model().setResponseTicked(kActMove, true);
    model().setResponseTicked(kActRecycle, true);
    EXPECT_FALSE(app().lstAct[kActMove]);
    EXPECT_TRUE(app().lstAct[kActRecycle]);
    EXPECT_EQ(lastMessage(), "The 'Move Specified files' option will be de-selected");

    model().setResponseTicked(kActAutoMove, true);
    EXPECT_TRUE(app().lstAct[kActAutoMove]) << "two ready entries";
    app().ListView1.at(1).freeText = "N/A, drive not ready";
    model().setResponseTicked(kActAutoMove, true);
    EXPECT_FALSE(app().lstAct[kActAutoMove]);
    EXPECT_EQ(lastMessage(),
              "You must have two or more listed drive/path(s) that are functionally ready to select this option.");
}

TEST_F(Form1CommandsTest, LogCommandsAskFirst)
{
    app().log.prependAlert("one\r\n.\r\n");
    model().openLog();
    h.loop.runPending();
    EXPECT_EQ(lastMessage(), "There is no log file to open yet.");

    h.dialogs.answers.push_back(MsgAnswer::Yes);
    model().saveLog();
    h.loop.runPending();
    EXPECT_EQ(h.logDat(), "one\r\n.\r\n\r\n");
    EXPECT_EQ(app().log.savedLength(), 0) << "the marker belongs to the end-of-cycle save";

    std::string opened;
    model().openDocument = [&](const std::string& path) { opened = path; };
    model().openLog();
    h.loop.runPending();
    EXPECT_EQ(opened, "/opt/volmara/log.dat");

    h.dialogs.answers.push_back(MsgAnswer::No);
    model().deleteLog();
    h.loop.runPending();
    EXPECT_TRUE(h.files.fileExists("/opt/volmara/log.dat"));
    h.dialogs.answers.push_back(MsgAnswer::Yes);
    model().deleteLog();
    h.loop.runPending();
    EXPECT_EQ(h.dialogs.texts().back(), "Proceeding will delete the log file.  Are you sure?");
    EXPECT_FALSE(h.files.fileExists("/opt/volmara/log.dat"));
}

TEST_F(Form1CommandsTest, AlertLimitDownTrimsTheOldestRows)
{
    for (int i = 0; i < 60; ++i)
        app().log.prcAlertInfo(std::to_string(i), "Medium", "x", 0, nullptr);
    model().alertLimitDown();
    EXPECT_EQ(app().log.LVAlert().size(), 50u) << "the limit shown when the arrow was clicked";
    EXPECT_EQ(app().log.LVAlert().back().time, "10") << "the oldest rows go";
    EXPECT_EQ(app().form1.txtAmt, "49");
}

TEST_F(Form1CommandsTest, ChooseSoundTakesOnlyAFileThatExists)
{
    h.files.files["/snd/ding.wav"] = "RIFF";
    h.dialogs.files = {std::string("/snd/missing.wav"), std::string("/snd/ding.wav"), std::nullopt};
    model().chooseSound(1);
    h.loop.runPending();
    EXPECT_EQ(lastMessage(), "File Does not exists: /snd/missing.wav");
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Critical);
    EXPECT_EQ(app().settings.txtAudio[1], "");
    model().chooseSound(1);
    h.loop.runPending();
    EXPECT_EQ(app().settings.txtAudio[1], "/snd/ding.wav");
    model().chooseSound(1); // cancelled
    h.loop.runPending();
    EXPECT_EQ(app().settings.txtAudio[1], "/snd/ding.wav");
    EXPECT_EQ(h.dialogs.fileFilters.front(), (std::vector<std::string>{"wav (*.wav)", "*.* (*)"}));
}

} // namespace
} // namespace volmara::test
