#pragma once

#include "export/export_request.h"
#include "host/automation_error.h"
#include "host/connector.h"
#include "host/dispatch.h"
#include "host/run_progress.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kastrel::app {

// What reading the features of the active part program came to.
struct Listing {
    enum class Status {
        Listed,         // ids holds the list entries, in command order
        HostNotRunning, // the host's window is not there
        NoPartProgram,  // the host has no active part program
        Failed,         // a call of the attach steps failed: error says which
        HostLost,       // the host was lost after the window test: error is the call
    };
    Status status = Status::Listed;
    std::vector<std::string> ids;
    std::optional<host::AutomationError> error;
};

// The listing as cmd_lesen_Click reads it: the host's application and its
// part program looked up, the host's window tested, the application fetched
// again and the features walked; IDs given as numbers are taken as text with
// `decimal_separator`. `reached` runs once the first look-up has answered,
// before the window test (the window shows its hourglass then). A lost host
// lists nothing: no part of the list passes for all of it.
Listing read_listing(host::HostConnector& host, const std::string& decimal_separator,
                     const std::function<void()>& reached = {});
// The same, reported to `progress`, whose RunCancelled ends it (thrown on).
Listing read_listing(host::HostConnector& host, const std::string& decimal_separator,
                     const std::function<void()>& reached, host::RunProgress& progress);

// The commands of the active part program, as the export reaches them.
// Throws AutomationError.
host::Object active_commands(host::HostConnector& host);

// The export run into the file of this UTF-8 name.
exporter::ExportResult export_to_file(host::Dispatch& commands,
                                      const exporter::ExportRequest& request,
                                      const std::string& file);
// The same, reported to `progress`; a cancel ends it as Cancelled.
exporter::ExportResult export_to_file(host::Dispatch& commands,
                                      const exporter::ExportRequest& request,
                                      const std::string& file, host::RunProgress& progress);

} // namespace kastrel::app
