#pragma once

#include "app/form/form_window.h"
#include "app/run/ending_progress_view.h"
#include "app/win32/progress_window.h"
#include "app/win32/registered_window_class.h"
#include "app/win32/window_font.h"
#include "common/non_copyable.h"

#include <memory>
#include <windows.h>

namespace kastrel::app::win32 {

// The window frm_points as a native Win32 window: its child windows, the
// clicks they report, and the platform's list, pointer, dialogs and regional
// settings. Created hidden.
class FrmPointsWindow : public FormWindow, private common::NonCopyable {
public:
    explicit FrmPointsWindow(HINSTANCE instance);
    ~FrmPointsWindow() override;

    // Null once the window has been destroyed.
    HWND handle() const { return window_; }
    void show(int show_command);

    void set_caption(const std::string& caption) override;
    void clear_entries() override;
    void add_entry(const std::string& text) override;
    int entry_count() const override;
    void set_all_selected(bool selected) override;
    void set_pointer(Pointer pointer) override;
    // MessageBoxW, under the application title.
    void show_message(const std::string& text) override;
    // GetSaveFileNameW; a remembered name it refuses is dropped, not the dialog.
    std::optional<std::string> show_save_dialog(const SaveDialogRequest& request) override;
    // EvaluationWindow32, modal over this window.
    void show_evaluation(const std::vector<exporter::RoundnessRow>& rows) override;
    // The decimal symbol of the user's regional settings.
    std::string decimal_separator() const override;
    ProgressView& progress_view() override { return *ending_; }

private:
    bool is_checked(Control button) const override;
    void set_checked(Control button, bool checked) override;
    void set_control_enabled(Control control, bool enabled) override;
    std::string list_text(int index) const override;
    bool list_selected(int index) const override;
    // Destroys the window; WM_DESTROY posts WM_QUIT with the exit code.
    void close_for_end() override;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    void create_controls();
    void apply_layout(int dpi);
    void on_click(int id);
    HWND control(Control control) const;
    HWND list() const { return control(Control::List1); }

    HINSTANCE instance_;
    RegisteredWindowClass class_;
    HWND window_ = nullptr;
    std::unique_ptr<WindowFont> font_;
    std::unique_ptr<ProgressWindow> progress_;
    // The session ending during a run: the run gives up, then the program ends.
    std::unique_ptr<EndingProgressView> ending_;
    HCURSOR pointer_ = nullptr; // null: the class cursor
    HWND focus_ = nullptr;      // the control to give focus back to on activation
};

} // namespace kastrel::app::win32
