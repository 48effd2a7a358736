#pragma once

#include "platform/event_loop.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace volmara::test {

// A deterministic event loop over virtual time: posted calls run in order, timers fire when
// the test advances the clock past their due time.
class ManualEventLoop final : public EventLoop {
public:
    void post(std::function<void()> call) override { queue_.push_back(std::move(call)); }

    std::unique_ptr<TimerBackend> createTimer(std::function<void()> onFire) override
    {
        return std::make_unique<Backend>(*this, std::move(onFire));
    }

    // Runs everything pending, including what those calls post, up to a bound.
    void runPending(int limit = 100000)
    {
        while (!queue_.empty() && limit-- > 0) {
            auto call = std::move(queue_.front());
            queue_.pop_front();
            call();
        }
    }

    // Runs only the calls pending now (one round of a real loop).
    void runOneRound()
    {
        auto n = queue_.size();
        while (n-- > 0 && !queue_.empty()) {
            auto call = std::move(queue_.front());
            queue_.pop_front();
            call();
        }
    }

    std::size_t pending() const { return queue_.size(); }
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
