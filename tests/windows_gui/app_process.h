#pragma once

#include "common/non_copyable.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace kastrel::wintest {

// The Kastrel.exe the tests run: KASTREL_EXE, else the one of this build.
std::wstring kastrel_path();

// What Kastrel.exe started with arguments left: its exit code (nothing when
// it did not end in time) and its standard output and error, each a pipe.
struct CommandLineRun {
    std::optional<DWORD> exit_code;
    std::string out;
    std::string err;
};
CommandLineRun run_with_arguments(const std::vector<std::wstring>& arguments);

// Kastrel.exe started by the test: the one from this build, or the one named
// by KASTREL_EXE. Closed (WM_CLOSE, then TerminateProcess) when this goes.
class AppProcess : private common::NonCopyable {
public:
    AppProcess();
    ~AppProcess();

    DWORD id() const { return process_.dwProcessId; }
    // Its visible top-level window with this caption, once it is there.
    HWND wait_for_window(const wchar_t* caption, std::chrono::milliseconds timeout) const;
    // The exit code once it has ended within `timeout`.
    std::optional<DWORD> wait_for_exit(std::chrono::milliseconds timeout) const;

private:
    PROCESS_INFORMATION process_{};
};

} // namespace kastrel::wintest
