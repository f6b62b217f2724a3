#include "app/batch/batch_run.h"

#include "app/batch/command_line.h"
#include "app/evaluation/evaluation_table.h"
#include "app/run/part_program_steps.h"
#include "app/system/diagnostic_log.h"
#include "app/texts/messages.h"
#include "export/export_run.h"

#include <algorithm>
#include <optional>

namespace kastrel::app::batch {
namespace {

// No one watches a run from the command line, but a stop asked from outside
// ends it at its next report, between two host calls.
class StoppableRun : public host::RunProgress {
public:
    explicit StoppableRun(const StopRequested& stop) : stop_(stop) {}
    void listed(int) override { check(); }
    void command_walked() override { check(); }
    void feature_started(std::string_view, int, int) override { check(); }
    void hit_started(double, double) override { check(); }

private:
    void check() const {
        if (stop_ && stop_())
            throw host::RunCancelled();
    }
    const StopRequested& stop_;
};

void report_host_error(const host::AutomationError& error, Console& console) {
    write_diagnostic(log_text(error));
    console.err(runtime_error_text(error));
}

// The listing's outcome when it listed nothing: told as the window tells it.
// A host lost while listing leaves the target as it was.
int report_unlisted(const Listing& listing, Console& console) {
    switch (listing.status) {
    case Listing::Status::HostNotRunning:
        console.err(message::host_not_running);
        break;
    case Listing::Status::NoPartProgram:
        console.err(message::no_part_program);
        break;
    case Listing::Status::Failed:
        report_host_error(*listing.error, console);
        break;
    case Listing::Status::HostLost:
        write_diagnostic(log_text(*listing.error));
        console.err(listing_lost_text(*listing.error));
        return host_lost;
    case Listing::Status::Listed:
        return complete;
    }
    return no_part_program;
}

// --all as "Alle Merkmale selektieren", each --select ID as clicking every
// entry that carries it. An ID that no entry carries is said, each once, and
// nothing is selected: the run must not pass without the feature it names.
std::optional<std::vector<bool>>
selection(const ExportCommand& command, const std::vector<std::string>& entries, Console& console) {
    std::vector<bool> selected(entries.size(), command.select_all);
    std::vector<std::string> unknown;
    for (const std::string& id : command.select) {
        bool found = false;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == id)
                selected[i] = found = true;
        if (!found && std::find(unknown.begin(), unknown.end(), id) == unknown.end())
            unknown.push_back(id);
    }
    for (const std::string& id : unknown)
        console.err(unknown_selection_text(id));
    if (!unknown.empty())
        return std::nullopt;
    return selected;
}

int exit_code_of(const exporter::ExportResult& result) {
    using Status = exporter::ExportResult::Status;
    switch (result.status) {
    case Status::Written:
        // Something missing from the file is never a complete run.
        return result.unread_values == 0 && result.uncomputed_values == 0 &&
                       result.unmatched_entries.empty()
                   ? complete
                   : incomplete;
    case Status::FileFailed:
    case Status::TargetIncomplete: // its message says the target may be incomplete
    case Status::NothingEvaluated:
    case Status::OtherCharacteristics:
        return file_failed;
    case Status::HostLost:
        return host_lost;
    case Status::NoOutputOption:
        break; // the command line always names an option; the window ends with 1 here
    case Status::Cancelled:
        break; // stopped from outside, which says how the program ends
    }
    return no_part_program;
}

// Each "\n"-ended line of `text` as a line of standard output.
void print_lines(std::string_view text, Console& console) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        console.out(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

// The listing, or nothing when it was stopped (and said so).
std::optional<Listing> read_stoppable_listing(host::HostConnector& host, Console& console,
                                              const std::string& decimal_separator,
                                              StoppableRun& run) {
    try {
        return read_listing(host, decimal_separator, {}, run);
    } catch (const host::RunCancelled&) {
        console.err(message::listing_cancelled);
        return std::nullopt;
    }
}

int list(host::HostConnector& host, Console& console, const std::string& decimal_separator,
         StoppableRun& run) {
    const std::optional<Listing> listing =
        read_stoppable_listing(host, console, decimal_separator, run);
    if (!listing)
        return no_part_program;
    if (listing->status != Listing::Status::Listed)
        return report_unlisted(*listing, console);
    for (const std::string& id : listing->ids)
        console.out(id);
    return complete;
}

int export_file(const ExportCommand& command, host::HostConnector& host, Console& console,
                const std::string& decimal_separator, StoppableRun& run) {
    const std::optional<Listing> found =
        read_stoppable_listing(host, console, decimal_separator, run);
    if (!found)
        return no_part_program;
    const Listing& listing = *found;
    if (listing.status != Listing::Status::Listed)
        return report_unlisted(listing, console);

    std::optional<std::vector<bool>> selected = selection(command, listing.ids, console);
    if (!selected)
        return usage_error;
    exporter::ExportRequest request;
    request.entries = listing.ids;
    request.selected = std::move(*selected);
    request.option = command.option;
    request.planes = command.planes;
    request.decimal_separator = decimal_separator;
    request.part_number = command.part;

    host::Object commands;
    try {
        commands = active_commands(host);
    } catch (const host::AutomationError& error) {
        report_host_error(error, console);
        return host::is_host_lost(error) ? host_lost : no_part_program;
    }
    if (command.evaluate) {
        const exporter::Evaluation evaluation = exporter::run_evaluation(*commands, request, run);
        if (evaluation.result.status == exporter::ExportResult::Status::Written)
            print_lines(tab_separated(evaluation.rows, nullptr), console);
        write_diagnostic(log_text(evaluation.result));
        if (const std::string outcome = evaluation_outcome_text(evaluation.result);
            !outcome.empty())
            console.err(outcome);
        return exit_code_of(evaluation.result);
    }
    const exporter::ExportResult result = export_to_file(*commands, request, command.file, run);
    write_diagnostic(log_text(result));
    console.err(export_outcome_text(result, command.file));
    return exit_code_of(result);
}

} // namespace

int run_command_line(const std::vector<std::string>& arguments, std::string_view program,
                     host::HostConnector& host, Console& console,
                     const std::string& decimal_separator, const StopRequested& stop) {
    const Command command = parse_command_line(arguments);
    if (const auto* error = std::get_if<UsageError>(&command)) {
        console.err(usage_error_text(*error));
        console.err(usage_text(program));
        return usage_error;
    }
    if (std::holds_alternative<HelpCommand>(command)) {
        console.out(usage_text(program));
        return complete;
    }
    StoppableRun run(stop);
    if (std::holds_alternative<ListCommand>(command))
        return list(host, console, decimal_separator, run);
    return export_file(std::get<ExportCommand>(command), host, console, decimal_separator, run);
}

} // namespace kastrel::app::batch
