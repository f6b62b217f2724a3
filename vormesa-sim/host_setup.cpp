#include "vormesa-sim/host_setup.h"

#include "vormesa-sim/part_program.h"

#include <filesystem>

namespace vormesa_sim {
namespace {

// The command line's texts are UTF-8; Windows would read a plain string in
// its code page.
std::filesystem::path utf8_path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace

std::optional<std::string> set_up_host(SimHost& host, const Options& options,
                                       std::ofstream& call_log) {
    if (!options.part_program.empty()) {
        try {
            host.open(load_part_program(utf8_path(options.part_program)));
        } catch (const PartProgramError& error) {
            return error.what();
        }
    }

    host.set_failure_plan(failure_plan(options));

    if (!options.call_log.empty()) {
        call_log.open(utf8_path(options.call_log), std::ios::out | std::ios::trunc);
        if (!call_log)
            return "Aufrufprotokoll '" + options.call_log + "' kann nicht angelegt werden";
        // Flushed per line so a test can read the log while the host runs.
        host.set_call_log([&call_log](const std::string& line) { call_log << line << std::endl; });
    }
    return std::nullopt;
}

} // namespace vormesa_sim
