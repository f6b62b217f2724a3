#pragma once

#include "common/non_copyable.h"

#include <string>
#include <windows.h>

namespace vormesa_sim::win32 {

// The host's main window, of the class clients look for. Closing it ends the
// server's message loop.
class HostWindow : private kastrel::common::NonCopyable {
public:
    // Throws HostError when the window cannot be created.
    explicit HostWindow(const std::string& title);
    ~HostWindow();

private:
    HINSTANCE instance_;
    HWND window_ = nullptr;
};

} // namespace vormesa_sim::win32
