#include "ui/platform/qt_event_loop.h"

#include <QMetaObject>
#include <QTimer>

namespace volmara {

namespace {

class QtTimerBackend final : public TimerBackend {
public:
    explicit QtTimerBackend(std::function<void()> onFire)
    {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(onFire));
    }

    // QTimer::start restarts a running timer, which is what a changed interval needs.
    void start(int intervalMs) override { timer_.start(intervalMs); }
    void stop() override { timer_.stop(); }

private:
    QTimer timer_;
};

} // namespace

QtEventLoop::QtEventLoop() : context_(std::make_unique<QObject>()) {}

QtEventLoop::~QtEventLoop() = default;

void QtEventLoop::post(std::function<void()> call)
{
    QMetaObject::invokeMethod(context_.get(), std::move(call), Qt::QueuedConnection);
}

std::unique_ptr<TimerBackend> QtEventLoop::createTimer(std::function<void()> onFire)
{
    return std::make_unique<QtTimerBackend>(std::move(onFire));
}

} // namespace volmara
