#include "app/win32/progress_window.h"

#include "app/texts/program_identity.h"
#include "app/win32/dpi.h"
#include "app/win32/registered_window_class.h"
#include "common/win32/utf16.h"

#include <commctrl.h>

namespace kastrel::app::win32 {
namespace {

constexpr const wchar_t* class_name = L"KastrelProgress";
constexpr DWORD window_style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD window_ex_style = WS_EX_DLGMODALFRAME;
// The client area at 96 DPI, and where its parts go.
constexpr SIZE client_size{360, 118};
constexpr RECT line_rect{12, 10, 348, 44};
constexpr RECT bar_rect{12, 50, 348, 68};
constexpr RECT cancel_rect{135, 80, 225, 106};
constexpr int bar_steps = 1000;

int scaled(int value, int dpi) {
    return MulDiv(value, dpi, 96);
}

HWND create_child(HWND parent, HINSTANCE instance, const wchar_t* window_class, const wchar_t* text,
                  DWORD style, int id, const RECT& at, int dpi) {
    return CreateWindowExW(0, window_class, text, WS_CHILD | WS_VISIBLE | style,
                           scaled(at.left, dpi), scaled(at.top, dpi),
                           scaled(at.right - at.left, dpi), scaled(at.bottom - at.top, dpi), parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

bool is_input(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

} // namespace

class ProgressWindow::WindowClass : public RegisteredWindowClass {
public:
    explicit WindowClass(HINSTANCE instance)
        : RegisteredWindowClass(instance, class_name, &ProgressWindow::procedure,
                                "window class of the progress window cannot be registered") {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
    }
};

ProgressWindow::ProgressWindow(HINSTANCE instance, HWND main)
    : instance_(instance), main_(main), class_(std::make_unique<WindowClass>(instance)) {}

ProgressWindow::~ProgressWindow() {
    if (window_ != nullptr)
        DestroyWindow(window_);
}

void ProgressWindow::begin_run(ProgressEvents& events) {
    events_ = &events;
    // As a modal dialog does to its owner: no input reaches it or its controls.
    main_was_enabled_ = !EnableWindow(main_, FALSE);
}

void ProgressWindow::end_run() {
    // Dropped while the main window is still disabled: nothing is kept for later.
    pump();
    // The owner first, so that activation goes back to it.
    EnableWindow(main_, main_was_enabled_ ? TRUE : FALSE);
    if (window_ != nullptr) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
    font_.reset();
    events_ = nullptr;
}

void ProgressWindow::create_window() {
    const int dpi = window_dpi(main_);
    const SIZE size =
        window_size_for_client({scaled(client_size.cx, dpi), scaled(client_size.cy, dpi)},
                               window_style, window_ex_style, dpi);
    RECT owner{};
    GetWindowRect(main_, &owner);
    const int x = owner.left + (owner.right - owner.left - size.cx) / 2;
    const int y = owner.top + (owner.bottom - owner.top - size.cy) / 2;
    window_ = CreateWindowExW(window_ex_style, class_name,
                              common::to_utf16(identity::application_title).c_str(), window_style,
                              x, y, size.cx, size.cy, main_, nullptr, instance_, this);
    if (window_ == nullptr)
        return;
    font_ = std::make_unique<WindowFont>(dpi);
    HWND line = create_child(window_, instance_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, line_id,
                             line_rect, dpi);
    HWND bar =
        create_child(window_, instance_, PROGRESS_CLASSW, L"", PBS_MARQUEE, bar_id, bar_rect, dpi);
    HWND cancel = create_child(window_, instance_, L"BUTTON", L"Abbrechen",
                               BS_DEFPUSHBUTTON | WS_TABSTOP, cancel_id, cancel_rect, dpi);
    SendMessageW(bar, PBM_SETRANGE32, 0, bar_steps);
    SendMessageW(bar, PBM_SETMARQUEE, TRUE, 30);
    for (HWND child : {line, cancel})
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_->handle()), TRUE);
    ShowWindow(window_, SW_SHOW);
    SetFocus(cancel);
    UpdateWindow(window_);
}

void ProgressWindow::show_progress() {
    if (window_ == nullptr && events_ != nullptr)
        create_window();
}

void ProgressWindow::set_progress(const std::string& line, std::optional<double> fraction) {
    if (window_ == nullptr)
        return;
    SetDlgItemTextW(window_, line_id, common::to_utf16(line).c_str());
    HWND bar = GetDlgItem(window_, bar_id);
    const LONG_PTR style = GetWindowLongPtrW(bar, GWL_STYLE);
    if (!fraction) {
        if (!(style & PBS_MARQUEE)) {
            SetWindowLongPtrW(bar, GWL_STYLE, style | PBS_MARQUEE);
            SendMessageW(bar, PBM_SETMARQUEE, TRUE, 30);
        }
        return;
    }
    if (style & PBS_MARQUEE) {
        SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
        SetWindowLongPtrW(bar, GWL_STYLE, style & ~LONG_PTR{PBS_MARQUEE});
    }
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(*fraction * bar_steps), 0);
}

bool ProgressWindow::is_main_window_input(const MSG& message) const {
    return is_input(message.message) && message.hwnd != nullptr &&
           (message.hwnd == main_ || IsChild(main_, message.hwnd));
}

void ProgressWindow::pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // For the program's own loop, once the run is over.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (is_main_window_input(message))
            continue;
        if (window_ != nullptr && IsDialogMessageW(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

LRESULT CALLBACK ProgressWindow::procedure(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(
                              reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams));
    auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_COMMAND:
        // "Abbrechen" or Escape; the window stays until the run has ended.
        if (LOWORD(wparam) == cancel_id && self != nullptr)
            self->cancel();
        return 0;
    case WM_CLOSE:
        if (self != nullptr)
            self->cancel();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace kastrel::app::win32
