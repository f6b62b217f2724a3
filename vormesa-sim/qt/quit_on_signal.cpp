#include "vormesa-sim/qt/quit_on_signal.h"

#include <QCoreApplication>
#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

namespace vormesa_sim {

namespace {

sigset_t quit_signals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

} // namespace

QuitOnSignal::QuitOnSignal() {
    const sigset_t set = quit_signals();
    // Threads inherit the mask, so the signal can only arrive through the fd.
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    fd_ = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

QuitOnSignal::~QuitOnSignal() {
    notifier_.reset();
    if (fd_ >= 0)
        ::close(fd_);
}

void QuitOnSignal::watch() {
    if (fd_ < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        signalfd_siginfo info{};
        while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        }
        QCoreApplication::quit();
    });
}

} // namespace vormesa_sim
