#include "platform/posix/bounded_call.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

namespace volmara {
namespace {

using namespace std::chrono_literals;
using Outcome = BoundedCaller::Outcome;

// A call that hangs until the test lets it go, the way statvfs hangs on a dead server.
struct Gate {
    std::promise<void> opened;
    std::shared_future<void> waitForOpen = opened.get_future().share();
    std::promise<void> returned;
};

auto hangingCall(std::shared_ptr<Gate> gate)
{
    return [gate] {
        gate->waitForOpen.wait();
        gate->returned.set_value();
        return 0;
    };
}

// After a stuck call returns the helper reports itself done a moment later; until then a call
// is refused at once, so this only spins over that moment.
BoundedCaller::Reply<int> runWhenFree(BoundedCaller& caller, std::string_view key, int value)
{
    for (;;) {
        auto reply = caller.run(key, [value] { return value; });
        if (reply.outcome != Outcome::HelperBusy && reply.outcome != Outcome::StillStuck)
            return reply;
        std::this_thread::yield();
    }
}

TEST(BoundedCaller, AnsweredCallGivesItsResult)
{
    BoundedCaller caller(5s);
    const auto reply = caller.run("/", [] { return std::string("measured"); });
    EXPECT_EQ(reply.outcome, Outcome::Answered);
    EXPECT_EQ(reply.result, "measured");
    EXPECT_THROW(caller.run("/", []() -> int { throw Error(ErrorKind::Other, "Device unavailable"); }), Error);
    EXPECT_EQ(caller.run("/", [] { return 7; }).result, 7) << "a call that threw leaves the helper usable";
}

TEST(BoundedCaller, AbandonedCallRefusesFurtherWorkUntilItReturns)
{
    // Long enough that a loaded machine still answers the plain calls below within it.
    BoundedCaller caller(1s);
    auto gate = std::make_shared<Gate>();
    auto refusedCallsRun = std::make_shared<std::atomic<int>>(0);
    auto counted = [refusedCallsRun] { return ++*refusedCallsRun; };

    EXPECT_EQ(caller.run("/mnt/nas/", hangingCall(gate)).outcome, Outcome::TimedOut);
    const auto sameMount = caller.run("/mnt/nas/", counted);
    const auto otherMount = caller.run("/home/", counted);
    EXPECT_EQ(sameMount.outcome, Outcome::StillStuck);
    EXPECT_FALSE(sameMount.result);
    EXPECT_EQ(otherMount.outcome, Outcome::HelperBusy);
    EXPECT_FALSE(otherMount.result);

    gate->opened.set_value();
    gate->returned.get_future().wait();
    const auto recovered = runWhenFree(caller, "/mnt/nas/", 42);
    EXPECT_EQ(recovered.outcome, Outcome::Answered);
    EXPECT_EQ(recovered.result, 42);
    EXPECT_EQ(*refusedCallsRun, 0) << "refused calls were never queued";
}

TEST(BoundedCaller, DestroyingDuringAStuckCallReturnsAndTheCallStillEnds)
{
    auto gate = std::make_shared<Gate>();
    auto returned = gate->returned.get_future();
    auto caller = std::make_unique<BoundedCaller>(20ms);
    EXPECT_EQ(caller->run("/mnt/nas/", hangingCall(gate)).outcome, Outcome::TimedOut);
    caller.reset();

    // The abandoned call runs to its end on state it owns (a sanitizer build sees any stray use).
    gate->opened.set_value();
    returned.wait();
}

} // namespace
} // namespace volmara
