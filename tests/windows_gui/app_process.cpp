#include "tests/windows_gui/app_process.h"

#include "tests/windows/server_process.h"
#include "tests/windows_gui/ui_access.h"

#include <array>
#include <stdexcept>
#include <string>

namespace kastrel::wintest {

std::wstring kastrel_path() {
    std::array<wchar_t, 1024> named{};
    if (const DWORD length =
            GetEnvironmentVariableW(L"KASTREL_EXE", named.data(), static_cast<DWORD>(named.size()));
        length > 0 && length < named.size())
        return named.data();
    // Next to this build's test program: <build>\tests\windows_gui\ and <build>\app\win32\.
    std::array<wchar_t, 1024> own{};
    GetModuleFileNameW(nullptr, own.data(), static_cast<DWORD>(own.size()));
    std::wstring path = own.data();
    for (int level = 0; level < 3; ++level)
        path.erase(path.find_last_of(L"\\/"));
    return path + L"\\app\\win32\\Kastrel.exe";
}

AppProcess::AppProcess() {
    std::wstring command_line = L"\"" + kastrel_path() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
        throw std::runtime_error("cannot start Kastrel.exe");
}

AppProcess::~AppProcess() {
    if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
        for (HWND window : top_level_windows(id()))
            PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 10000);
        }
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND AppProcess::wait_for_window(const wchar_t* caption, std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    wait_until(timeout, [&] {
        for (HWND window : top_level_windows(id()))
            if (IsWindowVisible(window) && window_text(window) == caption)
                found = window;
        return found != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
    });
    return found;
}

std::optional<DWORD> AppProcess::wait_for_exit(std::chrono::milliseconds timeout) const {
    return exit_code_within(process_.hProcess, timeout);
}

} // namespace kastrel::wintest
