#pragma once

#include "export/export_request.h"
#include "host/dispatch.h"

#include <filesystem>

namespace kastrel::exporter {

// One export run: walks the part program's commands, writes the hits of every
// feature whose ID is selected (once per selected entry carrying it) in the
// chosen option's layout, and puts the file in place of `target`. The host is
// reached only through the commands collection it is given.
ExportResult run_export(host::Dispatch& commands, const ExportRequest& request,
                        const std::filesystem::path& target);

} // namespace kastrel::exporter
