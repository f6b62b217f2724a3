#include "vormesa-sim/command_line.h"

namespace vormesa_sim {
namespace {

MemberKind member_kind(const std::string& name) {
    if (name == "properties")
        return MemberKind::Properties;
    if (name == "methods")
        return MemberKind::Methods;
    throw CommandLineError("--members-as: properties oder methods erwartet, nicht '" + name + "'");
}

} // namespace

Options parse_command_line(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--no-window") {
            options.no_window = true;
        } else if (arg == "--call-log") {
            if (i + 1 == args.size())
                throw CommandLineError("--call-log: Dateiname fehlt");
            options.call_log = args[++i];
        } else if (arg.starts_with("--call-log=")) {
            options.call_log = arg.substr(std::string("--call-log=").size());
        } else if (arg == "--members-as") {
            if (i + 1 == args.size())
                throw CommandLineError("--members-as: properties oder methods fehlt");
            options.members_as = member_kind(args[++i]);
        } else if (arg.starts_with("--members-as=")) {
            options.members_as = member_kind(arg.substr(std::string("--members-as=").size()));
        } else if (arg.starts_with("-") && arg != "-") {
            throw CommandLineError("unbekannte Option " + arg);
        } else if (options.part_program.empty()) {
            options.part_program = arg;
        } else {
            throw CommandLineError("nur ein Teileprogramm möglich: " + arg);
        }
    }
    return options;
}

std::string usage() {
    return "Aufruf: vormesa-sim [--no-window] [--call-log DATEI] [TEILEPROGRAMM.json]\n"
           "\n"
           "Spielt den Messhost Vormesa und stellt sein Automatisierungs-Objektmodell\n"
           "auf dem D-Bus-Session-Bus als ZORVAT.Application bereit.\n"
           "\n"
           "  --no-window        ohne Hauptfenster (braucht keine Anzeige)\n"
           "  --call-log DATEI   jeden empfangenen Aufruf als Zeile in DATEI schreiben\n"
           "  --help             diese Hilfe\n"
           "\n"
           "Ohne TEILEPROGRAMM ist kein Teileprogramm aktiv.\n";
}

} // namespace vormesa_sim
