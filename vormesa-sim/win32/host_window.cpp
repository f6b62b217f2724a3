#include "vormesa-sim/win32/host_window.h"

#include "common/win32/utf16.h"
#include "vormesa-sim/host_value.h"

namespace vormesa_sim::win32 {
namespace {

constexpr const wchar_t* window_class = L"TorvenholmVormesaWndClass";

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

[[noreturn]] void fail(const char* what) {
    throw HostError(static_cast<std::int32_t>(HRESULT_FROM_WIN32(GetLastError())), what);
}

} // namespace

HostWindow::HostWindow(const std::string& title) : instance_(GetModuleHandleW(nullptr)) {
    WNDCLASSEXW type{};
    type.cbSize = sizeof(type);
    type.lpfnWndProc = window_procedure;
    type.hInstance = instance_;
    type.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    type.lpszClassName = window_class;
    if (!RegisterClassExW(&type))
        fail("Fensterklasse kann nicht registriert werden");
    const std::wstring caption = kastrel::common::to_utf16(title);
    window_ = CreateWindowExW(0, window_class, caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 480, 160, nullptr, nullptr, instance_, nullptr);
    if (!window_) {
        UnregisterClassW(window_class, instance_);
        fail("Hauptfenster kann nicht angelegt werden");
    }
    ShowWindow(window_, SW_SHOWNOACTIVATE);
}

HostWindow::~HostWindow() {
    // Already gone when the user closed it.
    if (IsWindow(window_))
        DestroyWindow(window_);
    UnregisterClassW(window_class, instance_);
}

} // namespace vormesa_sim::win32
