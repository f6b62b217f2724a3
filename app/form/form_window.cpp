#include "app/form/form_window.h"

#include "app/texts/messages.h"

#include <exception>

namespace kastrel::app {

std::string FormWindow::entry_text(int index) const {
    return in_list(index) ? list_text(index) : std::string();
}

bool FormWindow::entry_selected(int index) const {
    return in_list(index) && list_selected(index);
}

bool FormWindow::option_value(int option) const {
    return is_checked(option_control(option));
}

void FormWindow::set_option_value(int option, bool on) {
    const Control chosen = option_control(option);
    set_checked(chosen, on);
    if (!on)
        return;
    for (int other = 1; other <= option_count; ++other)
        if (other != option)
            set_checked(option_control(other), false);
}

int FormWindow::check_value(int check) const {
    return is_checked(check_control(check)) ? 1 : 0;
}

void FormWindow::set_check_value(int check, int value) {
    set_checked(check_control(check), value != 0);
}

void FormWindow::set_enabled(CommandButton button, bool enabled) {
    set_control_enabled(command_control(button), enabled);
}

void FormWindow::end_program() {
    exit_code_ = end_program_exit_code;
    close_for_end();
}

void FormWindow::clicked(Control control) {
    // Read at each click: a handler may have ended the program.
    if (events_ == nullptr)
        return;
    try {
        switch (control) {
        case Control::cmd_lesen:
            return events_->cmd_lesen_Click();
        case Control::cmd_schreiben:
            return events_->cmd_schreiben_Click();
        case Control::cmd_allemarkieren:
            return events_->cmd_allemarkieren_Click();
        case Control::cmd_alledemarkieren:
            return events_->cmd_alledemarkieren_Click();
        case Control::cmd_auswerten:
            return events_->cmd_auswerten_Click();
        case Control::Check1:
        case Control::Check2:
        case Control::Check3:
            return events_->Check_Click(check_number(control));
        default:
            return;
        }
    } catch (const std::exception& error) {
        set_pointer(Pointer::Arrow);
        show_message(internal_error_text(error));
    }
}

} // namespace kastrel::app
