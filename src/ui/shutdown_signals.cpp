#include "ui/shutdown_signals.h"

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace volmara {

namespace {

// Written by the handler, so it has to be reachable without any object.
volatile std::sig_atomic_t gWriteFd = -1;

struct sigaction gPrevious[2];
constexpr int kSignals[2] = {SIGTERM, SIGINT};

extern "C" void onShutdownSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    const int fd = gWriteFd;
    if (fd >= 0)
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    errno = savedErrno;
}

} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent)
{
    if (gWriteFd >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds_) != 0) {
        fds_[0] = fds_[1] = -1;
        return;
    }
    gWriteFd = fds_[1];
    notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { drain(); });

    struct sigaction action {};
    action.sa_handler = onShutdownSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 2; ++i)
        ::sigaction(kSignals[i], &action, &gPrevious[i]);
}

ShutdownSignals::~ShutdownSignals()
{
    if (!notifier_)
        return;
    for (int i = 0; i < 2; ++i)
        ::sigaction(kSignals[i], &gPrevious[i], nullptr);
    gWriteFd = -1;
    notifier_.reset();
    ::close(fds_[0]);
    ::close(fds_[1]);
}

void ShutdownSignals::drain()
{
    char buffer[64];
    while (::read(fds_[0], buffer, sizeof buffer) > 0) {
    }
    emit requested();
}

} // namespace volmara
