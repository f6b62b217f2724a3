#pragma once

#include "common/non_copyable.h"

namespace kastrel::app {

// SIGTERM, SIGHUP and SIGINT, which would end the program at once, are noted
// instead while this lives, so that a run going on can be given up first:
// its temporary file removed, the target as it was. The program then ends as
// the signal would have ended it (end_as_signalled). One per process.
class EndSignals : private common::NonCopyable {
public:
    EndSignals();
    // The signals' default actions again.
    ~EndSignals();

    // The signal received last; 0 while none has come.
    int received() const noexcept;
    // Readable once a signal has come, for an event loop to watch;
    // drain_wake() empties it.
    int wake_fd() const noexcept { return wake_[0]; }
    void drain_wake() const noexcept;

    // Ends the process with the received signal's default action, so that
    // whoever started it sees it ended by that signal.
    [[noreturn]] void end_as_signalled() const;

private:
    int wake_[2] = {-1, -1};
};

} // namespace kastrel::app
