#include "app/win32/console_stop.h"

#include <atomic>

namespace kastrel::app::win32 {
namespace {

// The system's handler gets no context, so what it touches lives here.
std::atomic<bool> stop_requested{false};
std::atomic<bool> run_over{false}; // the program may be ended

BOOL WINAPI on_console_event(DWORD event) {
    stop_requested = true;
    // The program ends by itself once the run has given up.
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        return TRUE;
    // The console closes, or the session ends: the system ends the program
    // as soon as this returns, or when its own time is up.
    while (!run_over)
        Sleep(10);
    return TRUE;
}

} // namespace

ConsoleStop::ConsoleStop() {
    if (GetConsoleWindow() == nullptr)
        attached_ = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
    SetConsoleCtrlHandler(on_console_event, TRUE);
}

ConsoleStop::~ConsoleStop() {
    run_over = true;
    SetConsoleCtrlHandler(on_console_event, FALSE);
    if (attached_)
        FreeConsole();
}

bool ConsoleStop::requested() const noexcept {
    return stop_requested;
}

} // namespace kastrel::app::win32
