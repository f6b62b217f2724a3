#pragma once

#include "app/form/frm_points_form.h"
#include "tests/windows/server_process.h"
#include "tests/windows_gui/app_process.h"
#include "tests/windows_gui/ui_access.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace kastrel::wintest {

inline constexpr const wchar_t* kastrel_caption = L"Kastrel Excel  V1.1.1";

// A sample part program's file name as the stand-in host's command line takes it.
inline std::string example(const std::string& name) {
    return std::string(KASTREL_SOURCE_DIR) + "/examples/" + name;
}

// The stand-in host and Kastrel.exe, both started for real, and the test's
// hands on Kastrel's window. The host comes first, so Kastrel finds it.
class KastrelSession : public ::testing::Test {
protected:
    void TearDown() override;

    // The host with `server_args`, then Kastrel up to its shown window.
    void start(const std::vector<std::string>& server_args);
    HWND control(app::Control control) const;
    DWORD app_id() const { return app_->id(); }

    // cmd_lesen, until the listing stands and the buttons are enabled.
    void list_features(int expected_count);
    // The message box owned by the window: checks its title, presses OK and
    // returns its text.
    std::wstring answer_message_box();
    // cmd_schreiben, and the Save dialog answered with `path`; checks the name
    // the dialog proposes. With `overwrite` the overwrite prompt is expected
    // and answered Yes. Returns the text of the message box that follows.
    std::wstring export_to(const std::wstring& path, const std::wstring& proposed_name,
                           bool overwrite);
    // The same up to the closed Save dialog; false (and a failure) when it goes wrong.
    // A `file_type` from 1 is chosen in the dialog's type list first.
    bool choose_export_file(const std::wstring& path, const std::wstring& proposed_name,
                            bool overwrite, int file_type = 0);

    std::unique_ptr<ServerProcess> server_;
    std::unique_ptr<AppProcess> app_;
    HWND window_ = nullptr;
};

} // namespace kastrel::wintest
