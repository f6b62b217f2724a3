#include "app/main_window/frm_points.h"

#include "app/run/part_program_steps.h"
#include "app/run/progress_run.h"
#include "app/system/diagnostic_log.h"
#include "app/texts/messages.h"
#include "app/texts/program_identity.h"
#include "export/export_run.h"
#include "export/file_type.h"
#include "host/automation_error.h"

#include <array>
#include <filesystem>

namespace kastrel::app {
namespace {

constexpr std::array all_buttons_after_listing = {
    CommandButton::cmd_schreiben, CommandButton::cmd_allemarkieren,
    CommandButton::cmd_alledemarkieren, CommandButton::cmd_auswerten};

void show_runtime_error(MainWindowView& view, const host::AutomationError& error) {
    write_diagnostic(log_text(error));
    view.show_message(runtime_error_text(error));
}

exporter::OutputOption chosen_option(const MainWindowView& view) {
    for (int n = 1; n <= 4; ++n)
        if (view.option_value(n))
            return exporter::output_option(n);
    return exporter::OutputOption::None;
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

bool has_plane(const exporter::PlaneSwitches& planes) {
    return planes.xy || planes.xz || planes.yz;
}

bool is_aqdef(const std::string& file) {
    return exporter::file_type_of(std::filesystem::path(std::u8string(file.begin(), file.end()))) ==
           exporter::FileType::Aqdef;
}

} // namespace

FrmPoints::FrmPoints(MainWindowView& view, host::HostConnector& host) : view_(view), host_(host) {}

void FrmPoints::Form_Load() {
    view_.set_option_value(4, true);
    view_.set_caption(identity::window_caption());
}

void FrmPoints::cmd_lesen_Click() {
    Listing listing;
    {
        ProgressRun run(ProgressRun::Kind::Listing, view_.progress_view(), host_);
        try {
            listing = read_listing(
                host_, view_.decimal_separator(),
                [this] {
                    view_.set_pointer(Pointer::Hourglass);
                    view_.clear_entries();
                },
                run);
        } catch (const host::RunCancelled&) {
            run.finish();
            view_.clear_entries();
            view_.show_message(message::listing_cancelled);
            view_.set_pointer(Pointer::Arrow);
            return;
        }
    }
    switch (listing.status) {
    case Listing::Status::Failed:
        // Reported, and the program stays open: ending it would lose the user's work.
        show_runtime_error(view_, *listing.error);
        view_.set_pointer(Pointer::Arrow);
        return;
    case Listing::Status::HostNotRunning:
        view_.show_message(message::host_not_running);
        view_.end_program();
        return;
    case Listing::Status::NoPartProgram:
        view_.show_message(message::no_part_program);
        view_.end_program();
        return;
    case Listing::Status::HostLost:
        // The list stays empty.
        write_diagnostic(log_text(*listing.error));
        view_.show_message(listing_lost_text(*listing.error));
        view_.set_pointer(Pointer::Arrow);
        return;
    case Listing::Status::Listed:
        break;
    }
    for (const std::string& id : listing.ids)
        view_.add_entry(id);
    for (CommandButton button : all_buttons_after_listing)
        view_.set_enabled(button, true);
    view_.set_pointer(Pointer::Arrow);
}

// The part program's commands for an export or evaluation; null when the
// attach failed (and was reported) or was given up (nothing to tell).
host::Object FrmPoints::attach() {
    try {
        const ProgressRun attach(ProgressRun::Kind::Export, view_.progress_view(), host_);
        return active_commands(host_);
    } catch (const host::AutomationError& error) {
        show_runtime_error(view_, error);
        view_.set_pointer(Pointer::Arrow);
    } catch (const host::RunCancelled&) {
    }
    return nullptr;
}

void FrmPoints::cmd_schreiben_Click() {
    host::Object commands = attach();
    if (!commands)
        return;

    SaveDialogRequest dialog;
    dialog.proposed_name = last_file_name_;
    const std::optional<std::string> file = view_.show_save_dialog(dialog);
    if (!file || file->empty())
        return;
    last_file_name_ = *file;
    const exporter::ExportRequest request = snapshot(view_);
    if (is_aqdef(*file) && !has_plane(request.planes)) {
        view_.show_message(message::evaluation_needs_plane);
        return;
    }
    view_.set_pointer(Pointer::Hourglass);

    exporter::ExportResult result;
    {
        ProgressRun run(ProgressRun::Kind::Export, view_.progress_view(), host_);
        result = export_to_file(*commands, request, *file, run);
        // Released while a wait for the host can still be given up.
        commands.reset();
        // Where a waiting call cannot be given up (Wine's COM), it ends once
        // the host goes; the user had given the run up already.
        if (run.cancelled() && result.status == exporter::ExportResult::Status::HostLost)
            result.status = exporter::ExportResult::Status::Cancelled;
    }
    if (result.status == exporter::ExportResult::Status::NoOutputOption) {
        view_.show_message(message::no_output_option);
        view_.end_program();
        return;
    }
    view_.set_pointer(Pointer::Arrow);
    write_diagnostic(log_text(result));
    view_.show_message(export_outcome_text(result, *file));
}

void FrmPoints::cmd_auswerten_Click() {
    if (view_.check_value(1) != 1 && view_.check_value(2) != 1 && view_.check_value(3) != 1) {
        view_.show_message(message::evaluation_needs_plane);
        return;
    }
    bool any_selected = false;
    for (int i = 0, count = view_.entry_count(); i < count && !any_selected; ++i)
        any_selected = view_.entry_selected(i);
    if (!any_selected) {
        view_.show_message(message::nothing_selected);
        return;
    }

    host::Object commands = attach();
    if (!commands)
        return;
    view_.set_pointer(Pointer::Hourglass);

    exporter::Evaluation evaluation;
    {
        ProgressRun run(ProgressRun::Kind::Export, view_.progress_view(), host_);
        evaluation = exporter::run_evaluation(*commands, snapshot(view_), run);
        commands.reset();
        if (run.cancelled() && evaluation.result.status == exporter::ExportResult::Status::HostLost)
            evaluation.result.status = exporter::ExportResult::Status::Cancelled;
    }
    view_.set_pointer(Pointer::Arrow);
    write_diagnostic(log_text(evaluation.result));
    const std::string outcome = evaluation_outcome_text(evaluation.result);
    if (!outcome.empty())
        view_.show_message(outcome);
    if (evaluation.result.status == exporter::ExportResult::Status::Written)
        view_.show_evaluation(evaluation.rows);
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
