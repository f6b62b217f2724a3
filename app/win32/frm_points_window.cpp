#include "app/win32/frm_points_window.h"

#include "app/system/windows_regional.h"
#include "app/win32/dpi.h"
#include "app/win32/evaluation_window.h"
#include "app/win32/frm_points_layout.h"
#include "app/win32/resource_ids.h"
#include "app/win32/win32_dialogs.h"
#include "common/win32/utf16.h"

#include <stdexcept>
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

bool button_checked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void check_button(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace

FrmPointsWindow::FrmPointsWindow(HINSTANCE instance)
    : instance_(instance), class_(instance, class_name, &FrmPointsWindow::procedure,
                                  "window class frm_points cannot be registered",
                                  load_icon(instance, GetSystemMetrics(SM_CXICON)),
                                  load_icon(instance, GetSystemMetrics(SM_CXSMICON))) {
    const Form& form = frm_points_form();
    CreateWindowExW(window_ex_style, class_name, common::to_utf16(form.stored_caption).c_str(),
                    window_style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    nullptr, nullptr, instance, this);
    if (window_ == nullptr)
        throw std::runtime_error("window frm_points cannot be created");
    create_controls();
    const int dpi = window_dpi(window_);
    apply_layout(dpi);
    const SIZE size = window_size_for_client({twips_to_pixels(form.client_width_twips, dpi),
                                              twips_to_pixels(form.client_height_twips, dpi)},
                                             window_style, window_ex_style, dpi);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    progress_ = std::make_unique<ProgressWindow>(instance_, window_);
    ending_ = std::make_unique<EndingProgressView>(*progress_);
    // As the system would end it, but only once a run has given up its file.
    ending_->set_end([] { TerminateProcess(GetCurrentProcess(), 0); });
}

FrmPointsWindow::~FrmPointsWindow() {
    if (window_ != nullptr) {
        // Closing down, not the user closing: no WM_QUIT from here.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void FrmPointsWindow::create_controls() {
    const Form& form = frm_points_form();
    for (const Control which : creation_order()) {
        const FormControl& description = form[which];
        const ChildWindow child = child_window(description);
        // Static controls show '&' as it is (SS_NOPREFIX); buttons need it doubled.
        const std::wstring caption = common::to_utf16(
            description.kind == ControlKind::label ? std::string(description.caption)
                                                   : without_access_keys(description.caption));
        HWND created = CreateWindowExW(
            child.ex_style, child.window_class, caption.c_str(), child.style, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id(which))), instance_, nullptr);
        if (created == nullptr)
            throw std::runtime_error(std::string("control cannot be created: ") + description.name);
        if (description.initially == Initially::checked)
            check_button(created, true);
    }
    // Until the load step picks an option, Tab reaches the group at its first one.
    set_checked(option_control(1), false);
}

void FrmPointsWindow::apply_layout(int dpi) {
    auto font = std::make_unique<WindowFont>(dpi);
    for (const FormControl& description : frm_points_form().controls) {
        HWND item = control(description.control);
        const PixelRect at = to_pixels(description.twips, dpi);
        SetWindowPos(item, nullptr, at.left, at.top, at.width, at.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font->handle()), TRUE);
    }
    // The old font goes only once no control uses it any more.
    font_ = std::move(font);
}

HWND FrmPointsWindow::control(Control which) const {
    return GetDlgItem(window_, control_id(which));
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
    case WM_CLOSE:
        // During a run closing asks to give the run up; the program goes on.
        if (progress_ && progress_->in_run()) {
            progress_->cancel();
            return 0;
        }
        break;
    case WM_QUERYENDSESSION:
        // The session is to end (log-off, shut-down): a run going on gives up
        // now, while the system waits for the answers, so that nothing of it
        // is left when the session ends. Another program may still keep it
        // from ending; this one stays open until then.
        if (progress_ && progress_->in_run())
            progress_->cancel();
        return TRUE;
    case WM_ENDSESSION:
        // It ends: the system ends the program once this returns. This ends it
        // at once, or once a run that is still going has given up.
        if (wparam != FALSE && ending_)
            ending_->end_requested();
        return 0;
    case WM_SETCURSOR:
        // Over the controls too: they ask their parent first. While a run
        // holds the window disabled the system reports HTERROR there.
        if (pointer_ != nullptr &&
            (LOWORD(lparam) == HTCLIENT ||
             (LOWORD(lparam) == static_cast<WORD>(HTERROR) && progress_ && progress_->in_run()))) {
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
        PostQuitMessage(exit_code().value_or(0));
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
    const std::optional<Control> which = control_with_id(id);
    if (!which)
        return;
    // The auto radio button has checked itself; the others follow here too.
    if (const int option = option_number(*which); option != 0)
        set_option_value(option, true);
    // BN_CLICKED comes after a box has changed, and only from the user:
    // BM_SETCHECK from the logic sends none.
    clicked(*which);
}

bool FrmPointsWindow::is_checked(Control button) const {
    return button_checked(control(button));
}

void FrmPointsWindow::set_checked(Control button, bool checked) {
    // BM_SETCHECK gives a radio button WS_TABSTOP while it is checked.
    check_button(control(button), checked);
    if (checked || frm_points_form()[button].kind != ControlKind::option_button)
        return;
    for (int option = 1; option <= option_count; ++option)
        if (is_checked(option_control(option)))
            return;
    // With none checked, Tab enters the group at its first option.
    HWND first = control(option_control(1));
    SetWindowLongPtrW(first, GWL_STYLE, GetWindowLongPtrW(first, GWL_STYLE) | WS_TABSTOP);
}

void FrmPointsWindow::set_control_enabled(Control which, bool enabled) {
    EnableWindow(control(which), enabled ? TRUE : FALSE);
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

std::string FrmPointsWindow::list_text(int index) const {
    const LRESULT length = SendMessageW(list(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return {};
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list(), LB_GETTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    return common::to_utf8(text.data());
}

bool FrmPointsWindow::list_selected(int index) const {
    return SendMessageW(list(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void FrmPointsWindow::set_all_selected(bool selected) {
    // Index -1: every entry in one go.
    SendMessageW(list(), LB_SETSEL, selected ? TRUE : FALSE, -1);
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

void FrmPointsWindow::show_evaluation(const std::vector<exporter::RoundnessRow>& rows) {
    EvaluationWindow32 evaluation(instance_, window_, rows, decimal_separator());
    evaluation.run_modal();
}

void FrmPointsWindow::close_for_end() {
    if (window_ != nullptr)
        DestroyWindow(window_);
    else
        PostQuitMessage(end_program_exit_code);
}

std::string FrmPointsWindow::decimal_separator() const {
    return user_decimal_separator();
}

} // namespace kastrel::app::win32
