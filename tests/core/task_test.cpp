#include "core/task.h"
#include "fakes/manual_event_loop.h"

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

} // namespace
} // namespace volmara::test
