#include "ui/platform/qt_event_loop.h"

#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <deque>
#include <mutex>

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

// A QSocketNotifier behind an FdWatch. The watch may end from inside its own call (a socket
// that closes on end of stream), so the notifier is switched off at once and deleted later.
class QtFdWatch final : public FdWatch {
public:
    QtFdWatch(QObject* owner, int fd, FdInterest interest, std::function<void()> onReady)
        : notifier_(new QSocketNotifier(static_cast<qintptr>(fd),
                                        interest == FdInterest::Readable ? QSocketNotifier::Read : QSocketNotifier::Write,
                                        owner))
    {
        QObject::connect(notifier_.data(), &QSocketNotifier::activated, notifier_.data(), std::move(onReady));
        notifier_->setEnabled(true);
    }
    ~QtFdWatch() override
    {
        if (notifier_) {
            notifier_->setEnabled(false);
            notifier_->disconnect();
            notifier_->deleteLater();
        }
    }
    QtFdWatch(const QtFdWatch&) = delete;
    QtFdWatch& operator=(const QtFdWatch&) = delete;

private:
    QPointer<QSocketNotifier> notifier_;
};

} // namespace

struct QtEventLoop::Queue {
    std::mutex mutex;
    std::deque<std::function<void()>> calls;
    bool roundPosted = false;
};

QtEventLoop::QtEventLoop()
    : EventLoop(yieldSlice), context_(std::make_unique<QObject>()), queue_(std::make_shared<Queue>())
{
}

QtEventLoop::~QtEventLoop() = default;

void QtEventLoop::post(std::function<void()> call)
{
    {
        std::lock_guard lock(queue_->mutex);
        queue_->calls.push_back(std::move(call));
        if (queue_->roundPosted)
            return;
        queue_->roundPosted = true;
    }
    QMetaObject::invokeMethod(context_.get(), [this] { runRound(); }, Qt::QueuedConnection);
}

void QtEventLoop::runRound()
{
    std::deque<std::function<void()>> round;
    {
        std::lock_guard lock(queue_->mutex);
        round.swap(queue_->calls);
        queue_->roundPosted = false; // what these calls queue goes to the next round
    }
    for (auto& call : round)
        call();
}

std::unique_ptr<TimerBackend> QtEventLoop::createTimer(std::function<void()> onFire)
{
    return std::make_unique<QtTimerBackend>(std::move(onFire));
}

std::unique_ptr<FdWatch> QtEventLoop::watchFd(int fd, FdInterest interest, std::function<void()> onReady)
{
    return std::make_unique<QtFdWatch>(context_.get(), fd, interest, std::move(onReady));
}

} // namespace volmara
