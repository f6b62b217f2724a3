#include "tests/windows_gui/app_process.h"

#include "common/non_copyable.h"
#include "tests/windows/server_process.h"
#include "tests/windows_gui/ui_access.h"

#include <array>
#include <stdexcept>
#include <string>
#include <thread>

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

namespace {

// An inheritable write end for the child, and a thread that reads the other end.
class CapturedPipe : private common::NonCopyable {
public:
    explicit CapturedPipe(std::string& text) {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        if (!CreatePipe(&read_, &write_, &inherit, 0))
            throw std::runtime_error("cannot create a pipe");
        SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
        reader_ = std::thread([this, &text] {
            std::array<char, 4096> buffer{};
            DWORD got = 0;
            while (
                ReadFile(read_, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
                got > 0)
                text.append(buffer.data(), got);
        });
    }
    ~CapturedPipe() {
        close_write_end();
        reader_.join();
        CloseHandle(read_);
    }

    HANDLE write_end() const { return write_; }
    // Once the child has its copy: the reader ends when the child's copy closes.
    void close_write_end() {
        if (write_ != nullptr)
            CloseHandle(write_);
        write_ = nullptr;
    }

private:
    HANDLE read_ = nullptr;
    HANDLE write_ = nullptr;
    std::thread reader_;
};

} // namespace

CommandLineRun run_with_arguments(const std::vector<std::wstring>& arguments) {
    CommandLineRun run;
    std::wstring command_line = quoted_argument(kastrel_path());
    for (const std::wstring& argument : arguments)
        command_line += L" " + quoted_argument(argument);
    PROCESS_INFORMATION process{};
    {
        CapturedPipe out(run.out);
        CapturedPipe err(run.err);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = out.write_end();
        startup.hStdError = err.write_end();
        if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            nullptr, &startup, &process))
            throw std::runtime_error("cannot start Kastrel.exe");
        out.close_write_end();
        err.close_write_end();
        run.exit_code = exit_code_within(process.hProcess, std::chrono::seconds(60));
        if (!run.exit_code)
            TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
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
