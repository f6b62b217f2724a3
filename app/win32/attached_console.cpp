#include "app/win32/attached_console.h"

#include "common/win32/utf16.h"

#include <string>

namespace kastrel::app::win32 {
namespace {

// A handle the caller gave: a pipe, a file, or a device that is no console (NUL).
bool is_redirected(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    switch (GetFileType(handle)) {
    case FILE_TYPE_DISK:
    case FILE_TYPE_PIPE:
        return true;
    case FILE_TYPE_CHAR: {
        DWORD mode = 0;
        return GetConsoleMode(handle, &mode) == 0;
    }
    default:
        return false;
    }
}

// Windows' line ends, also inside a text of several lines.
std::string with_crlf(std::string_view line) {
    std::string text;
    text.reserve(line.size() + 2);
    for (char c : line) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    return text + "\r\n";
}

} // namespace

AttachedConsole::AttachedConsole()
    : out_(stream(STD_OUTPUT_HANDLE)), err_(stream(STD_ERROR_HANDLE)) {}

AttachedConsole::~AttachedConsole() {
    if (console_ != INVALID_HANDLE_VALUE)
        CloseHandle(console_);
    if (attached_)
        FreeConsole();
}

AttachedConsole::Stream AttachedConsole::stream(DWORD which) {
    // Taken before attaching: attaching may put the console's handles in their place.
    HANDLE given = GetStdHandle(which);
    if (is_redirected(given))
        return {given, false};
    if (!attach_tried_) {
        attach_tried_ = true;
        attached_ = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
        if (attached_)
            console_ =
                CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    if (console_ == INVALID_HANDLE_VALUE)
        return {};
    return {console_, true};
}

void AttachedConsole::out(std::string_view line) {
    write(out_, line);
}

void AttachedConsole::err(std::string_view line) {
    write(err_, line);
}

void AttachedConsole::write(const Stream& stream, std::string_view line) {
    if (stream.handle == nullptr)
        return;
    const std::string text = with_crlf(line);
    if (stream.console) {
        const std::wstring wide = common::to_utf16(text);
        DWORD written = 0;
        WriteConsoleW(stream.handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                      nullptr);
        return;
    }
    DWORD written = 0;
    WriteFile(stream.handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace kastrel::app::win32
