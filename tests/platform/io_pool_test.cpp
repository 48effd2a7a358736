// The I/O workers on real threads: answers come back on the loop's thread, a call that misses its
// bound quarantines its key and no other, and nothing ever waits on a call that does not return.
#include "platform/posix/io_pool.h"

#include "core/task.h"
#include "fakes/manual_event_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace volmara {
namespace {

using namespace std::chrono_literals;

// A call that blocks until the test opens the gate, like a file system whose server is gone.
struct Gate {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    std::atomic<int> waiting{0};

    void pass()
    {
        std::unique_lock lock(mutex);
        ++waiting;
        opened.wait(lock, [&] { return open; });
    }
    void release()
    {
        std::lock_guard lock(mutex);
        open = true;
        opened.notify_all();
    }
};

struct Answer {
    std::optional<IoOutcome> outcome;
    std::optional<int> value;
    std::thread::id thread;
};

Task<void> await(IoWorkers::Call<int> call, Answer& answer)
{
    auto reply = co_await call;
    answer.outcome = reply.outcome;
    answer.value = reply.value;
    answer.thread = std::this_thread::get_id();
}

class IoPool : public ::testing::Test {
protected:
    ~IoPool() override { gate->release(); }

    void start(const std::string& key, Answer& answer, std::function<int()> work,
               IoWorkers::Bound bound = IoWorkers::defaultBound)
    {
        scope.spawn(await(pool.start(key, std::move(work), bound), answer));
    }
    bool settle(std::function<bool()> done) { return loop.runUntil(std::move(done), 10s); }

    test::ManualEventLoop loop;
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
    PosixIoPool pool{loop};
    TaskScope scope;
};

TEST_F(IoPool, AnswersOnTheLoopThreadInTheirOwnTime)
{
    Answer a, b;
    start("/a/", a, [] { return 1; });
    start("/b/", b, [] { return 2; });
    ASSERT_TRUE(settle([&] { return a.outcome && b.outcome; }));
    EXPECT_EQ(a.outcome, IoOutcome::Answered);
    EXPECT_EQ(a.value, 1);
    EXPECT_EQ(b.value, 2);
    EXPECT_EQ(a.thread, std::this_thread::get_id());
}

TEST_F(IoPool, ErrorOfTheCallReachesTheAwaiter)
{
    std::string caught;
    scope.spawn([](IoWorkers& io, std::string& out) -> Task<void> {
        try {
            (void)co_await io.run("/a/", []() -> int { throw std::runtime_error("Permission denied"); });
        } catch (const std::runtime_error& e) {
            out = e.what();
        }
    }(pool, caught));
    ASSERT_TRUE(settle([&] { return !caught.empty(); }));
    EXPECT_EQ(caught, "Permission denied");
}

TEST_F(IoPool, StuckCallQuarantinesItsKeyOnly)
{
    Answer stuckCall, queuedSameKey, otherKey;
    auto g = gate;
    start("/dead/", stuckCall, [g] { g->pass(); return 0; }, 100ms);
    ASSERT_TRUE(settle([&] { return g->waiting == 1; }));
    // Taken after the dead call has run a while: it waits for its key instead of taking a thread.
    std::this_thread::sleep_for(PosixIoPool::Limits{}.slowAfter + 20ms);
    start("/dead/", queuedSameKey, [] { return 7; });
    start("/live/", otherKey, [] { return 3; });
    ASSERT_TRUE(settle([&] { return stuckCall.outcome && queuedSameKey.outcome && otherKey.outcome; }));
    EXPECT_EQ(stuckCall.outcome, IoOutcome::TimedOut);
    EXPECT_EQ(queuedSameKey.outcome, IoOutcome::Stuck);
    EXPECT_EQ(otherKey.outcome, IoOutcome::Answered);
    EXPECT_EQ(otherKey.value, 3);
    EXPECT_EQ(g->waiting, 1) << "a dead key holds one thread at most";

    // Refused at once while the abandoned call hangs; served again once it returns.
    EXPECT_TRUE(pool.stuck("/dead/"));
    Answer refused;
    start("/dead/", refused, [] { return 8; });
    EXPECT_EQ(refused.outcome, IoOutcome::Stuck);
    g->release();
    ASSERT_TRUE(settle([&] { return !pool.stuck("/dead/"); }));
    Answer served;
    start("/dead/", served, [] { return 9; });
    ASSERT_TRUE(settle([&] { return served.outcome.has_value(); }));
    EXPECT_EQ(served.value, 9);
}

TEST_F(IoPool, DeadCallsDoNotStarveTheRest)
{
    auto g = gate;
    const int dead = PosixIoPool::Limits{}.maxWorkers;
    std::vector<Answer> deadAnswers(static_cast<std::size_t>(dead));
    // Each dead call is taken by a thread of its own: the pool grows while every thread is busy.
    for (int i = 0; i < dead; ++i) {
        start("/dead" + std::to_string(i) + "/", deadAnswers[static_cast<std::size_t>(i)], [g] { g->pass(); return 0; },
              1s);
        ASSERT_TRUE(settle([&] { return g->waiting == i + 1; }));
    }
    ASSERT_TRUE(settle([&] {
        return std::all_of(deadAnswers.begin(), deadAnswers.end(), [](const Answer& a) { return a.outcome.has_value(); });
    }));
    // Every serving thread hangs, and still a live key is answered by a replacement.
    std::vector<Answer> live(20);
    for (std::size_t i = 0; i < live.size(); ++i)
        start("/live/", live[i], [i] { return static_cast<int>(i); });
    ASSERT_TRUE(settle([&] { return std::all_of(live.begin(), live.end(), [](const Answer& a) { return a.outcome.has_value(); }); }));
    for (std::size_t i = 0; i < live.size(); ++i)
        EXPECT_EQ(live[i].value, static_cast<int>(i));
    EXPECT_LE(pool.threadCount(), PosixIoPool::Limits{}.maxThreads);
    EXPECT_EQ(pool.abandonedCalls(), dead);
}

TEST_F(IoPool, UnboundedCallIsNeverAbandoned)
{
    Answer longCall;
    auto g = gate;
    start("/disk/", longCall, [g] { g->pass(); return 5; }, std::nullopt);
    ASSERT_TRUE(settle([&] { return g->waiting == 1; }));
    loop.runUntil([] { return false; }, 50ms);
    EXPECT_FALSE(longCall.outcome.has_value());
    g->release();
    ASSERT_TRUE(settle([&] { return longCall.outcome.has_value(); }));
    EXPECT_EQ(longCall.value, 5);
}

TEST(IoPoolLifetime, DestroyedWhileACallHangsWithoutWaiting)
{
    test::ManualEventLoop loop;
    auto gate = std::make_shared<Gate>();
    Answer answer;
    TaskScope scope;
    {
        PosixIoPool pool(loop);
        scope.spawn(await(pool.start("/dead/", [gate] { gate->pass(); return 1; }), answer));
        ASSERT_TRUE(loop.runUntil([&] { return gate->waiting == 1; }, 10s));
    }
    // The pool is gone; the call returns to nobody.
    gate->release();
    loop.runUntil([] { return false; }, 50ms);
    EXPECT_FALSE(answer.outcome.has_value());
}

} // namespace
} // namespace volmara
