#pragma once

#include "platform/event_loop.h"
#include "platform/io.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

namespace volmara {

// The I/O workers on POSIX threads.
//
// - A small pool serves the calls: `workers` threads stay; more are started while every thread is
//   busy, up to `maxWorkers` serving at once, and leave again once the queue is empty.
// - Bounds are kept on the UI thread with one timer armed for the earliest deadline. A call that
//   misses its bound is answered TimedOut; when it had started, its key is quarantined: the
//   calls of that key still queued are answered Stuck, new ones are refused at once, until the
//   abandoned call returns. A stuck call holds only its own thread, and a replacement is started
//   (at most `maxThreads` in all) so the other keys are still served.
// - A call that has run longer than `slowAfter` makes its key wait: no second call of that key is
//   started beside it, so a dead file system never holds more than one thread.
// - Answers reach the UI thread in batches through the event loop's post, which is the one call
//   the workers make into the program.
// - Threads are detached and share the pool's inner state, so destroying the pool never waits on
//   a stuck call; a call that returns after that reports to nobody.
class PosixIoPool final : public IoWorkers {
public:
    struct Limits {
        int workers = 2;
        int maxWorkers = 4;
        int maxThreads = 8;
        std::chrono::milliseconds slowAfter{100};
    };

    explicit PosixIoPool(EventLoop& loop);
    PosixIoPool(EventLoop& loop, Limits limits);
    ~PosixIoPool() override;
    PosixIoPool(const PosixIoPool&) = delete;
    PosixIoPool& operator=(const PosixIoPool&) = delete;

    void submit(Job job) override;
    bool stuck(std::string_view key) const override;

    // Calls abandoned and not yet returned: the program ends without running destructors while
    // one of them may still touch what it was given.
    int abandonedCalls() const;
    int threadCount() const;

    struct Shared; // shared with the threads

private:
    using Clock = std::chrono::steady_clock;
    using Deadlines = std::multimap<Clock::time_point, std::uint64_t>;
    struct Pending {
        std::string key;
        std::function<void(IoOutcome)> done;
        std::optional<Deadlines::iterator> deadline;
        bool abandoned = false;
    };

    void finish(const std::vector<std::uint64_t>& ids);
    void onDeadline();
    void armDeadline();
    void answerQueuedOfKey(const std::string& key, IoOutcome outcome);
    void forgetDeadline(Pending& pending);

    EventLoop& loop_;
    std::shared_ptr<Shared> shared_;
    std::unordered_map<std::uint64_t, Pending> pending_;
    Deadlines deadlines_;
    std::unordered_map<std::string, int> abandonedKeys_;
    std::unique_ptr<TimerBackend> deadlineTimer_;
    std::optional<Clock::time_point> armedFor_;
    std::uint64_t nextId_ = 1;
};

} // namespace volmara
