#include "shell_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

class LockTest : public ::testing::Test {
protected:
    ShellHarness s;
    int notifyHidden = 0;
    int alertHidden = 0;

    void SetUp() override
    {
        lock().hideOnLock = {[this] { ++notifyHidden; }, [this] { ++alertHidden; }};
    }
    FrmLock& lock() { return s.lock(); }
    AppState& app() { return s.app(); }

    // Types `password` into the open lock window and presses its button.
    void press(const std::string& password, std::optional<MsgAnswer> answer = std::nullopt)
    {
        if (answer)
            s.h.dialogs.answers.push_back(*answer);
        lock().Text1_Change(password);
        lock().Command1_Click();
        s.h.loop.runPending();
    }
};

TEST_F(LockTest, PasswordsOfUpTo25CharactersLock)
{
    struct Case {
        std::string password;
        bool locks;
        std::string message;
    };
    for (const auto& c : {Case{"", false, "A password must be entered."},
                          Case{std::string(26, 'p'), false, "Passowrd Length cannot be over 25"},
                          Case{std::string(24, 'p') + "\xC3\xA9", true, "The program is now lock into the systray."},
                          Case{std::string(25, 'p'), true, "The program is now lock into the systray."}}) {
        SCOPED_TRACE(c.password);
        lock().g_bolLocked = false;
        lock().prcSrvFrm();
        press(c.password, MsgAnswer::Yes);
        EXPECT_EQ(lock().g_bolLocked, c.locks);
        EXPECT_EQ(s.lastMessage(), c.message);
        s.h.dialogs.answers.clear();
    }
}

TEST_F(LockTest, LockingHidesTheWindowsAndOnlyTheExactPasswordUnlocks)
{
    lock().prcSrvFrm();
    EXPECT_TRUE(lock().visible());
    EXPECT_EQ(lock().Command1(), "Lock");
    EXPECT_EQ(lock().lblLock(), kLblLockUnlocked);

    s.h.dialogs.shown.clear();
    press("Secret", MsgAnswer::Yes);
    ASSERT_EQ(s.h.dialogs.shown.size(), 2u);
    EXPECT_EQ(s.h.dialogs.shown[0].text, "Are you sure you want to lock the program?");
    EXPECT_EQ(s.h.dialogs.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(s.h.dialogs.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(s.h.dialogs.shown[1].icon, MsgIcon::Information);
    EXPECT_TRUE(lock().g_bolLocked);
    EXPECT_EQ(lock().g_strLockPassword, "Secret");
    EXPECT_FALSE(lock().visible());
    EXPECT_FALSE(app().form1.visible);
    EXPECT_EQ(notifyHidden, 1);
    EXPECT_EQ(alertHidden, 1);

    // The way back is the tray's double click.
    s.tray().mouseMessage(kWmLButtonDblClk);
    EXPECT_TRUE(lock().visible());
    EXPECT_EQ(lock().Command1(), "Unlock");
    EXPECT_EQ(lock().lblLock(), kLblLockLocked);

    press("secret");
    EXPECT_EQ(s.lastMessage(), "Incorrect Password.");
    EXPECT_TRUE(lock().g_bolLocked);
    EXPECT_TRUE(lock().visible());
    EXPECT_EQ(lock().Text1(), "secret");
    EXPECT_FALSE(app().form1.visible);

    press("Secret");
    EXPECT_FALSE(lock().g_bolLocked);
    EXPECT_FALSE(lock().visible());
    EXPECT_TRUE(app().form1.visible);
    EXPECT_EQ(lock().g_strLockPassword, "Secret");

    lock().prcSrvFrm();
    EXPECT_EQ(lock().Command1(), "Lock");
    EXPECT_EQ(lock().lblLock(), kLblLockUnlocked);
}

TEST_F(LockTest, NoLeavesTheProgramUnlockedWithTheTimersRunning)
{
    app().Timer1.setEnabled(false);
    app().tmrStat.setEnabled(false);
    lock().prcSrvFrm();
    press("Secret", MsgAnswer::No);
    EXPECT_FALSE(lock().g_bolLocked);
    EXPECT_TRUE(lock().visible());
    EXPECT_TRUE(app().form1.visible);
    EXPECT_EQ(notifyHidden, 0);
    EXPECT_TRUE(app().Timer1.Enabled());
    EXPECT_TRUE(app().tmrStat.Enabled());
}

TEST_F(LockTest, EnterInThePasswordBoxIsTheButton)
{
    lock().prcSrvFrm();
    lock().Text1_Change("Secret");
    lock().Text1_KeyPress('a');
    s.h.loop.runPending();
    EXPECT_TRUE(s.h.dialogs.shown.empty());

    s.h.dialogs.answers.push_back(MsgAnswer::Yes);
    lock().Text1_KeyPress(13);
    s.h.loop.runPending();
    EXPECT_TRUE(lock().g_bolLocked);
}

TEST_F(LockTest, LockingPutsTheIconBackFirst)
{
    s.tray().prcAddSystray(0, "");
    lock().prcSrvFrm();
    press("Secret", MsgAnswer::Yes);
    EXPECT_TRUE(lock().g_bolLocked);
    EXPECT_TRUE(s.tray().iconPresent());
}

TEST(LockWithoutDesktopTray, LockingIsRefusedWithoutAQuestion)
{
    ShellHarness s(false);
    s.lock().prcSrvFrm();
    s.lock().Text1_Change("Secret");
    s.lock().Command1_Click();
    s.h.loop.runPending();
    EXPECT_FALSE(s.lock().g_bolLocked);
    EXPECT_EQ(s.h.dialogs.texts(), std::vector<std::string>{std::string(kNoTrayToLock)});
    EXPECT_TRUE(s.app().form1.visible);
}

} // namespace
} // namespace volmara::test
