#pragma once

#include "platform/event_loop.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <poll.h>

namespace volmara::test {

// A deterministic event loop over virtual time: posted calls run in order, timers fire when
// the test advances the clock past their due time. Like the real loop, it takes posted calls from
// any thread (the I/O workers answer that way); everything else runs on the test's thread.
class ManualEventLoop final : public EventLoop {
public:
    void post(std::function<void()> call) override
    {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(call));
        }
        posted_.notify_all();
    }

    std::unique_ptr<TimerBackend> createTimer(std::function<void()> onFire) override
    {
        return std::make_unique<Backend>(*this, std::move(onFire));
    }

    // Descriptors are watched with a real poll, in runUntil and pollFds: for tests of real sockets.
    std::unique_ptr<FdWatch> watchFd(int fd, FdInterest interest, std::function<void()> onReady) override
    {
        auto entry = std::make_shared<FdEntry>(FdEntry{fd, interest, std::move(onReady), true});
        fdWatches_.push_back(entry);
        return std::make_unique<ManualFdWatch>(*this, std::move(entry));
    }
    std::size_t fdWatchCount() const { return fdWatches_.size(); }

    // Waits up to `timeout` for a watched descriptor and calls the watches that are ready.
    // Returns true when one was.
    bool pollFds(std::chrono::milliseconds timeout)
    {
        if (fdWatches_.empty())
            return false;
        auto watches = fdWatches_;
        std::vector<pollfd> fds;
        for (const auto& w : watches)
            fds.push_back(pollfd{w->fd, static_cast<short>(w->interest == FdInterest::Readable ? POLLIN : POLLOUT), 0});
        if (::poll(fds.data(), fds.size(), static_cast<int>(timeout.count())) <= 0)
            return false;
        bool any = false;
        for (std::size_t i = 0; i < watches.size(); ++i) {
            // A call may have ended other watches.
            if (fds[i].revents != 0 && watches[i]->active) {
                any = true;
                watches[i]->onReady();
            }
        }
        return any;
    }

    // Runs everything pending, including what those calls post, up to a bound.
    void runPending(int limit = 100000)
    {
        while (limit-- > 0) {
            auto call = take();
            if (!call)
                break;
            call();
        }
    }

    // Runs only the calls pending now (one round of a real loop).
    void runOneRound()
    {
        auto n = pending();
        while (n-- > 0) {
            auto call = take();
            if (!call)
                break;
            call();
        }
    }

    // Runs posted calls as they come, and timers as real time passes, until `done` holds or
    // `timeout` passes: a real loop, for tests whose answers come from real threads.
    template <typename Predicate>
    bool runUntil(Predicate done, std::chrono::milliseconds timeout)
    {
        using Steady = std::chrono::steady_clock;
        const auto realStart = Steady::now();
        const auto virtualStart = now_;
        const auto until = realStart + timeout;
        const auto realOf = [&](std::int64_t virtualMs) { return realStart + std::chrono::milliseconds(virtualMs - virtualStart); };
        for (;;) {
            runPending();
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - realStart).count();
            if (virtualStart + elapsed > now_)
                advance(virtualStart + elapsed - now_);
            if (done())
                return true;
            if (Steady::now() >= until)
                return false;
            // Looks again now and then: `done` may watch state that other threads change.
            auto wake = std::min(until, Steady::now() + std::chrono::milliseconds(5));
            for (const auto* b : timers_) {
                if (b->running)
                    wake = std::min(wake, realOf(b->due));
            }
            if (!fdWatches_.empty()) {
                const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - Steady::now());
                pollFds(std::clamp(wait, std::chrono::milliseconds(0), std::chrono::milliseconds(5)));
                continue;
            }
            std::unique_lock lock(mutex_);
            posted_.wait_until(lock, wake, [&] { return !queue_.empty(); });
        }
    }

    std::size_t pending() const
    {
        std::lock_guard lock(mutex_);
        return queue_.size();
    }
    std::int64_t nowMs() const { return now_; }

    // Advances virtual time by `ms`, firing due timers in time order; pending calls run after
    // each firing.
    void advance(std::int64_t ms)
    {
        const auto target = now_ + ms;
        runPending();
        for (;;) {
            Backend* next = nullptr;
            for (auto* b : timers_) {
                if (b->running && b->due <= target && (!next || b->due < next->due))
                    next = b;
            }
            if (!next)
                break;
            now_ = next->due;
            next->due += next->interval;
            next->onFire();
            runPending();
        }
        now_ = target;
    }

private:
    std::function<void()> take()
    {
        std::lock_guard lock(mutex_);
        if (queue_.empty())
            return {};
        auto call = std::move(queue_.front());
        queue_.pop_front();
        return call;
    }

    struct Backend final : TimerBackend {
        Backend(ManualEventLoop& l, std::function<void()> f) : loop(l), onFire(std::move(f)) { loop.timers_.push_back(this); }
        ~Backend() override { std::erase(loop.timers_, this); }
        void start(int ms) override
        {
            running = true;
            interval = ms > 0 ? ms : 1;
            due = loop.now_ + interval;
        }
        void stop() override { running = false; }
        ManualEventLoop& loop;
        std::function<void()> onFire;
        bool running = false;
        std::int64_t interval = 1;
        std::int64_t due = 0;
    };

    struct FdEntry {
        int fd;
        FdInterest interest;
        std::function<void()> onReady;
        bool active;
    };
    struct ManualFdWatch final : FdWatch {
        ManualFdWatch(ManualEventLoop& l, std::shared_ptr<FdEntry> e) : loop(l), entry(std::move(e)) {}
        ~ManualFdWatch() override
        {
            entry->active = false;
            std::erase(loop.fdWatches_, entry);
        }
        ManualEventLoop& loop;
        std::shared_ptr<FdEntry> entry;
    };

    std::vector<std::shared_ptr<FdEntry>> fdWatches_;
    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> queue_;
    std::vector<Backend*> timers_;
    std::int64_t now_ = 0;
};

// A clock the test sets; it can follow the loop's virtual time.
class ManualClock final : public Clock {
public:
    explicit ManualClock(DateTime start = DateTime{2026, 12, 10, 9, 30, 0}) : base_(start) {}
    DateTime now() const override { return loop_ ? base_.addSeconds(loop_->nowMs() / 1000) : base_; }
    void set(DateTime t) { base_ = loop_ ? t.addSeconds(-(loop_->nowMs() / 1000)) : t; }
    void follow(const ManualEventLoop& loop) { loop_ = &loop; }

private:
    DateTime base_;
    const ManualEventLoop* loop_ = nullptr;
};

} // namespace volmara::test
