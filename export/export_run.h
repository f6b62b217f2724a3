#pragma once

#include "export/export_request.h"
#include "export/roundness/roundness_row.h"
#include "host/dispatch.h"
#include "host/run_progress.h"

#include <filesystem>
#include <vector>

namespace kastrel::exporter {

// One export run: walks the part program's commands, writes the hits of every
// feature whose ID is selected (once per selected entry carrying it) in the
// chosen option's layout, and puts the file in place of `target`. The host is
// reached only through the commands collection it is given. `progress` hears
// of every command, matched feature and hit; its RunCancelled ends the run
// as Cancelled, the target as it was.
ExportResult run_export(host::Dispatch& commands, const ExportRequest& request,
                        const std::filesystem::path& target, host::RunProgress& progress);
inline ExportResult run_export(host::Dispatch& commands, const ExportRequest& request,
                               const std::filesystem::path& target) {
    host::RunProgress unreported;
    return run_export(commands, request, target, unreported);
}

// What an evaluation came to: the result as an export's (Written when the
// walk ended, never a file status) and, for Written, the rows.
struct Evaluation {
    ExportResult result;
    std::vector<RoundnessRow> rows;
};

// The export's run without a file: the same host calls in the same order,
// the selected feature blocks evaluated in the plane of the switch that is
// on. The output option is not needed.
Evaluation run_evaluation(host::Dispatch& commands, const ExportRequest& request,
                          host::RunProgress& progress);

} // namespace kastrel::exporter
