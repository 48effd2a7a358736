#pragma once

#include "platform/event_loop.h"

#include <QObject>

#include <functional>
#include <memory>

namespace volmara {

// The program's event loop on Qt's: queued calls and QTimer-backed timers, all on the GUI thread.
class QtEventLoop final : public EventLoop {
public:
    QtEventLoop();
    ~QtEventLoop() override;
    QtEventLoop(const QtEventLoop&) = delete;
    QtEventLoop& operator=(const QtEventLoop&) = delete;

    void post(std::function<void()> call) override;
    std::unique_ptr<TimerBackend> createTimer(std::function<void()> onFire) override;

private:
    // Calls still queued when the loop goes away are dropped with their receiver.
    std::unique_ptr<QObject> context_;
};

} // namespace volmara
