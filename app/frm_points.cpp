#include "app/frm_points.h"

#include "app/diagnostic_log.h"
#include "app/messages.h"
#include "app/program_identity.h"
#include "export/export_run.h"
#include "host/automation_error.h"
#include "host/dispatch.h"
#include "host/feature_listing.h"

#include <array>
#include <filesystem>

namespace kastrel::app {
namespace {

constexpr std::array all_buttons_after_listing = {CommandButton::cmd_schreiben,
                                                  CommandButton::cmd_allemarkieren,
                                                  CommandButton::cmd_alledemarkieren};

// `source` is the member (or the class) whose value is used as an object.
host::Object require_object(const host::Variant& value, std::string_view source) {
    host::Object object = value.to_object();
    if (!object)
        throw host::AutomationError(host::ErrorKind::ObjectNotSet, std::string(source));
    return object;
}

void show_runtime_error(MainWindowView& view, const host::AutomationError& error) {
    write_diagnostic(log_text(error));
    view.show_message(runtime_error_text(error));
}

exporter::OutputOption chosen_option(const MainWindowView& view) {
    using exporter::OutputOption;
    constexpr std::array options = {OutputOption::Option1, OutputOption::Option2,
                                    OutputOption::Option3, OutputOption::Option4};
    for (int n = 1; n <= 4; ++n)
        if (view.option_value(n))
            return options[static_cast<std::size_t>(n - 1)];
    return OutputOption::None;
}

exporter::ExportRequest snapshot(const MainWindowView& view) {
    exporter::ExportRequest request;
    const int count = view.entry_count();
    request.entries.reserve(static_cast<std::size_t>(count));
    request.selected.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        request.entries.push_back(view.entry_text(i));
        request.selected.push_back(view.entry_selected(i));
    }
    request.option = chosen_option(view);
    request.planes = {view.check_value(1) == 1, view.check_value(2) == 1, view.check_value(3) == 1};
    request.decimal_separator = view.decimal_separator();
    return request;
}

} // namespace

FrmPoints::FrmPoints(MainWindowView& view, host::HostConnector& host) : view_(view), host_(host) {}

void FrmPoints::Form_Load() {
    view_.set_option_value(4, true);
    view_.set_caption(identity::window_caption());
}

void FrmPoints::cmd_lesen_Click() {
    host::Object application;
    host::Object part_program;
    try {
        application = host_.create_object(host::application_class);
        part_program = require_object(application, host::application_class)
                           ->get("ActivePartProgram")
                           .to_object();
        view_.set_pointer(Pointer::Hourglass);
        view_.clear_entries();
        if (!host_.window_exists(host::host_window_class)) {
            view_.show_message(message::host_not_running);
            view_.end_program();
            return;
        }
        application = host_.get_object("", host::application_class);
    } catch (const host::AutomationError& error) {
        // Reported, and the program stays open: ending it would lose the user's work.
        show_runtime_error(view_, error);
        view_.set_pointer(Pointer::Arrow);
        return;
    }
    std::vector<std::string> ids;
    try {
        // From here on a step that fails is passed over, unless the host is gone.
        try {
            part_program = require_object(application, host::application_class)
                               ->get("ActivePartProgram")
                               .to_object();
        } catch (const host::AutomationError& error) {
            if (host::is_host_lost(error))
                throw;
        }
        if (!part_program) {
            view_.show_message(message::no_part_program);
            view_.end_program();
            return;
        }
        ids = host::list_feature_ids(part_program, host::NumberTexts(view_.decimal_separator()));
    } catch (const host::AutomationError& lost) {
        // No part of the list passes for all of it: it stays empty.
        write_diagnostic(log_text(lost));
        view_.show_message(message::listing_host_lost);
        view_.set_pointer(Pointer::Arrow);
        return;
    }
    for (const std::string& id : ids)
        view_.add_entry(id);
    for (CommandButton button : all_buttons_after_listing)
        view_.set_enabled(button, true);
    view_.set_pointer(Pointer::Arrow);
}

void FrmPoints::cmd_schreiben_Click() {
    host::Object commands;
    try {
        const host::Object application =
            require_object(host_.create_object(host::application_class), host::application_class);
        const host::Object part_program =
            require_object(application->get("ActivePartProgram"), "ActivePartProgram");
        commands = require_object(part_program->get("Commands"), "Commands");
    } catch (const host::AutomationError& error) {
        show_runtime_error(view_, error);
        view_.set_pointer(Pointer::Arrow);
        return;
    }

    SaveDialogRequest dialog;
    dialog.proposed_name = last_file_name_;
    const std::optional<std::string> file = view_.show_save_dialog(dialog);
    if (!file || file->empty())
        return;
    last_file_name_ = *file;
    view_.set_pointer(Pointer::Hourglass);

    const exporter::ExportResult result =
        exporter::run_export(*commands, snapshot(view_),
                             std::filesystem::path(std::u8string(file->begin(), file->end())));
    if (result.status == exporter::ExportResult::Status::NoOutputOption) {
        view_.show_message(message::no_output_option);
        view_.end_program();
        return;
    }
    view_.set_pointer(Pointer::Arrow);
    write_diagnostic(log_text(result));
    view_.show_message(export_outcome_text(result, *file));
}

void FrmPoints::cmd_allemarkieren_Click() {
    view_.set_all_selected(true);
}

void FrmPoints::cmd_alledemarkieren_Click() {
    view_.set_all_selected(false);
}

void FrmPoints::Check_Click(int check) {
    if (check < 1 || check > 3 || view_.check_value(check) != 1)
        return;
    for (int other = 1; other <= 3; ++other)
        if (other != check)
            view_.set_check_value(other, 0);
}

} // namespace kastrel::app
