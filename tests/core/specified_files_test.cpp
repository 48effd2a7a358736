#include "alerts/file_actions.h"
#include "alerts/specified_files.h"
#include "core/pause_control.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

TEST(AddScan, ListTextsUnderBothRuleSets)
{
    const WindowsPathRules windows;
    FakeVolumes volumes;
    volumes.add("/", 1, 1);
    const PosixPathRules posix(volumes);
    const std::set<std::string> folders{"/dir", "/my.folder"};
    const auto isFolder = [&](const std::string& s) { return folders.count(s) > 0; };
    struct Case {
        const PathRules* rules;
        std::string text;
        std::vector<std::string> paths;
    };
    for (const auto& c : {
             Case{&windows, "C:\\dir;a.txt;b.txt;", {"C:\\dir\\a.txt", "C:\\dir\\b.txt"}},
             // a folder whose name holds a dot is a full path, not the current folder
             Case{&windows, "C:\\dir.old;a.txt;", {"C:\\dir.old", "\\a.txt"}},
             Case{&windows, "C:\\a;D:\\b;x.txt;C:\\full\\y.doc;", {"D:\\b\\x.txt", "C:\\full\\y.doc"}},
             Case{&windows, " C:\\dir ; a.txt ;", {"C:\\dir\\a.txt"}},
             // a blank segment (a second ";") names nothing, not the folder itself
             Case{&windows, "C:\\dir;a.txt;;", {"C:\\dir\\a.txt"}},
             Case{&posix, "/dir;a.txt;b.txt;", {"/dir/a.txt", "/dir/b.txt"}},
             Case{&posix, "/my.folder;a.txt;", {"/my.folder/a.txt"}},
             Case{&posix, "/dir;/other/full.txt;c;", {"/other/full.txt", "/dir/c"}},
             Case{&posix, "/gone;a;", {"/gone", "/a"}},
             Case{&posix, "/dir;a b.txt; c.txt;", {"/dir/a b.txt", "/dir/c.txt"}},
         }) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(scanAddList(*c.rules, c.text, isFolder), c.paths);
    }
}

TEST(FilePaths, TargetsAndEntriesUnderBothRuleSets)
{
    const WindowsPathRules windows;
    EXPECT_EQ(moveTarget(windows, "D:\\Archive", "C:\\dir\\name.ext"), "D:\\Archive\\name.ext");
    EXPECT_EQ(moveTarget(windows, "D:\\Archive/", "C:\\dir\\name.ext"), "D:\\Archive/name.ext");
    EXPECT_EQ(parentFolderOf(windows, "C:\\a.txt"), "C:\\");
    EXPECT_TRUE(belongsToEntry(windows, "c:\\dir\\a.txt", "C:\\"));
    EXPECT_FALSE(belongsToEntry(windows, "D:\\a.txt", "C:\\"));

    FakeVolumes volumes;
    volumes.add("/", 1, 1);
    volumes.add("/data/", 1, 1);
    const PosixPathRules posix(volumes);
    EXPECT_EQ(moveTarget(posix, "/data/archive", "/home/u/name.ext"), "/data/archive/name.ext");
    EXPECT_EQ(moveTarget(posix, "/data/", "/home/u/a\\b"), "/data/a\\b") << "a backslash is part of a Linux name";
    EXPECT_EQ(parentFolderOf(posix, "/a.txt"), "/");
    EXPECT_TRUE(belongsToEntry(posix, "/data/x/a.txt", "/data/")) << "the entry is the mount point holding the file";
    EXPECT_TRUE(belongsToEntry(posix, "/data/x/a.txt", "/data"));
    EXPECT_FALSE(belongsToEntry(posix, "/data/x/a.txt", "/")) << "another file system's mount point";
    EXPECT_TRUE(belongsToEntry(posix, "/data/x/a.txt", "/data/x")) << "a folder entry holds what lies under it";
    EXPECT_FALSE(belongsToEntry(posix, "/data/xy/a.txt", "/data/x"));
}

class SpecifiedFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 30000, 1000000);
        h.files.folders = {"/", "/data/", "/data/dir", "/data/archive"};
        h.files.typeNames["/data/dir/a.txt"] = "plain text document";
        putFile("/data/dir/a.txt", 1536000);
        putFile("/data/dir/b.txt", 2048);
        h.load();
    }

    AppState& app() { return h.app(); }
    void putFile(const std::string& path, std::uint64_t bytes)
    {
        h.files.files[path] = "";
        h.files.sizes[path] = bytes;
    }
    void click(int index)
    {
        lblSF_Click(app(), index);
        h.loop.runPending();
    }
    void add(const std::string& text)
    {
        app().cboFileText = text;
        click(kSfAdd);
    }
    std::vector<std::string> tags()
    {
        std::vector<std::string> out;
        for (const auto& item : app().LVFile.items())
            out.push_back(item.row.tag);
        return out;
    }
    void select(const std::string& tag)
    {
        for (const auto& item : app().LVFile.items())
            if (item.row.tag == tag)
                app().LVFile.select(item.id);
    }
    // The records' actions, oldest first.
    std::vector<std::string> actions()
    {
        std::vector<std::string> out;
        for (const auto& row : app().log.LVAlert())
            out.insert(out.begin(), row.action);
        return out;
    }
    std::string lastMessage() { return h.dialogs.texts().empty() ? "" : h.dialogs.texts().back(); }

    AppHarness h;
};

TEST_F(SpecifiedFilesTest, AddBuildsTheRowsOfAListAndSkipsWhatIsListed)
{
    add("/data/dir;a.txt;b.txt");
    EXPECT_EQ(app().cboFileText, "/data/dir;a.txt;b.txt;") << "the appended semicolon stays in the box";
    ASSERT_EQ(tags(), (std::vector<std::string>{"/data/dir/a.txt", "/data/dir/b.txt"}));
    const auto& a = app().LVFile.at(0);
    EXPECT_EQ(a, (SpecifiedFileRow{"/data/dir/a.txt", "a.txt", "1500 KB", "1500", "/data/dir", "2024-03-05 14:30:00",
                                   "2024-03-05 14:30:00", "2024-03-05 14:30:00", "plain text document"}));

    const auto asked = h.dialogs.shown.size();
    add("/data/dir/a.txt");
    EXPECT_EQ(tags().size(), 2u);
    EXPECT_EQ(h.dialogs.shown.size(), asked) << "a listed path is skipped without a word";

    add("/data/dir");
    const auto& folder = app().LVFile.at(2);
    EXPECT_EQ(folder.text, "/data/dir");
    EXPECT_EQ(folder.size, "1502. KB") << "1538048 bytes through the folder mask";
    EXPECT_EQ(folder.location, "/data");
    EXPECT_EQ(folder.created, "");
    EXPECT_EQ(folder.type, "");

    add("//data//dir//b.txt");
    EXPECT_EQ(tags().back(), "/data/dir/b.txt") << "doubled separators collapse";
    EXPECT_EQ(tags().size(), 4u) << "after the look for a listed path, as the command has always done";
}

TEST_F(SpecifiedFilesTest, AddOfAMissingPathAsksAndAddsOnYesOnly)
{
    h.dialogs.answers = {MsgAnswer::No, MsgAnswer::Yes};
    add("/data/gone.iso");
    EXPECT_TRUE(app().LVFile.empty());
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(lastMessage(), "The file/folder you are attempting to add does not exists: /data/gone.iso\r\nAdd anyway?");
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Critical);

    add("/data/gone.iso");
    ASSERT_EQ(tags(), std::vector<std::string>{"/data/gone.iso"});
    EXPECT_EQ(app().LVFile.at(0), (SpecifiedFileRow{"/data/gone.iso", "gone.iso", "n/a", "n/a", "/data", "", "", "", ""}));
}

TEST_F(SpecifiedFilesTest, RemoveAndClearNeedNoQuestion)
{
    click(kSfRemove);
    EXPECT_EQ(lastMessage(), "No item listed.");
    add("/data/dir;a.txt;b.txt");
    select("/data/dir/a.txt");
    click(kSfRemove);
    EXPECT_EQ(tags(), std::vector<std::string>{"/data/dir/b.txt"});
    click(kSfClearAll);
    EXPECT_TRUE(app().LVFile.empty());
    EXPECT_EQ(lastMessage(), "No item listed.");
}

TEST_F(SpecifiedFilesTest, DeleteAllRecyclesDeletesOrLeavesEverythingOnCancel)
{
    struct Case {
        MsgAnswer answer;
        std::vector<std::string> trashed;
        std::vector<std::string> records;
    };
    for (const auto& c :
         {Case{MsgAnswer::Cancel, {}, {}},
          Case{MsgAnswer::Yes,
               {"/data/dir/b.txt", "/data/dir/a.txt"},
               {"- Sended File to Recycle Bin: /data/dir/b.txt", "- Sended File to Recycle Bin: /data/dir/a.txt"}},
          Case{MsgAnswer::No, {}, {"- Deleted File: /data/dir/b.txt", "- Deleted File: /data/dir/a.txt"}}}) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        h.trash.trashed.clear();
        putFile("/data/dir/a.txt", 10);
        putFile("/data/dir/b.txt", 10);
        app().LVFile.clear();
        add("/data/dir;a.txt;b.txt");
        const auto before = actions().size();

        h.dialogs.answers = {c.answer};
        click(kSfDeleteAll);
        EXPECT_EQ(h.dialogs.shown.back().text,
                  "Do you want to delete files or put in recycle bin? Yes = Recycle Bin, No = Permanent Deletion");
        EXPECT_EQ(h.dialogs.titles.back(), "RecycleBin");
        EXPECT_EQ(h.dialogs.shown.back().buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(h.trash.trashed, c.trashed);
        const auto all = actions();
        EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(before), all.end()), c.records);
        EXPECT_EQ(app().LVFile.size(), c.answer == MsgAnswer::Cancel ? 2u : 0u);
        EXPECT_EQ(h.files.fileExists("/data/dir/a.txt"), c.answer == MsgAnswer::Cancel);
    }
}

TEST_F(SpecifiedFilesTest, DeleteAllSaysWhenTheTrashRefusesAndForgetsOnlyTheMissingPath)
{
    add("/data/dir;a.txt;b.txt");
    h.dialogs.answers = {MsgAnswer::No};
    add("/data/dir/gone.txt"); // "No": not added
    h.dialogs.answers = {MsgAnswer::Yes};
    add("/data/dir/gone.txt");
    app().cboFile = {"/data/first", "/data/dir/gone.txt"};
    h.trash.refused["/data/dir/b.txt"] = "Permission denied";

    h.dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Ok};
    click(kSfDeleteAll);
    EXPECT_TRUE(std::find(h.dialogs.texts().begin(), h.dialogs.texts().end(), "file does not exits: /data/dir/gone.txt") !=
                h.dialogs.texts().end());
    EXPECT_EQ(app().cboFile, std::vector<std::string>{"/data/first"}) << "the missing path leaves the history";
    EXPECT_EQ(tags(), std::vector<std::string>{"/data/dir/b.txt"}) << "the refused file stays listed";
    const auto records = actions();
    EXPECT_EQ(std::vector<std::string>(records.end() - 2, records.end()),
              (std::vector<std::string>{"- Failed Sending File to Recycle Bin: /data/dir/b.txt | Permission denied",
                                        "- Sended File to Recycle Bin: /data/dir/a.txt"}));
}

TEST_F(SpecifiedFilesTest, DeleteAllAsksToSkipAFileThatMayNotBeDeleted)
{
    for (const auto skip : {MsgAnswer::Yes, MsgAnswer::No}) {
        SCOPED_TRACE(skip == MsgAnswer::Yes ? "skip" : "stop");
        putFile("/data/dir/a.txt", 10);
        putFile("/data/dir/b.txt", 10);
        app().LVFile.clear();
        add("/data/dir;a.txt;b.txt");
        h.files.errors["/data/dir/b.txt"] = "Permission denied";
        app().Timer1.setEnabled(false);

        h.dialogs.answers = {MsgAnswer::No, skip};
        click(kSfDeleteAll);
        EXPECT_EQ(lastMessage(), "An error was raised when deleting was attempted: Permission denied\r\nFile: b.txt\r\n"
                                 "Do you want to skip this file and continue?");
        EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Question);
        EXPECT_TRUE(app().Timer1.Enabled()) << "the timer hold helper ran around the question";
        const auto& rows = app().log.LVAlert();
        const auto high = std::find_if(rows.begin(), rows.end(), [](const AlertRow& r) { return r.level == "High"; });
        ASSERT_NE(high, rows.end());
        EXPECT_EQ(high->action, "An error was raised when deleting was attempted: Permission deniedFile: b.txt");
        if (skip == MsgAnswer::Yes)
            EXPECT_EQ(tags(), std::vector<std::string>{"/data/dir/b.txt"});
        else
            EXPECT_EQ(tags(), (std::vector<std::string>{"/data/dir/a.txt", "/data/dir/b.txt"}));
        h.files.errors.clear();
    }
}

TEST_F(SpecifiedFilesTest, MoveAsksForItsDestination)
{
    app().settings.txtDrive = "/data/archive";
    add("/data/dir;a.txt;b.txt");

    select("/data/dir/b.txt");
    h.dialogs.answers = {MsgAnswer::Yes};
    click(kSfMove);
    EXPECT_EQ(h.dialogs.shown.back().text,
              "Move Selected File(s) to Specified Path: /data/archive ? click no to select another path");
    EXPECT_TRUE(h.files.fileExists("/data/archive/b.txt"));
    EXPECT_EQ(tags(), std::vector<std::string>{"/data/dir/a.txt"});
    EXPECT_EQ(actions().back(), "- Moved File: /data/dir/b.txt");
    EXPECT_NE(app().dlgAlert.Label1().find("- Moved File: /data/dir/b.txt"), std::string::npos);
    EXPECT_TRUE(app().dlgAlert.visible());

    // No: the chooser, asked again while the chosen folder does not exist; cancel stops.
    select("/data/dir/a.txt");
    h.dialogs.answers = {MsgAnswer::No};
    h.dialogs.folders = {std::string("/data/nowhere"), std::nullopt};
    click(kSfMove);
    EXPECT_EQ(h.dialogs.folderTitles, (std::vector<std::string>{"Select Folder/Path", "Select Folder/Path"}));
    EXPECT_EQ(tags(), std::vector<std::string>{"/data/dir/a.txt"});

    h.dialogs.answers = {MsgAnswer::No};
    h.dialogs.folders = {std::string("/data/nowhere"), std::string("/")};
    select("/data/dir/a.txt");
    click(kSfMove);
    EXPECT_TRUE(h.files.fileExists("/a.txt")) << "the root joins without a second separator";
    EXPECT_TRUE(app().LVFile.empty());
}

TEST_F(SpecifiedFilesTest, AFailedMoveIsSaidReportedAndTheRowGoes)
{
    app().settings.txtDrive = "/data/archive";
    add("/data/dir/a.txt");
    select("/data/dir/a.txt");
    h.files.errors["/data/dir/a.txt"] = "Disk full";
    h.dialogs.answers = {MsgAnswer::Yes};
    click(kSfMove);
    EXPECT_EQ(lastMessage(), "File was moved unsuccessfully, check for sufficient resources (disk space) and try again.");
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(actions().back(), "- Failed Moved File: /data/dir/a.txt");
    EXPECT_TRUE(app().LVFile.empty());
    EXPECT_TRUE(h.files.fileExists("/data/dir/a.txt"));
}

TEST_F(SpecifiedFilesTest, MoveAllStopsAtAFileThatIsGone)
{
    app().settings.txtDrive = "/data/archive";
    click(kSfMoveAll);
    EXPECT_EQ(lastMessage(), "No item listed.");

    add("/data/dir;a.txt;b.txt");
    h.files.files.erase("/data/dir/a.txt");
    click(kSfMoveAll);
    EXPECT_TRUE(h.files.fileExists("/data/archive/b.txt")) << "the last row moves first";
    EXPECT_EQ(lastMessage(), "Unable to move all.  A file may be invalid.");
    EXPECT_EQ(tags(), std::vector<std::string>{"/data/dir/a.txt"});
    EXPECT_FALSE(app().LVFile.waitCursor);
}

TEST_F(SpecifiedFilesTest, DeleteFileReportsAndRunsOneTick)
{
    click(kSfDeleteFile);
    EXPECT_EQ(lastMessage(), "No item listed.");
    add("/data/dir;a.txt;b.txt");
    click(kSfDeleteFile);
    EXPECT_EQ(lastMessage(), "No file selected.");

    select("/data/dir/a.txt");
    app().settings.DTPInterval = DateTime::timeOfDay(0, 1, 0); // the tick counts down
    const auto elapsed = app().elapsedMs;
    click(kSfDeleteFile);
    EXPECT_FALSE(h.files.fileExists("/data/dir/a.txt"));
    EXPECT_EQ(tags(), std::vector<std::string>{"/data/dir/b.txt"});
    EXPECT_NE(app().log.txtAlert().find("- Deleted File: /data/dir/a.txt\r\n . \r\n"), std::string::npos);
    EXPECT_GT(app().elapsedMs, elapsed) << "one watch tick ran";

    // A file that may not be deleted: its description, and the listing goes.
    select("/data/dir/b.txt");
    h.files.errors["/data/dir/b.txt"] = "Permission denied";
    click(kSfDeleteFile);
    EXPECT_EQ(h.dialogs.shown.back().text, "Permission denied");
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Critical);
    EXPECT_TRUE(app().LVFile.empty());
    EXPECT_EQ(actions().back(), "- File access error (Listing Removed): /data/dir/b.txt");
}

TEST_F(SpecifiedFilesTest, DeleteFileOfAFolderDeletesOnlyOneWithContent)
{
    h.files.folders.insert("/data/empty");
    add("/data/empty");
    add("/data/dir");
    h.files.counts["/data/dir"] = FolderCounts{2, 0};

    select("/data/empty");
    click(kSfDeleteFile);
    EXPECT_EQ(actions().back(), "- No Folder Found or No Content in Folder: /data/empty");
    select("/data/dir");
    click(kSfDeleteFile);
    EXPECT_EQ(actions().back(), "- Deleted Folder: /data/dir | [1502. KB]");
    EXPECT_EQ(h.files.deletedFolders, std::vector<std::string>{"/data/dir"});
    EXPECT_TRUE(app().LVFile.empty());
}

TEST_F(SpecifiedFilesTest, ShowAttributesHandsTheFactsToTheShell)
{
    add("/data/dir/a.txt");
    click(kSfShowAttributes);
    EXPECT_TRUE(h.shell.properties.empty()) << "no row selected";
    select("/data/dir/a.txt");
    click(kSfShowAttributes);
    ASSERT_EQ(h.shell.properties.size(), 1u);
    const auto& shown = h.shell.properties.front();
    EXPECT_EQ(shown.path, "/data/dir/a.txt");
    EXPECT_EQ(shown.facts, (std::vector<std::pair<std::string, std::string>>{
                               {"Type", "plain text document"},
                               {"Location", "/data/dir"},
                               {"Size", "1500 KB"},
                               {"Created", "2024-03-05 14:30:00"},
                               {"Modified", "2024-03-05 14:30:00"},
                               {"Accessed", "2024-03-05 14:30:00"}}));
}

TEST_F(SpecifiedFilesTest, BrowsePausesTheWatchAndFillsTheBox)
{
    app().form1.cmdPause = "Pause Watch";
    h.dialogs.multiFiles.push_back(std::string("/data/dir") + '\0' + "a.txt" + '\0' + "b.txt");
    click(kSfBrowse);
    EXPECT_EQ(app().cboFileText, "/data/dir;a.txt;b.txt");
    EXPECT_EQ(h.dialogs.filesRequests.back().title, "Choose File/Folder ");
    EXPECT_EQ(h.dialogs.filesRequests.back().filter, "*.*");
    EXPECT_EQ(app().form1.cmdPause, "Pause Watch") << "the watch runs again";
    EXPECT_TRUE(app().LVFile.empty()) << "nothing is added before Add";
}

TEST_F(SpecifiedFilesTest, DropsFillTheBoxTheHistoryOrTheList)
{
    cboFile_Drop(app(), {"/data/dir/a.txt"});
    EXPECT_EQ(app().cboFileText, "/data/dir/a.txt");
    cboFile_Drop(app(), {"/x/1", "/x/2"});
    EXPECT_EQ(app().cboFile, (std::vector<std::string>{"/x/1", "/x/2"}));

    h.dialogs.answers = {MsgAnswer::Yes};
    LVFile_Drop(app(), {"/data/dir/a.txt", "/data/dir/a.txt", "/data/none"});
    h.loop.runPending();
    EXPECT_EQ(tags(), (std::vector<std::string>{"/data/dir/a.txt", "/data/dir/a.txt", "/data/none"}))
        << "a drop does not look for duplicates";
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Question);
}

TEST_F(SpecifiedFilesTest, MoveFolderChooserTakesOnlyWhatTheUserConfirms)
{
    struct Case {
        std::string chosen;
        std::vector<MsgAnswer> answers;
        std::string txtDrive;
    };
    h.volumes.mount("/data/").ready = false;
    for (const auto& c : {Case{"/data/archive", {}, "/data/archive"}, Case{"/data/later", {MsgAnswer::No}, "/"},
                          Case{"/data/later", {MsgAnswer::Yes, MsgAnswer::No}, "/"},
                          Case{"/data/later", {MsgAnswer::Yes, MsgAnswer::Yes}, "/data/later"}}) {
        SCOPED_TRACE(c.chosen + " " + std::to_string(c.answers.size()));
        app().settings.txtDrive = "/";
        h.dialogs.folders = {c.chosen};
        h.dialogs.answers = {c.answers.begin(), c.answers.end()};
        lblFolder_Click(app());
        h.loop.runPending();
        EXPECT_EQ(app().settings.txtDrive, c.txtDrive);
        EXPECT_TRUE(app().Timer1.Enabled());
    }
    EXPECT_EQ(lastMessage(), "Drive is not ready, select this drive anyway?");
}

TEST_F(SpecifiedFilesTest, ColumnClicksSortAndKeepTheListSorted)
{
    add("/data/dir;a.txt;b.txt");
    LVFile_ColumnClick(app(), 0);
    EXPECT_EQ(tags(), (std::vector<std::string>{"/data/dir/b.txt", "/data/dir/a.txt"}))
        << "the order was ascending: the first click turns it";
    LVFile_ColumnClick(app(), 1);
    EXPECT_EQ(tags(), (std::vector<std::string>{"/data/dir/a.txt", "/data/dir/b.txt"}))
        << "ascending by the cell texts: \"1500 KB\" before \"2 KB\"";
    LVFile_ColumnClick(app(), 0);
    EXPECT_EQ(tags(), (std::vector<std::string>{"/data/dir/b.txt", "/data/dir/a.txt"}));
    putFile("/data/dir/c.txt", 1);
    add("/data/dir/c.txt");
    EXPECT_EQ(tags().front(), "/data/dir/c.txt") << "a new row takes its place in the order";
}

// --- the automatic move (option 4) ---------------------------------------------------------------

class AutoMoveTest : public SpecifiedFilesTest {
protected:
    void SetUp() override
    {
        SpecifiedFilesTest::SetUp();
        putFile("/data/dir/c.txt", 4096);
        app().settings.txtDrive = "/some/where";
        app().settings.txtSpace = "50000"; // /data/ has 30000 KB free: short
        entry = app().ListView1.append(watchEntry("/data/", true)).id;
        add("/data/dir;a.txt;b.txt;c.txt");
        add("/elsewhere.txt"); // not on the entry's drive: never eligible
    }
    std::int16_t run(std::int16_t amount)
    {
        std::int16_t acted = -1;
        app().tasks.spawn([](AppState& a, std::uint64_t id, std::int16_t amt, std::int16_t& out) -> Task<void> {
            out = co_await prcFileAct(a, 4, id, amt, "/data/", "", "");
        }(app(), entry, amount, acted));
        h.loop.runPending();
        return acted;
    }
    std::uint64_t entry = 0;
};

TEST_F(AutoMoveTest, MovesEligibleFilesToTheRootOfThePathToMove)
{
    h.files.files["/elsewhere.txt"] = "";
    const auto acted = run(100);
    EXPECT_EQ(acted, 3) << "every eligible file while the drive stays short";
    EXPECT_TRUE(h.files.fileExists("/c.txt"));
    EXPECT_TRUE(h.files.fileExists("/b.txt"));
    EXPECT_TRUE(h.files.fileExists("/a.txt"));
    EXPECT_EQ(tags(), std::vector<std::string>{"/elsewhere.txt"});
    const auto records = actions();
    ASSERT_GE(records.size(), 3u);
    EXPECT_EQ(records[records.size() - 3], "Auto Moved File: /data/dir/c.txt to / Size: 4096\r\n.\r\n")
        << "last row first";
    EXPECT_EQ(app().form1.StatusBar1[0].text, "File Action on: /data/dir/a.txt");
}

TEST_F(AutoMoveTest, StopsAsTheSettingsSay)
{
    app().chkSeq = 1;
    EXPECT_EQ(run(100), 1) << "sequential: one moved file per check";
    app().chkSeq = 0;
    EXPECT_EQ(run(1), 1) << "the amount";
    app().settings.txtSpace = "100"; // not short any more after the next move
    EXPECT_EQ(run(100), 1);
    EXPECT_EQ(tags(), std::vector<std::string>{"/elsewhere.txt"});
}

TEST_F(AutoMoveTest, AFileLargerThanTheFreeSpaceStaysWithoutARecord)
{
    h.volumes.mount("/").freeBytes = 3 * 1024;
    const auto records = actions().size();
    std::string result;
    app().tasks.spawn([](AppState& a, std::string& out) -> Task<void> {
        out = co_await prcFileActOption(a, 4, "/data/dir/c.txt", "/");
    }(app(), result));
    h.loop.runPending();
    EXPECT_EQ(result, "0");
    EXPECT_EQ(actions().size(), records);
    EXPECT_TRUE(h.files.fileExists("/data/dir/c.txt"));

    h.files.errors["/data/dir/b.txt"] = "Disk full";
    app().tasks.spawn([](AppState& a, std::string& out) -> Task<void> {
        out = co_await prcFileActOption(a, 4, "/data/dir/b.txt", "/");
    }(app(), result));
    h.loop.runPending();
    EXPECT_EQ(result, "0");
    EXPECT_EQ(actions().back(), "Failed Auto Moved File: /data/dir/b.txt to / Size: 2048\r\n.\r\n");
}

} // namespace
} // namespace volmara::test
