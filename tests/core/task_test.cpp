#include "core/task.h"
#include "fakes/manual_event_loop.h"
#include "fakes/scripted_dialogs.h"
#include "platform/dialogs.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace volmara::test {
namespace {

Task<int> answerAfterYield(EventLoop& loop, std::vector<std::string>& trace)
{
    trace.push_back("inner start");
    co_await loop.yield();
    trace.push_back("inner resumed");
    co_return 42;
}

Task<void> outer(EventLoop& loop, std::vector<std::string>& trace)
{
    trace.push_back("outer start");
    const int v = co_await answerAfterYield(loop, trace);
    trace.push_back("outer got " + std::to_string(v));
}

TEST(Task, PendingEventsRunBeforeTheYieldResumes)
{
    ManualEventLoop loop;
    std::vector<std::string> trace;
    TaskScope scope;
    loop.post([&] { trace.push_back("earlier event"); });
    scope.spawn(outer(loop, trace));
    EXPECT_EQ(trace, (std::vector<std::string>{"outer start", "inner start"}));
    loop.runPending();
    EXPECT_EQ(trace, (std::vector<std::string>{"outer start", "inner start", "earlier event", "inner resumed", "outer got 42"}));
    EXPECT_EQ(scope.running(), 0u);
}

Task<void> throwsAfterYield(EventLoop& loop)
{
    co_await loop.yield();
    throw std::runtime_error("boom");
}

Task<void> catches(EventLoop& loop, std::string& caught)
{
    try {
        co_await throwsAfterYield(loop);
    } catch (const std::exception& e) {
        caught = e.what();
    }
}

TEST(Task, ExceptionReachesTheAwaiter)
{
    ManualEventLoop loop;
    std::string caught;
    TaskScope scope;
    scope.spawn(catches(loop, caught));
    loop.runPending();
    EXPECT_EQ(caught, "boom");
}

struct Flag {
    bool& destroyed;
    ~Flag() { destroyed = true; }
};

Task<void> suspendedForever(EventLoop& loop, bool& destroyed, bool& resumed)
{
    Flag flag{destroyed};
    co_await loop.yield();
    resumed = true;
}

TEST(Task, DestroyingTheScopeDestroysSuspendedTasksWithoutResuming)
{
    ManualEventLoop loop;
    bool destroyed = false;
    bool resumed = false;
    {
        TaskScope scope;
        scope.spawn(suspendedForever(loop, destroyed, resumed));
        EXPECT_FALSE(destroyed);
    }
    EXPECT_TRUE(destroyed);
    loop.runPending(); // the resume still queued for the dead frame is dropped
    EXPECT_FALSE(resumed);
}

TEST(Task, EscapedErrorReachesTheScopesSinkWhenItEscapes)
{
    ManualEventLoop loop;
    std::vector<std::string> reported;
    TaskScope scope([&](const std::exception_ptr& e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& x) {
            reported.emplace_back(x.what());
        }
    });
    scope.spawn(throwsAfterYield(loop));
    EXPECT_TRUE(reported.empty());
    loop.runPending();
    EXPECT_EQ(reported, (std::vector<std::string>{"boom"})) << "reported at once, not at the next spawn";
}

// A dialog implementation that answers inside the call, before the caller has suspended.
class AnswersAtOnce final : public Dialogs {
public:
    void showMessage(const MessageRequest&, std::function<void(MsgAnswer)> done) override { done(MsgAnswer::No); }
    void chooseFolder(const std::string&, std::function<void(std::optional<std::string>)> done) override
    {
        done(std::string("/picked"));
    }
    void chooseFile(const std::vector<std::string>&, std::function<void(std::optional<std::string>)> done) override
    {
        done(std::nullopt);
    }
};

Task<void> askTwice(Dialogs& dialogs, std::vector<std::string>& trace)
{
    const auto answer = co_await dialogs.ask("first?", MsgIcon::Question, MsgButtons::YesNo);
    trace.push_back(answer == MsgAnswer::No ? "no" : "other");
    const auto folder = co_await dialogs.browseFolder("where?");
    trace.push_back(folder.value_or("none"));
}

TEST(Task, AnswerGivenBeforeTheSuspensionGoesOnWithoutOne)
{
    AnswersAtOnce dialogs;
    std::vector<std::string> trace;
    TaskScope scope;
    scope.spawn(askTwice(dialogs, trace));
    EXPECT_EQ(trace, (std::vector<std::string>{"no", "/picked"}));
    EXPECT_EQ(scope.running(), 0u);
}

Task<void> waitsForAnswer(Dialogs& dialogs, bool& resumed)
{
    co_await dialogs.ask("still there?", MsgIcon::Question, MsgButtons::YesNo);
    resumed = true;
}

TEST(Task, AnswerArrivingAfterShutDownFindsNoFrameToResume)
{
    ManualEventLoop loop;
    ScriptedDialogs dialogs(loop);
    dialogs.holdAnswers = true;
    bool resumed = false;
    {
        TaskScope scope;
        scope.spawn(waitsForAnswer(dialogs, resumed));
        ASSERT_EQ(dialogs.held.size(), 1u);
    } // the window closes with the question still open
    dialogs.releaseOne(MsgAnswer::Yes);
    loop.runPending();
    EXPECT_FALSE(resumed);
}

} // namespace
} // namespace volmara::test
