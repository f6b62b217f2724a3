#pragma once

#include "app/main_window_view.h"
#include "app/win32/frm_points_layout.h"
#include "app/win32/window_font.h"

#include <functional>
#include <memory>
#include <optional>
#include <windows.h>

namespace kastrel::app::win32 {

// The window frm_points as a native Win32 window: draws the controls,
// reports user actions to MainWindowEvents and carries out what the logic
// asks through MainWindowView. Created hidden.
class FrmPointsWindow : public MainWindowView {
public:
    explicit FrmPointsWindow(HINSTANCE instance);
    ~FrmPointsWindow() override;
    FrmPointsWindow(const FrmPointsWindow&) = delete;
    FrmPointsWindow& operator=(const FrmPointsWindow&) = delete;

    // Where user actions go; not owned. Without a receiver they are dropped.
    void set_events(MainWindowEvents* events) { events_ = events; }
    // Null once the window has been destroyed.
    HWND handle() const { return window_; }
    void show(int show_command);

    // Set once end_program() has run: the code the program is to end with.
    std::optional<int> exit_code() const { return exit_code_; }
    static constexpr int end_program_exit_code = 1;

    void set_caption(const std::string& caption) override;

    void clear_entries() override;
    void add_entry(const std::string& text) override;
    int entry_count() const override;
    // Out of range: an empty text, not selected.
    std::string entry_text(int index) const override;
    bool entry_selected(int index) const override;
    void set_all_selected(bool selected) override;

    // Numbers outside Option1..4 / Check1..3 throw std::out_of_range.
    bool option_value(int option) const override;
    void set_option_value(int option, bool on) override;
    // 1 checked, 0 unchecked; any non-zero value checks the box.
    int check_value(int check) const override;
    void set_check_value(int check, int value) override;

    void set_enabled(CommandButton button, bool enabled) override;
    void set_pointer(Pointer pointer) override;

    void show_message(const std::string& text) override;
    std::optional<std::string> show_save_dialog(const SaveDialogRequest& request) override;
    // Destroys the window and posts WM_QUIT with end_program_exit_code; the
    // message loop ends with it.
    void end_program() override;

    std::string decimal_separator() const override;

private:
    class WindowClass;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    void create_controls();
    void apply_layout(int dpi);
    void on_click(int id);
    HWND control(int id) const { return GetDlgItem(window_, id); }
    HWND list() const { return control(id_List1); }
    HWND option(int option) const;
    HWND check(int check) const;

    HINSTANCE instance_;
    std::unique_ptr<WindowClass> class_;
    HWND window_ = nullptr;
    std::unique_ptr<WindowFont> font_;
    HCURSOR pointer_ = nullptr; // null: the class cursor
    HWND focus_ = nullptr;      // the control to give focus back to on activation
    MainWindowEvents* events_ = nullptr;
    std::optional<int> exit_code_;
};

} // namespace kastrel::app::win32
