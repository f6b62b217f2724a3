#include "app/win32/registered_window_class.h"

#include <stdexcept>

namespace kastrel::app::win32 {

RegisteredWindowClass::RegisteredWindowClass(HINSTANCE instance, const wchar_t* name,
                                             WNDPROC procedure, const char* failure, HICON icon,
                                             HICON small_icon)
    : instance_(instance), name_(name) {
    WNDCLASSEXW type{};
    type.cbSize = sizeof(type);
    type.lpfnWndProc = procedure;
    type.hInstance = instance;
    type.hIcon = icon;
    type.hIconSm = small_icon;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = name;
    if (RegisterClassExW(&type) == 0)
        throw std::runtime_error(failure);
}

RegisteredWindowClass::~RegisteredWindowClass() {
    UnregisterClassW(name_, instance_);
}

} // namespace kastrel::app::win32
