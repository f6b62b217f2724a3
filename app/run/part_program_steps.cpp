#include "app/run/part_program_steps.h"

#include "app/texts/program_identity.h"
#include "export/export_run.h"
#include "host/feature_listing.h"
#include "kastrel_version.h"

#include <filesystem>

namespace kastrel::app {
namespace {

// `source` is the member (or the class) whose value is used as an object.
host::Object require_object(const host::Variant& value, std::string_view source) {
    host::Object object = value.to_object();
    if (!object)
        throw host::AutomationError(host::ErrorKind::ObjectNotSet, std::string(source));
    return object;
}

} // namespace

Listing read_listing(host::HostConnector& host, const std::string& decimal_separator,
                     const std::function<void()>& reached) {
    host::RunProgress unreported;
    return read_listing(host, decimal_separator, reached, unreported);
}

Listing read_listing(host::HostConnector& host, const std::string& decimal_separator,
                     const std::function<void()>& reached, host::RunProgress& progress) {
    Listing listing;
    host::Object application;
    host::Object part_program;
    try {
        application = host.create_object(host::application_class);
        part_program = require_object(application, host::application_class)
                           ->get("ActivePartProgram")
                           .to_object();
        if (reached)
            reached();
        if (!host.window_exists(host::host_window_class)) {
            listing.status = Listing::Status::HostNotRunning;
            return listing;
        }
        application = host.get_object("", host::application_class);
    } catch (const host::AutomationError& error) {
        listing.status = Listing::Status::Failed;
        listing.error = error;
        return listing;
    }
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
            listing.status = Listing::Status::NoPartProgram;
            return listing;
        }
        listing.ids =
            host::list_feature_ids(part_program, host::NumberTexts(decimal_separator), progress);
    } catch (const host::AutomationError& lost) {
        listing.status = Listing::Status::HostLost;
        listing.error = lost;
    }
    return listing;
}

host::Object active_commands(host::HostConnector& host) {
    const host::Object application =
        require_object(host.create_object(host::application_class), host::application_class);
    const host::Object part_program =
        require_object(application->get("ActivePartProgram"), "ActivePartProgram");
    return require_object(part_program->get("Commands"), "Commands");
}

exporter::ExportResult export_to_file(host::Dispatch& commands,
                                      const exporter::ExportRequest& request,
                                      const std::string& file) {
    host::RunProgress unreported;
    return export_to_file(commands, request, file, unreported);
}

exporter::ExportResult export_to_file(host::Dispatch& commands,
                                      const exporter::ExportRequest& request,
                                      const std::string& file, host::RunProgress& progress) {
    exporter::ExportRequest named = request;
    named.creator = std::string(identity::program_name) + " " + version::text;
    return exporter::run_export(
        commands, named, std::filesystem::path(std::u8string(file.begin(), file.end())), progress);
}

} // namespace kastrel::app
