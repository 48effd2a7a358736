#pragma once

#include "platform/event_loop.h"

#include <QObject>

#include <functional>
#include <memory>

namespace volmara {

// The program's event loop on Qt's: queued calls and QTimer-backed timers, all on the GUI thread.
// Queued calls wait in one list and run in rounds: each round is one Qt event and runs the calls
// queued before it started, so a call queued by a yield runs after everything else pending.
// A yield turns the loop at least every `yieldSlice`.
class QtEventLoop final : public EventLoop {
public:
    QtEventLoop();
    ~QtEventLoop() override;
    QtEventLoop(const QtEventLoop&) = delete;
    QtEventLoop& operator=(const QtEventLoop&) = delete;

    void post(std::function<void()> call) override;
    std::unique_ptr<TimerBackend> createTimer(std::function<void()> onFire) override;
    std::unique_ptr<FdWatch> watchFd(int fd, FdInterest interest, std::function<void()> onReady) override;

    static constexpr std::chrono::microseconds yieldSlice{4000};

private:
    struct Queue;
    void runRound();

    // Calls still queued when the loop goes away are dropped with their receiver.
    std::unique_ptr<QObject> context_;
    std::shared_ptr<Queue> queue_;
};

} // namespace volmara
