#pragma once

#include "common/non_copyable.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace kastrel::wintest {

// The registered stand-in host, started by the test with its own command
// line. Once it is ready, COM hands its class object to every client instead
// of launching another server. Stopped when this object goes.
class ServerProcess : private common::NonCopyable {
public:
    explicit ServerProcess(const std::vector<std::string>& args);
    ~ServerProcess();

    // Whether its class object is registered; false when it ended first.
    bool ready() const { return ready_; }
    // Asks it to end (WM_QUIT to its main thread); TerminateProcess if it does not.
    void stop();
    // The exit code once it has ended within `timeout`.
    std::optional<DWORD> wait_for_exit(std::chrono::milliseconds timeout);

private:
    PROCESS_INFORMATION process_{};
    bool ready_ = false;
};

// The server executable as registered for ZORVAT.Application.
std::wstring registered_server_path();

// One argument of a command line, as the started program splits it again.
std::wstring quoted_argument(const std::wstring& text);

// The exit code of a process that ends within `timeout`, else nothing.
std::optional<DWORD> exit_code_within(HANDLE process, std::chrono::milliseconds timeout);

} // namespace kastrel::wintest
