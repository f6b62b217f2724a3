#include "tests/windows/server_process.h"

#include "common/win32/utf16.h"
#include "vormesa-sim/win32/server_ids.h"

#include <array>
#include <objbase.h>
#include <stdexcept>

namespace kastrel::wintest {
namespace {

constexpr DWORD start_timeout_ms = 20000;

} // namespace

std::wstring quoted_argument(const std::wstring& text) {
    std::wstring result = L"\"";
    for (wchar_t c : text) {
        if (c == L'"')
            result += L'\\';
        result += c;
    }
    return result + L"\"";
}

std::wstring registered_server_path() {
    std::array<wchar_t, 40> class_id{};
    StringFromGUID2(vormesa_sim::win32::application_class_id, class_id.data(),
                    static_cast<int>(class_id.size()));
    const std::wstring key =
        L"Software\\Classes\\CLSID\\" + std::wstring(class_id.data()) + L"\\LocalServer32";
    std::array<wchar_t, 1024> value{};
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value.data(),
                     &size) != ERROR_SUCCESS)
        throw std::runtime_error("stand-in host not registered (vormesa-sim-win /regserver)");
    std::wstring path = value.data();
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
        path = path.substr(1, path.size() - 2);
    return path;
}

ServerProcess::ServerProcess(const std::vector<std::string>& args) {
    std::wstring command_line = quoted_argument(registered_server_path());
    for (const std::string& arg : args)
        command_line += L" " + quoted_argument(common::to_utf16(arg));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    // Started suspended so the ready event exists before the server looks for it.
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &process_))
        throw std::runtime_error("cannot start the stand-in host");
    const std::wstring event_name = vormesa_sim::win32::ready_event_name(process_.dwProcessId);
    HANDLE ready_event = CreateEventW(nullptr, TRUE, FALSE, event_name.c_str());
    ResumeThread(process_.hThread);
    const HANDLE handles[] = {ready_event, process_.hProcess};
    ready_ = WaitForMultipleObjects(2, handles, FALSE, start_timeout_ms) == WAIT_OBJECT_0;
    CloseHandle(ready_event);
}

ServerProcess::~ServerProcess() {
    stop();
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

void ServerProcess::stop() {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0)
        return;
    PostThreadMessageW(process_.dwThreadId, WM_QUIT, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 10000);
    }
}

std::optional<DWORD> ServerProcess::wait_for_exit(std::chrono::milliseconds timeout) {
    return exit_code_within(process_.hProcess, timeout);
}

std::optional<DWORD> exit_code_within(HANDLE process, std::chrono::milliseconds timeout) {
    if (WaitForSingleObject(process, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

} // namespace kastrel::wintest
