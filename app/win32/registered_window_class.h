#pragma once

#include "common/non_copyable.h"

#include <windows.h>

namespace kastrel::app::win32 {

// A window class of the program, registered while this lives: the arrow
// pointer and the dialog background, as all of its windows have them.
class RegisteredWindowClass : private common::NonCopyable {
public:
    // Throws std::runtime_error with `failure` when the class cannot be registered.
    RegisteredWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                          const char* failure, HICON icon = nullptr, HICON small_icon = nullptr);
    ~RegisteredWindowClass();

private:
    HINSTANCE instance_;
    const wchar_t* name_;
};

} // namespace kastrel::app::win32
