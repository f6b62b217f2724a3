#pragma once

#include "app/form/twips.h"
#include "app/main_window/main_window_view.h"

#include <span>
#include <string>
#include <string_view>

namespace kastrel::app {

// The window frm_points as plain data, the one description both toolkits
// build their window from: the table in frm_points_form.cpp.

// The controls, in tab order.
enum class Control {
    cmd_lesen,
    cmd_schreiben,
    List1,
    Label1,
    cmd_allemarkieren,
    cmd_alledemarkieren,
    Frame1,
    Option1,
    Option2,
    Label2,
    Option3,
    Option4,
    Check1,
    Check2,
    Check3,
    cmd_auswerten,
};
inline constexpr int control_count = 16;
inline constexpr int option_count = 4;
inline constexpr int check_count = 3;

enum class ControlKind { command_button, list_box, label, frame, option_button, check_box };

// What a control belongs to. Its rectangle is from the window's client area
// all the same.
enum class Parent { window, Frame1 };

// A control's state as the window is stored, before the load step runs.
enum class Initially { shown, enabled, disabled, empty, unselected, checked, unchecked };

struct FormControl {
    Control control;
    const char* name;
    ControlKind kind;
    Parent parent;
    TwipsRect twips; // from the top-left corner of the window's client area
    int tab_index;
    Initially initially;
    const char* caption; // UTF-8, shown exactly as it stands; empty for none
};

struct Form {
    const char* name;
    const char* stored_caption; // replaced by the load step before the window shows
    int client_width_twips;
    int client_height_twips;
    std::span<const FormControl> controls; // in tab order

    const FormControl& operator[](Control control) const {
        return controls[static_cast<std::size_t>(control)];
    }
};

const Form& frm_points_form();

// Labels and frames have a tab index but never take the focus.
constexpr bool takes_focus(ControlKind kind) {
    return kind != ControlKind::label && kind != ControlKind::frame;
}

// The controls behind the numbers the window logic uses: Option1..4,
// Check1..3. Other numbers throw std::out_of_range.
Control option_control(int option);
Control check_control(int check);
Control command_control(CommandButton button);
// The number of an option button (1..4) or a plane switch (1..3); 0 for any
// other control.
int option_number(Control control);
int check_number(Control control);

// No caption carries an access key: for a control that reads '&' as the mark
// of one, a literal '&' is doubled.
std::string without_access_keys(std::string_view caption);

} // namespace kastrel::app
