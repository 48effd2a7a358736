#include "shell/shell_commands.h"
#include "shell/update_check.h"
#include "shell_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

TEST(UpdatePage, TheVersionIsReadFromTheFifteenCharactersAtTheMarker)
{
    struct Case {
        std::string page;
        std::optional<std::string> text;
        std::optional<VersionNumber> version;
    };
    for (const auto& c : {
             Case{"update=2.0", "2.0", VersionNumber{2, 0}},
             Case{"<html>\nupdate=1.10        \nmore", "1.10", VersionNumber{1, 10}},
             Case{"update=3", "3", VersionNumber{3, 0}},
             Case{"update=1.6</p>", "1.6</p>", std::nullopt},       // text within the eight characters
             Case{"update=1.6\nnext line", "1.6\nnext", std::nullopt}, // a line break too
             Case{"update=two", "two", std::nullopt},
             Case{"update=", "", std::nullopt},
             Case{"update=update=4.2", "4", VersionNumber{4, 0}}, // the window ends before ".2"
             Case{"update=-1.0", "-1.0", std::nullopt},
             Case{"update=1.2.3", "1.2.3", std::nullopt},
             Case{"update=99999999", "99999999", VersionNumber{99999999, 0}},
             Case{"Update=2.0", std::nullopt, std::nullopt},
             Case{"version 2.0", std::nullopt, std::nullopt},
         }) {
        SCOPED_TRACE(c.page);
        const auto text = publishedVersionText(c.page);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(text ? parseVersionNumber(*text) : std::nullopt, c.version);
    }
}

TEST(UpdatePage, VersionsCompareAsMajorAndMinorNumbers)
{
    EXPECT_GT((VersionNumber{2, 0}), (VersionNumber{1, 5}));
    EXPECT_EQ((VersionNumber{1, 5}), (VersionNumber{1, 5}));
    EXPECT_GT((VersionNumber{1, 10}), (VersionNumber{1, 2}));
    EXPECT_LT((VersionNumber{1, 2}), (VersionNumber{1, 10}));
}

class UpdateCommandTest : public ::testing::Test {
protected:
    ShellHarness s;
    const std::string url = "http://updates.example/Volmara/status.htm";
    UpdateCheck& check() { return s.app().updateCheck; }
    void SetUp() override
    {
        check().url = url;
        check().ownVersion = {1, 5};
    }
    void click()
    {
        lblCheckUpdates_Click(s.app());
        s.h.loop.runPending();
    }
};

TEST_F(UpdateCommandTest, CheckUpdatesNeedsASiteAndAWayOut)
{
    check().url.clear();
    click();
    EXPECT_EQ(s.lastMessage(), kNoUpdateSite);

    check().url = url;
    s.h.http.online = false;
    click();
    EXPECT_EQ(s.lastMessage(), kNotConnected);
    EXPECT_EQ(s.h.dialogs.shown.back().icon, MsgIcon::Information);
    EXPECT_TRUE(s.h.http.requests.empty());
}

TEST_F(UpdateCommandTest, ANewerPageIsReportedOnceAndFailuresAreSilent)
{
    s.h.http.serve(url, "update=1.5");
    click();
    EXPECT_TRUE(s.h.dialogs.shown.empty());
    ASSERT_EQ(s.h.http.requests.size(), 1u);
    EXPECT_EQ(s.h.http.requests[0].url, url);
    EXPECT_EQ(s.h.http.requests[0].maxBody, 64u * 1024u);

    s.h.http.pages.clear(); // the server is gone
    click();
    EXPECT_TRUE(s.h.dialogs.shown.empty());

    s.h.http.serve(url, "update=2.0");
    click();
    EXPECT_EQ(s.h.dialogs.texts(), std::vector<std::string>{std::string(kNewerVersionMessage)});
    EXPECT_EQ(s.app().form1.lblNewVer, "New update available: 2.0");
}

TEST(UpdateAtStartUp, RunsOnlyWhenTheBoxIsTicked)
{
    for (const bool ticked : {false, true}) {
        SCOPED_TRACE(ticked);
        AppHarness h;
        h.volumes.add("/", 900000, 2000000);
        h.files.folders = {"/"};
        h.files.files["/opt/volmara/set.dat"] = std::string("chkUpdate=") + (ticked ? "1" : "0") + "\r\n";
        h.make();
        h.app().updateCheck.url = "http://updates.example/Volmara/status.htm";
        h.http.serve(h.app().updateCheck.url, "update=999.0");
        h.model->Form_Load();
        h.loop.runPending();
        EXPECT_EQ(h.http.requests.size(), ticked ? 1u : 0u);
        EXPECT_EQ(h.app().form1.lblNewVer, ticked ? "New update available: 999.0" : "");
    }
}

} // namespace
} // namespace volmara::test
