#include "app/win32/frm_points_window.h"

#include "app/guarded_event.h"
#include "app/win32/dpi.h"
#include "app/win32/resource_ids.h"
#include "app/win32/win32_dialogs.h"
#include "app/windows_regional.h"
#include "common/win32/utf16.h"

#include <stdexcept>
#include <string_view>
#include <vector>

namespace kastrel::app::win32 {
namespace {

constexpr const wchar_t* class_name = L"KastrelFrmPoints";
// Resizable, with minimise and maximise; the controls stay where they are.
// No WS_CLIPCHILDREN: the group box paints only its frame, so the window must
// paint the background inside it.
constexpr DWORD window_style = WS_OVERLAPPEDWINDOW;
constexpr DWORD window_ex_style = 0;

HICON load_icon(HINSTANCE instance, int size) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KASTREL), IMAGE_ICON, size,
                                         size, LR_DEFAULTCOLOR | LR_SHARED));
}

HCURSOR system_cursor(LPCWSTR which) {
    return LoadCursorW(nullptr, which);
}

int command_id(CommandButton button) {
    switch (button) {
    case CommandButton::cmd_lesen:
        return id_cmd_lesen;
    case CommandButton::cmd_schreiben:
        return id_cmd_schreiben;
    case CommandButton::cmd_allemarkieren:
        return id_cmd_allemarkieren;
    case CommandButton::cmd_alledemarkieren:
        return id_cmd_alledemarkieren;
    }
    throw std::out_of_range("unknown command button");
}

// Captions carry no access keys, so a literal '&' must not become one.
std::wstring without_access_keys(const wchar_t* caption) {
    std::wstring result;
    for (const wchar_t* c = caption; *c != L'\0'; ++c) {
        if (*c == L'&')
            result += L'&';
        result += *c;
    }
    return result;
}

bool is_checked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void set_checked(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace

class FrmPointsWindow::WindowClass {
public:
    explicit WindowClass(HINSTANCE instance) : instance_(instance) {
        WNDCLASSEXW type{};
        type.cbSize = sizeof(type);
        type.lpfnWndProc = &FrmPointsWindow::procedure;
        type.hInstance = instance;
        type.hIcon = load_icon(instance, GetSystemMetrics(SM_CXICON));
        type.hIconSm = load_icon(instance, GetSystemMetrics(SM_CXSMICON));
        type.hCursor = system_cursor(IDC_ARROW);
        type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        type.lpszClassName = class_name;
        if (RegisterClassExW(&type) == 0)
            throw std::runtime_error("window class frm_points cannot be registered");
    }
    ~WindowClass() { UnregisterClassW(class_name, instance_); }
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

private:
    HINSTANCE instance_;
};

FrmPointsWindow::FrmPointsWindow(HINSTANCE instance)
    : instance_(instance), class_(std::make_unique<WindowClass>(instance)) {
    // The load step puts the real caption before the window is shown.
    CreateWindowExW(window_ex_style, class_name, L"Kastrel", window_style, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window_ == nullptr)
        throw std::runtime_error("window frm_points cannot be created");
    create_controls();
    const int dpi = window_dpi(window_);
    apply_layout(dpi);
    const SIZE size = window_size_for_client(
        {twips_to_pixels(client_width_twips, dpi), twips_to_pixels(client_height_twips, dpi)},
        window_style, window_ex_style, dpi);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    set_check_value(1, 1);
}

FrmPointsWindow::~FrmPointsWindow() {
    if (window_ != nullptr) {
        // Closing down, not the user closing: no WM_QUIT from here.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void FrmPointsWindow::create_controls() {
    for (const ControlPlacement& placement : frm_points_layout()) {
        // Static controls show '&' as it is (SS_NOPREFIX); buttons need it doubled.
        const std::wstring caption = std::wstring_view(placement.window_class) == L"Static"
                                         ? std::wstring(placement.caption)
                                         : without_access_keys(placement.caption);
        HWND control = CreateWindowExW(placement.ex_style, placement.window_class, caption.c_str(),
                                       placement.style, 0, 0, 0, 0, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(placement.id)),
                                       instance_, nullptr);
        if (control == nullptr)
            throw std::runtime_error(std::string("control cannot be created: ") + placement.name);
    }
    // Until the load step picks an option, Tab reaches the group at its first one.
    set_option_value(1, false);
}

void FrmPointsWindow::apply_layout(int dpi) {
    auto font = std::make_unique<WindowFont>(dpi);
    for (const ControlPlacement& placement : frm_points_layout()) {
        HWND item = control(placement.id);
        SetWindowPos(item, nullptr, twips_to_pixels(placement.twips.left, dpi),
                     twips_to_pixels(placement.twips.top, dpi),
                     twips_to_pixels(placement.twips.width, dpi),
                     twips_to_pixels(placement.twips.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font->handle()), TRUE);
    }
    // The old font goes only once no control uses it any more.
    font_ = std::move(font);
}

void FrmPointsWindow::show(int show_command) {
    ShowWindow(window_, show_command);
    UpdateWindow(window_);
}

LRESULT CALLBACK FrmPointsWindow::procedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FrmPointsWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FrmPointsWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wparam, lparam);
    return self->handle_message(message, wparam, lparam);
}

LRESULT FrmPointsWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        // Controls only: Enter and Escape arrive as IDOK / IDCANCEL without one.
        if (lparam != 0 && HIWORD(wparam) == BN_CLICKED)
            on_click(LOWORD(wparam));
        return 0;
    case WM_SETCURSOR:
        // Over the controls too: they ask their parent first.
        if (pointer_ != nullptr && LOWORD(lparam) == HTCLIENT) {
            SetCursor(pointer_);
            return TRUE;
        }
        break;
    case WM_ACTIVATE:
        // A plain window does not keep its focused control as a dialog does.
        if (LOWORD(wparam) == WA_INACTIVE) {
            HWND focused = GetFocus();
            focus_ = focused != nullptr && IsChild(window_, focused) ? focused : nullptr;
        } else {
            HWND target = focus_ != nullptr && IsWindow(focus_)
                              ? focus_
                              : GetNextDlgTabItem(window_, nullptr, FALSE);
            if (target != nullptr)
                SetFocus(target);
        }
        return 0;
    case WM_DPICHANGED: {
        apply_layout(HIWORD(wparam));
        const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
        SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(exit_code_.value_or(0));
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

void FrmPointsWindow::on_click(int id) {
    // `events_` is read each time: a handler may end the program.
    const auto report = [this](void (MainWindowEvents::*handler)()) {
        if (events_ != nullptr)
            run_guarded(*this, [&] { (events_->*handler)(); });
    };
    switch (id) {
    case id_cmd_lesen:
        return report(&MainWindowEvents::cmd_lesen_Click);
    case id_cmd_schreiben:
        return report(&MainWindowEvents::cmd_schreiben_Click);
    case id_cmd_allemarkieren:
        return report(&MainWindowEvents::cmd_allemarkieren_Click);
    case id_cmd_alledemarkieren:
        return report(&MainWindowEvents::cmd_alledemarkieren_Click);
    case id_Option1:
    case id_Option2:
    case id_Option3:
    case id_Option4:
        // The auto radio button has checked itself; the others follow here too.
        return set_option_value(id - id_Option1 + 1, true);
    case id_Check1:
    case id_Check2:
    case id_Check3:
        // BN_CLICKED comes after the box has changed, and only from the user:
        // BM_SETCHECK from the logic sends none.
        if (events_ != nullptr)
            run_guarded(*this, [&] { events_->Check_Click(id - id_Check1 + 1); });
        return;
    default:
        return;
    }
}

HWND FrmPointsWindow::option(int number) const {
    if (number < 1 || number > 4)
        throw std::out_of_range("no Option" + std::to_string(number));
    return control(option_id(number));
}

HWND FrmPointsWindow::check(int number) const {
    if (number < 1 || number > 3)
        throw std::out_of_range("no Check" + std::to_string(number));
    return control(check_id(number));
}

void FrmPointsWindow::set_caption(const std::string& caption) {
    SetWindowTextW(window_, common::to_utf16(caption).c_str());
}

void FrmPointsWindow::clear_entries() {
    SendMessageW(list(), LB_RESETCONTENT, 0, 0);
}

void FrmPointsWindow::add_entry(const std::string& text) {
    // Not sorted: LB_ADDSTRING appends.
    SendMessageW(list(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(common::to_utf16(text).c_str()));
}

int FrmPointsWindow::entry_count() const {
    return static_cast<int>(SendMessageW(list(), LB_GETCOUNT, 0, 0));
}

std::string FrmPointsWindow::entry_text(int index) const {
    const LRESULT length = SendMessageW(list(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length == LB_ERR)
        return {};
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list(), LB_GETTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    return common::to_utf8(text.data());
}

bool FrmPointsWindow::entry_selected(int index) const {
    return index >= 0 && SendMessageW(list(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void FrmPointsWindow::set_all_selected(bool selected) {
    // Index -1: every entry in one go.
    SendMessageW(list(), LB_SETSEL, selected ? TRUE : FALSE, -1);
}

bool FrmPointsWindow::option_value(int number) const {
    return is_checked(option(number));
}

void FrmPointsWindow::set_option_value(int number, bool on) {
    HWND chosen = option(number);
    // BM_SETCHECK gives a radio button WS_TABSTOP while it is checked.
    if (on) {
        for (int other = 1; other <= 4; ++other)
            set_checked(option(other), other == number);
        return;
    }
    set_checked(chosen, false);
    bool any = false;
    for (int other = 1; other <= 4; ++other)
        any = any || option_value(other);
    if (!any) {
        HWND first = option(1);
        SetWindowLongPtrW(first, GWL_STYLE, GetWindowLongPtrW(first, GWL_STYLE) | WS_TABSTOP);
    }
}

int FrmPointsWindow::check_value(int number) const {
    return is_checked(check(number)) ? 1 : 0;
}

void FrmPointsWindow::set_check_value(int number, int value) {
    set_checked(check(number), value != 0);
}

void FrmPointsWindow::set_enabled(CommandButton button, bool enabled) {
    EnableWindow(control(command_id(button)), enabled ? TRUE : FALSE);
}

void FrmPointsWindow::set_pointer(Pointer pointer) {
    switch (pointer) {
    case Pointer::Hourglass:
        pointer_ = system_cursor(IDC_WAIT);
        break;
    case Pointer::Arrow:
        pointer_ = system_cursor(IDC_ARROW);
        break;
    case Pointer::Default:
        pointer_ = nullptr;
        break;
    }
    // At once, not at the next mouse move: a handler keeps the loop busy.
    POINT position{};
    if (window_ != nullptr && GetCursorPos(&position)) {
        HWND under = WindowFromPoint(position);
        if (under == window_ || IsChild(window_, under))
            SetCursor(pointer_ != nullptr ? pointer_ : system_cursor(IDC_ARROW));
    }
}

void FrmPointsWindow::show_message(const std::string& text) {
    show_message_box(window_, text);
}

std::optional<std::string> FrmPointsWindow::show_save_dialog(const SaveDialogRequest& request) {
    return ask_save_file(window_, request);
}

void FrmPointsWindow::end_program() {
    exit_code_ = end_program_exit_code;
    // WM_DESTROY posts WM_QUIT with the exit code.
    if (window_ != nullptr)
        DestroyWindow(window_);
    else
        PostQuitMessage(end_program_exit_code);
}

std::string FrmPointsWindow::decimal_separator() const {
    return user_decimal_separator();
}

} // namespace kastrel::app::win32
