#pragma once

#include "core/date_time.h"

#include <chrono>
#include <coroutine>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

namespace volmara {

// Local date and time; injected so that tests run on a manual clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

// The window system's timer behind a core Timer.
class TimerBackend {
public:
    virtual ~TimerBackend() = default;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
};

// What a descriptor watch waits for.
enum class FdInterest { Readable, Writable };

// A descriptor watched by the loop; destroying it ends the watch (also from inside its own call).
class FdWatch {
public:
    virtual ~FdWatch() = default;
};

// The one event loop of the program: queued calls, timers, and the yield that lets everything
// pending run before a suspended operation goes on.
class EventLoop {
public:
    // Sets how long an operation may run on from a yield before its next yield must let the loop
    // turn. Zero (the default): every yield turns the loop. A slice of a few milliseconds keeps
    // the window as responsive as a turn per yield does, without paying a turn for every entry.
    explicit EventLoop(std::chrono::microseconds yieldSlice = {}) : slice_(yieldSlice) {}
    virtual ~EventLoop() = default;

    // Runs `call` after everything already pending. Safe from any thread: the I/O workers hand
    // their answers over this way.
    virtual void post(std::function<void()> call) = 0;
    virtual std::unique_ptr<TimerBackend> createTimer(std::function<void()> onFire) = 0;

    // Calls `onReady` from the loop whenever `fd` is ready for `interest` (readable also on end of
    // stream or error), again and again while it stays ready, until the watch is destroyed. This is
    // how a socket wait is resumed by the socket instead of by polling.
    virtual std::unique_ptr<FdWatch> watchFd(int fd, FdInterest interest, std::function<void()> onReady)
    {
        (void)fd;
        (void)interest;
        (void)onReady;
        throw std::logic_error("this event loop cannot watch descriptors");
    }

    struct YieldAwaiter {
        EventLoop& loop;
        // A frame destroyed while suspended here (shut-down) must not be resumed by the call
        // still queued for it.
        std::shared_ptr<bool> alive;

        explicit YieldAwaiter(EventLoop& l) : loop(l) {}
        YieldAwaiter(YieldAwaiter&&) = default;
        ~YieldAwaiter()
        {
            if (alive)
                *alive = false;
        }
        bool await_ready() const noexcept { return loop.withinSlice(); }
        void await_suspend(std::coroutine_handle<> h)
        {
            alive = std::make_shared<bool>(true);
            loop.post([h, flag = alive, &l = loop] {
                if (!*flag)
                    return;
                l.turned_ = std::chrono::steady_clock::now();
                h.resume();
            });
        }
        void await_resume() const noexcept {}
    };
    // co_await loop.yield(): the suspension point where pending timers and clicks run.
    YieldAwaiter yield() { return YieldAwaiter(*this); }

private:
    bool withinSlice() const
    {
        return slice_.count() > 0 && std::chrono::steady_clock::now() - turned_ < slice_;
    }

    std::chrono::microseconds slice_;
    std::chrono::steady_clock::time_point turned_{};
};

// A periodic timer with the surface the program's controls have: Enabled, Interval, a tick.
// Changing the interval of a running timer restarts its period.
class Timer {
public:
    Timer(EventLoop& loop, int intervalMs, bool enabled = false)
        : interval_(intervalMs), backend_(loop.createTimer([this] { fire(); }))
    {
        setEnabled(enabled);
    }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void onTick(std::function<void()> handler) { handler_ = std::move(handler); }

    bool Enabled() const { return enabled_; }
    void setEnabled(bool on)
    {
        if (on == enabled_)
            return;
        enabled_ = on;
        if (on)
            backend_->start(interval_);
        else
            backend_->stop();
    }

    int Interval() const { return interval_; }
    void setInterval(int ms)
    {
        interval_ = ms;
        if (enabled_)
            backend_->start(interval_);
    }

private:
    void fire()
    {
        if (enabled_ && handler_)
            handler_();
    }

    int interval_;
    bool enabled_ = false;
    std::function<void()> handler_;
    std::unique_ptr<TimerBackend> backend_;
};

} // namespace volmara
