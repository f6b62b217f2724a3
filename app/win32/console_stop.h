#pragma once

#include "common/non_copyable.h"

#include <windows.h>

namespace kastrel::app::win32 {

// Ctrl+C, Ctrl+Break and the console window closed (also log-off and
// shut-down, where a console program hears of them), which would end the run
// from the command line at once, are noted instead while this lives, so that
// a run going on can be given up first: its temporary file removed, the
// target as it was. Where the system ends the program as soon as it has been
// told, it waits until this goes. The program's console is the parent's,
// attached if the standard handles had no need of it. One per process.
class ConsoleStop : private common::NonCopyable {
public:
    ConsoleStop();
    // Lets the system end the program, if it is waiting to.
    ~ConsoleStop();

    bool requested() const noexcept;

    // The status a console program ended by Ctrl+C ends with (STATUS_CONTROL_C_EXIT).
    static constexpr DWORD stopped_exit_code = 0xC000013A;

private:
    bool attached_ = false;
};

} // namespace kastrel::app::win32
