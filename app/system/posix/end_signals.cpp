#include "app/system/posix/end_signals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kastrel::app {
namespace {

constexpr int ending_signals[] = {SIGTERM, SIGHUP, SIGINT};

// A handler gets no context, so what it touches lives here; it only notes
// the signal and wakes the loop, both safe at any point of the program.
volatile std::sig_atomic_t received_signal = 0;
volatile std::sig_atomic_t wake_write = -1;

extern "C" void note_signal(int number) {
    const int saved = errno;
    received_signal = number;
    if (wake_write >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_write, &byte, 1);
    }
    errno = saved;
}

void set_action(int number, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Calls the handler interrupts are taken up again where the system can.
    action.sa_flags = SA_RESTART;
    ::sigaction(number, &action, nullptr);
}

} // namespace

EndSignals::EndSignals() {
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        wake_[0] = wake_[1] = -1;
    wake_write = wake_[1];
    for (const int number : ending_signals)
        set_action(number, note_signal);
}

EndSignals::~EndSignals() {
    for (const int number : ending_signals)
        set_action(number, SIG_DFL);
    wake_write = -1;
    for (const int fd : wake_)
        if (fd >= 0)
            ::close(fd);
}

int EndSignals::received() const noexcept {
    return received_signal;
}

void EndSignals::drain_wake() const noexcept {
    char bytes[64];
    while (wake_[0] >= 0 && ::read(wake_[0], bytes, sizeof bytes) > 0) {
    }
}

void EndSignals::end_as_signalled() const {
    const int number = received_signal;
    set_action(number, SIG_DFL);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, number);
    ::sigprocmask(SIG_UNBLOCK, &unblocked, nullptr);
    ::raise(number);
    ::_exit(128 + number); // not reached: the default action ends the process
}

} // namespace kastrel::app
