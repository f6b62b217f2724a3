#include "app/win32/dpi.h"

namespace kastrel::app::win32 {
namespace {

// Looked up at run time: not every Windows (nor Wine) has these.
template <typename Function> Function user32_function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

using SetProcessDpiAwarenessContextFunction = BOOL(WINAPI*)(HANDLE);
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
const HANDLE per_monitor_aware_v2 = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));

} // namespace

void become_dpi_aware() {
    // The manifest asks for the same; this covers a copy run without it.
    const auto set_context =
        user32_function<SetProcessDpiAwarenessContextFunction>("SetProcessDpiAwarenessContext");
    if (set_context != nullptr && set_context(per_monitor_aware_v2))
        return;
    SetProcessDPIAware();
}

int window_dpi(HWND window) {
    if (const auto get_dpi = user32_function<GetDpiForWindowFunction>("GetDpiForWindow")) {
        if (const UINT dpi = get_dpi(window); dpi != 0)
            return static_cast<int>(dpi);
    }
    HDC context = GetDC(window);
    const int dpi = GetDeviceCaps(context, LOGPIXELSY);
    ReleaseDC(window, context);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

SIZE window_size_for_client(SIZE client, DWORD style, DWORD ex_style, int dpi) {
    RECT rect{0, 0, client.cx, client.cy};
    const auto adjust =
        user32_function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (adjust == nullptr || !adjust(&rect, style, FALSE, ex_style, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rect, style, FALSE, ex_style);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace kastrel::app::win32
