#include "alerts/alert_dialog.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

constexpr std::string_view kListed = "The files are now listed in the Spec. file(s)\r\n"
                                     "If you change your mind, you can go select the file and hit remove";

class AlertDialogTest : public ::testing::Test {
protected:
    AppHarness h;
    std::vector<std::string> seams;

    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.files.folders = {"/"};
        h.load();
        // The dialog alone: no check may write the log meanwhile.
        app().Timer1.setEnabled(false);
        app().settings.chkAutoSave = 1;
        auto& d = dlg();
        d.addSpecifiedFiles = [this](const std::string& files) { seams.push_back("add " + files); };
        d.startCompanion = [this] { seams.push_back("companion"); };
        d.emptyTrash = [this] { seams.push_back("trash"); };
        d.openArchiveManager = [this] { seams.push_back("archive"); };
    }
    AppState& app() { return h.app(); }
    AlertDialog& dlg() { return app().dlgAlert; }

    // A producer's alert: into the current-alerts text and the dialog, which is shown.
    void alert(const std::string& text)
    {
        const auto message = text + "\r\n . \r\n";
        app().log.prependAlert(message);
        dlg().prepend(message);
        dlg().show();
    }
    std::string clenDat() { return h.files.files["/opt/volmara/clen.dat"]; }
};

TEST_F(AlertDialogTest, FirstShowRightAfterLoadingHidesOnTheFirstTick)
{
    EXPECT_FALSE(dlg().loaded());
    alert("first");
    EXPECT_EQ(dlg().caption(), "Alert");
    EXPECT_EQ(dlg().g_intSec(), 0);
    h.loop.advance(8999);
    EXPECT_TRUE(dlg().visible());
    h.loop.advance(1);
    EXPECT_FALSE(dlg().visible()) << "nothing left to count: the first tick, 9 s after loading, hides it";
    EXPECT_EQ(dlg().caption(), "Alert Dialog");
    EXPECT_EQ(h.logDat(), app().log.txtAlert() + "\r\n");
}

TEST_F(AlertDialogTest, SecondShowCountsTenToOneThenHidesAndSavesTheLogOnce)
{
    alert("first");
    h.loop.advance(9000);
    ASSERT_FALSE(dlg().visible());
    const auto savedOnce = h.logDat();

    std::vector<std::string> captions;
    dlg().subscribe([&] {
        if (captions.empty() || captions.back() != dlg().caption())
            captions.push_back(dlg().caption());
    });
    alert("second");
    h.loop.advance(60000);

    std::vector<std::string> expected;
    for (int second = 10; second >= 1; --second)
        expected.push_back("Auto Dismiss Alert Window in (sec.): " + std::to_string(second));
    expected.push_back("Alert Dialog");
    EXPECT_EQ(std::vector<std::string>(captions.begin() + 1, captions.end()), expected)
        << "after the caption the dialog was shown with";
    EXPECT_FALSE(dlg().visible());
    EXPECT_EQ(h.logDat(), savedOnce + app().log.txtAlert() + "\r\n") << "the whole text, once per dismissal";
    EXPECT_EQ(dlg().Timer1().Interval(), 1000);
    EXPECT_TRUE(dlg().Timer1().Enabled());
}

TEST_F(AlertDialogTest, AutoHideSwitchedOffMidCountStopsAtOnceAndOnResumes)
{
    alert("first");
    h.loop.advance(9000);
    alert("second");
    h.loop.advance(9000 + 3000); // 10, 9, 8, 7
    ASSERT_EQ(dlg().caption(), "Auto Dismiss Alert Window in (sec.): 7");
    const auto logBefore = h.logDat();

    dlg().chkAutoHide_Click(false);
    EXPECT_EQ(dlg().caption(), "Alert Dialog");
    EXPECT_FALSE(dlg().Timer1().Enabled());
    h.loop.advance(120000);
    EXPECT_TRUE(dlg().visible());
    EXPECT_EQ(h.logDat(), logBefore);

    dlg().chkAutoHide_Click(true);
    h.loop.advance(6000);
    EXPECT_EQ(dlg().caption(), "Auto Dismiss Alert Window in (sec.): 1") << "the count goes on where it stopped";
    h.loop.advance(1000);
    EXPECT_FALSE(dlg().visible());
    EXPECT_NE(h.logDat(), logBefore);
}

TEST_F(AlertDialogTest, LogIsSavedOnlyWithAutoSaveAndAFailedSaveIsRecorded)
{
    app().settings.chkAutoSave = 0;
    alert("quiet");
    h.loop.advance(9000);
    EXPECT_FALSE(h.files.fileExists("/opt/volmara/log.dat"));

    app().settings.chkAutoSave = 1;
    h.files.failWritesAfter = 0;
    alert("full disk");
    h.loop.advance(9000 + 11000);
    EXPECT_FALSE(dlg().visible());
    EXPECT_EQ(app().log.LVAlert().front().action.rfind("Error: Disk full", 0), 0u);
    h.files.failWritesAfter = -1;
    alert("again");
    h.loop.advance(11000);
    EXPECT_FALSE(dlg().visible()) << "a failed save does not stop the countdown";
}

TEST_F(AlertDialogTest, CommandsClearResetHeightAndColours)
{
    alert("one");
    auto& d = dlg();
    d.lblAl_Click(static_cast<int>(AlertCommand::Explorer));
    EXPECT_EQ(d.Label1(), " . ");
    d.lblAl_Click(static_cast<int>(AlertCommand::Clear));
    EXPECT_EQ(d.Label1(), "");
    EXPECT_FALSE(app().log.txtAlert().empty()) << "the main window's text is not the dialog's";

    EXPECT_EQ(d.heightTwips(), kAlertCompactHeight);
    d.lblAl_Click(static_cast<int>(AlertCommand::Action));
    EXPECT_EQ(d.heightTwips(), kAlertFullHeight);
    d.showCompact();
    EXPECT_EQ(d.heightTwips(), kAlertCompactHeight);

    EXPECT_FALSE(d.lblAl()[3].has_value());
    d.lblAl_MouseDown(3);
    EXPECT_EQ(d.lblAl()[3]->text, (Rgb{224, 224, 224}));
    EXPECT_EQ(d.lblAl()[3]->background, (Rgb{128, 255, 128}));
    d.lblAl_MouseUp(3);
    EXPECT_EQ(d.lblAl()[3]->text, (Rgb{255, 128, 0}));
    EXPECT_EQ(d.lblAl()[3]->background, (Rgb{0, 0, 0}));

    d.chkLog_Click(false);
    EXPECT_FALSE(d.Label1Visible());
    d.lblAl_Click(static_cast<int>(AlertCommand::Ok));
    EXPECT_FALSE(d.visible());
}

TEST_F(AlertDialogTest, ActionRowMarksTheChoiceAndSuggests)
{
    auto& d = dlg();
    d.lblAct_Click(static_cast<int>(AlertOption::DeleteFiles));
    EXPECT_EQ(d.lblSuggest(), "You can select files to be deleted to free up space.");
    EXPECT_EQ(d.chosenAction(), "delete");
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const auto& look = d.lblAct()[i];
        EXPECT_EQ(look.background, i == 1 ? (Rgb{224, 224, 224}) : (Rgb{0, 0, 64}));
        EXPECT_EQ(look.border, i == 1);
    }
    d.lblAct_Click(static_cast<int>(AlertOption::Compress));
    EXPECT_EQ(d.lblSuggest(), "You can open the default compression program to try to save space.");
    EXPECT_EQ(d.chosenAction(), "compress");
    EXPECT_FALSE(d.lblAct()[1].border);
}

TEST_F(AlertDialogTest, WizardRunsTheChosenAction)
{
    struct Case {
        const char* name;
        std::optional<AlertOption> option;
        std::optional<std::string> chosen;
        std::vector<std::string> seams;
        std::vector<std::string> messages;
        bool unticks;
    };
    using namespace std::string_literals;
    // In this order: the first case finds the dialog with nothing chosen yet.
    const std::vector<Case> cases{
        {"nothing chosen", std::nullopt, std::nullopt, {}, {}, false},
        {"move, two files", AlertOption::MoveFiles, "/home/user\0a.txt\0b.txt"s, {"add /home/user;a.txt;b.txt"},
         {std::string(kListed)}, true},
        {"delete, one file", AlertOption::DeleteFiles, "/home/user/a.txt"s, {"add /home/user/a.txt"},
         {std::string(kListed)}, true},
        {"move, cancelled", AlertOption::MoveFiles, std::nullopt, {}, {"No file(s) were selected."}, true},
        {"recycle", AlertOption::EmptyRecycle, std::nullopt, {"trash"}, {}, false},
        {"compress", AlertOption::Compress, std::nullopt, {"archive"}, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        seams.clear();
        app().lstAct.fill(true);
        if (c.option)
            dlg().lblAct_Click(static_cast<int>(*c.option));
        h.dialogs.multiFiles = {c.chosen};
        h.dialogs.shown.clear();
        h.dialogs.filesRequests.clear();

        dlg().lblAl_Click(static_cast<int>(AlertCommand::Wizard));
        h.loop.runPending();

        EXPECT_EQ(seams, c.seams);
        EXPECT_EQ(h.dialogs.texts(), c.messages);
        const bool chooser = !c.messages.empty();
        ASSERT_EQ(h.dialogs.filesRequests.size(), chooser ? 1u : 0u);
        if (chooser) {
            EXPECT_EQ(h.dialogs.filesRequests[0].title, "Choose File/Folder ");
        }
        for (std::size_t item = 0; item < app().lstAct.size(); ++item)
            EXPECT_EQ(app().lstAct[item], !(c.unticks && item >= 1 && item <= 4)) << "item " << item;
    }
}

TEST_F(AlertDialogTest, OlvestaWritesTheAlertingPathToClenDatThenStartsTheCompanion)
{
    h.files.files["/opt/volmara/clen.dat"] = "/old/one\r\n/old/two\r\n";
    dlg().lblAct_Click(static_cast<int>(AlertOption::Olvesta));
    EXPECT_EQ(clenDat(), "/\r\n") << "no entry in alert: the default root";
    EXPECT_EQ(seams, std::vector<std::string>{"companion"});
    EXPECT_EQ(dlg().chosenAction(), "") << "Olvesta runs at once and is not a choice";
    EXPECT_TRUE(dlg().lblAct()[4].border);

    auto& list = app().ListView1;
    list.clear();
    for (const auto* path : {"/srv/ok", "/srv/first", "/srv/second"})
        list.append(watchEntry(path, true));
    list.rows()[0].icon = StatusIcon::Ok;
    list.rows()[1].icon = StatusIcon::Alert;
    list.rows()[2].icon = StatusIcon::Alert;
    dlg().lblAct_Click(static_cast<int>(AlertOption::Olvesta));
    EXPECT_EQ(clenDat(), "/srv/first\r\n");

    seams.clear();
    h.files.failWritesAfter = 0;
    dlg().lblAct_Click(static_cast<int>(AlertOption::Olvesta));
    h.loop.runPending();
    EXPECT_TRUE(seams.empty()) << "the companion must not read a stale clen.dat";
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Critical);
}

} // namespace
} // namespace volmara::test
