#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace volmara {

// SIGTERM and SIGINT as a Qt signal: the handler only writes a byte to a socket pair, the event
// loop reads it and emits requested(), so the ordinary shut-down runs on the GUI thread.
// One instance at a time: the handler can reach only one descriptor.
class ShutdownSignals final : public QObject {
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

    bool active() const { return notifier_ != nullptr; }

signals:
    void requested();

private:
    void drain();

    int fds_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace volmara
