#include "tests/windows_gui/kastrel_session.h"

#include "app/win32/frm_points_layout.h"

namespace kastrel::wintest {

using namespace app;
using namespace app::win32;

void KastrelSession::TearDown() {
    app_.reset();
    server_.reset();
}

void KastrelSession::start(const std::vector<std::string>& server_args) {
    server_ = std::make_unique<ServerProcess>(server_args);
    ASSERT_TRUE(server_->ready());
    app_ = std::make_unique<AppProcess>();
    window_ = app_->wait_for_window(kastrel_caption, ui_timeout);
    ASSERT_NE(window_, nullptr) << "Kastrel's window did not appear";
}

HWND KastrelSession::control(app::Control control) const {
    return GetDlgItem(window_, control_id(control));
}

void KastrelSession::list_features(int expected_count) {
    click(control(Control::cmd_lesen));
    HWND list = control(Control::List1);
    ASSERT_TRUE(wait_until(ui_timeout,
                           [&] {
                               return SendMessageW(list, LB_GETCOUNT, 0, 0) == expected_count &&
                                      IsWindowEnabled(control(Control::cmd_alledemarkieren));
                           }))
        << "listing: " << SendMessageW(list, LB_GETCOUNT, 0, 0) << " entries";
    // The handler has returned once the window takes a sent message again.
    round_trip(window_);
}

std::wstring KastrelSession::answer_message_box() {
    HWND box = wait_for_dialog(window_, app_id());
    if (box == nullptr) {
        ADD_FAILURE() << "no message box";
        return {};
    }
    EXPECT_EQ(window_text(box), L"Sarvinet");
    const std::wstring text = static_texts(box);
    press_dialog_button(box, IDOK);
    EXPECT_TRUE(wait_until(ui_timeout, [&] { return !IsWindow(box); }));
    return text;
}

std::wstring KastrelSession::export_to(const std::wstring& path, const std::wstring& proposed_name,
                                       bool overwrite) {
    if (!choose_export_file(path, proposed_name, overwrite))
        return {};
    return answer_message_box();
}

bool KastrelSession::choose_export_file(const std::wstring& path, const std::wstring& proposed_name,
                                        bool overwrite, int file_type) {
    click(control(Control::cmd_schreiben));
    HWND dialog = wait_for_dialog(window_, app_id());
    if (dialog == nullptr) {
        ADD_FAILURE() << "no Save dialog";
        return false;
    }
    // The file name field: an Edit somewhere inside control 0x47c.
    HWND field = find_descendant(dialog, 0x47c, nullptr);
    if (field != nullptr && class_name(field) != L"Edit")
        field = find_descendant(field, 0, L"Edit");
    if (field == nullptr) {
        ADD_FAILURE() << "no file name field in the Save dialog";
        press_dialog_button(dialog, IDCANCEL);
        return false;
    }
    EXPECT_EQ(window_text(field), proposed_name);
    if (file_type > 0) {
        // The type list (control 0x470), chosen as a user's click would.
        HWND types = find_descendant(dialog, 0x470, L"ComboBox");
        if (types == nullptr) {
            ADD_FAILURE() << "no file type list in the Save dialog";
            press_dialog_button(dialog, IDCANCEL);
            return false;
        }
        SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(file_type - 1), 0);
        for (const WORD notification : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageW(GetParent(types), WM_COMMAND, MAKEWPARAM(0x470, notification),
                         reinterpret_cast<LPARAM>(types));
    }
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    press_dialog_button(dialog, IDOK);
    if (overwrite) {
        HWND prompt = wait_for_dialog(dialog, app_id());
        if (prompt == nullptr) {
            ADD_FAILURE() << "no overwrite prompt";
            return false;
        }
        press_dialog_button(prompt, IDYES);
    }
    // Until it has gone, the Save dialog would pass for the message box.
    if (!wait_until(ui_timeout, [&] { return !IsWindow(dialog); })) {
        ADD_FAILURE() << "the Save dialog stays open";
        return false;
    }
    return true;
}

} // namespace kastrel::wintest
