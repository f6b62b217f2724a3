#pragma once

#include "app/form/frm_points_form.h"
#include "app/main_window/main_window_view.h"

#include <optional>

namespace kastrel::app {

// What every window built from frm_points_form() does alike, whatever draws
// it: the option, check and command numbers mapped to their controls, the
// user's clicks passed to the window logic, and the exit code of
// end_program(). A toolkit's window derives from it and adds the drawing and
// the platform calls.
class FormWindow : public MainWindowView {
public:
    // Where user actions go; not owned. Without a receiver they are dropped.
    void set_events(MainWindowEvents* events) { events_ = events; }

    // Set once end_program() has run: the code the program is to end with.
    std::optional<int> exit_code() const { return exit_code_; }
    static constexpr int end_program_exit_code = 1;

    std::string entry_text(int index) const final;
    bool entry_selected(int index) const final;
    bool option_value(int option) const final;
    void set_option_value(int option, bool on) final;
    int check_value(int check) const final;
    void set_check_value(int check, int value) final;
    void set_enabled(CommandButton button, bool enabled) final;
    void end_program() final;

protected:
    // The user has clicked `control` and the control has taken the click: its
    // handler runs, guarded, so that a fault no handler expected is shown and
    // the window stays usable. Controls without a handler are passed over.
    void clicked(Control control);

    // The toolkit's part. `button` is an option button or a check box.
    virtual bool is_checked(Control button) const = 0;
    virtual void set_checked(Control button, bool checked) = 0;
    virtual void set_control_enabled(Control control, bool enabled) = 0;
    // List1's entry at an index below entry_count().
    virtual std::string list_text(int index) const = 0;
    virtual bool list_selected(int index) const = 0;
    // Takes the window away for end_program(); exit_code() is already set.
    virtual void close_for_end() = 0;

private:
    bool in_list(int index) const { return index >= 0 && index < entry_count(); }

    MainWindowEvents* events_ = nullptr;
    std::optional<int> exit_code_;
};

} // namespace kastrel::app
