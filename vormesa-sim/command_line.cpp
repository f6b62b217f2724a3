#include "vormesa-sim/command_line.h"

#include <charconv>
#include <chrono>

namespace vormesa_sim {
namespace {

MemberKind member_kind(const std::string& name) {
    if (name == "properties")
        return MemberKind::Properties;
    if (name == "methods")
        return MemberKind::Methods;
    throw CommandLineError("--members-as: properties oder methods erwartet, nicht '" + name + "'");
}

// The value of "--name VALUE" or "--name=VALUE" at args[i]; nothing for another option.
std::optional<std::string> option_value(const std::vector<std::string>& args, std::size_t& i,
                                        const std::string& name) {
    if (args[i] == name) {
        if (i + 1 == args.size())
            throw CommandLineError(name + ": Wert fehlt");
        return args[++i];
    }
    if (args[i].starts_with(name + "="))
        return args[i].substr(name.size() + 1);
    return std::nullopt;
}

// Dot-separated elements of letters, digits and '_', none starting with a digit.
bool is_bus_error_name(std::string_view text) {
    if (text.empty() || text.size() > 255 || text.find('.') == std::string_view::npos)
        return false;
    bool element_start = true;
    for (const char c : text) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        if (c == '.') {
            if (element_start)
                return false;
            element_start = true;
        } else if (letter || (digit && !element_start)) {
            element_start = false;
        } else {
            return false;
        }
    }
    return !element_start;
}

// "0x800706BA", "-2147023174" or a D-Bus error name.
void read_failure(const std::string& text, ChosenFailure& failure) {
    const char* const last = text.data() + text.size();
    if (text.starts_with("0x") || text.starts_with("0X")) {
        std::uint32_t code = 0;
        const auto [end, ec] = std::from_chars(text.data() + 2, last, code, 16);
        if (ec == std::errc() && end == last && text.size() > 2) {
            failure.number = static_cast<std::int32_t>(code);
            return;
        }
    } else if (is_bus_error_name(text)) {
        failure.bus_error = text;
        return;
    } else {
        std::int32_t code = 0;
        const auto [end, ec] = std::from_chars(text.data(), last, code);
        if (ec == std::errc() && end == last && !text.empty()) {
            failure.number = code;
            return;
        }
    }
    throw CommandLineError("--fail-with: HRESULT (0x800706BA) oder D-Bus-Fehlername erwartet: " +
                           text);
}

// A count of calls or milliseconds: 0, 1, 2, ...
std::size_t read_count(const std::string& text, const std::string& option) {
    std::size_t count = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        throw CommandLineError(option + ": Zahl (0, 1, 2, ...) erwartet: " + text);
    return count;
}

} // namespace

FailurePlan failure_plan(const Options& options) {
    FailurePlan plan;
    if (const auto& failure = options.failure)
        plan.fail_from(failure->from_call,
                       HostError::link_failure(failure->number, failure->bus_error));
    if (options.call_delay_ms)
        plan.delay_every(std::chrono::milliseconds(*options.call_delay_ms));
    if (options.hang_after_calls)
        plan.hang_from(*options.hang_after_calls);
    if (options.close_program_at_call)
        plan.close_program_at(*options.close_program_at_call);
    if (options.busy_after_calls && options.busy_ms)
        plan.busy_from(*options.busy_after_calls, std::chrono::milliseconds(*options.busy_ms));
    return plan;
}

Options parse_command_line(const std::vector<std::string>& args) {
    Options options;
    std::optional<std::size_t> fail_from;
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
        } else if (const auto from = option_value(args, i, "--fail-from-call")) {
            fail_from = read_count(*from, "--fail-from-call");
        } else if (const auto delay = option_value(args, i, "--call-delay-ms")) {
            options.call_delay_ms = read_count(*delay, "--call-delay-ms");
        } else if (const auto hang = option_value(args, i, "--hang-after-calls")) {
            options.hang_after_calls = read_count(*hang, "--hang-after-calls");
        } else if (const auto close = option_value(args, i, "--close-program-at-call")) {
            options.close_program_at_call = read_count(*close, "--close-program-at-call");
        } else if (const auto busy = option_value(args, i, "--busy-after-calls")) {
            options.busy_after_calls = read_count(*busy, "--busy-after-calls");
        } else if (const auto busy_ms = option_value(args, i, "--busy-ms")) {
            options.busy_ms = read_count(*busy_ms, "--busy-ms");
        } else if (const auto with = option_value(args, i, "--fail-with")) {
            options.failure.emplace();
            read_failure(*with, *options.failure);
        } else if (arg.starts_with("-") && arg != "-") {
            throw CommandLineError("unbekannte Option " + arg);
        } else if (options.part_program.empty()) {
            options.part_program = arg;
        } else {
            throw CommandLineError("nur ein Teileprogramm möglich: " + arg);
        }
    }
    if (fail_from && !options.failure)
        throw CommandLineError("--fail-from-call braucht --fail-with");
    if (options.busy_after_calls.has_value() != options.busy_ms.has_value())
        throw CommandLineError("--busy-after-calls und --busy-ms gehören zusammen");
    if (options.failure)
        options.failure->from_call = fail_from.value_or(0);
    return options;
}

std::string usage() {
    return "Aufruf: vormesa-sim [--no-window] [--call-log DATEI]\n"
           "                   [--fail-from-call N --fail-with FEHLER]\n"
           "                   [--call-delay-ms N] [--hang-after-calls N]\n"
           "                   [--close-program-at-call N] [TEILEPROGRAMM.json]\n"
           "\n"
           "Spielt den Messhost Vormesa und stellt sein Automatisierungs-Objektmodell\n"
           "auf dem D-Bus-Session-Bus als ZORVAT.Application bereit.\n"
           "\n"
           "  --no-window        ohne Hauptfenster (braucht keine Anzeige)\n"
           "  --call-log DATEI   jeden empfangenen Aufruf als Zeile in DATEI schreiben\n"
           "  --fail-from-call N ab dem N-ten Aufruf (ab 0, wie im Aufrufprotokoll gezählt)\n"
           "                     jeden Aufruf mit FEHLER beantworten (ohne: ab Aufruf 0)\n"
           "  --fail-with FEHLER ein HRESULT (0x800706BA) oder ein D-Bus-Fehlername\n"
           "                     (org.freedesktop.DBus.Error.NoReply)\n"
           "  --call-delay-ms N  jeden Aufruf N ms später beantworten\n"
           "  --hang-after-calls N\n"
           "                     nach N Aufrufen keinen mehr beantworten (bis zum Ende;\n"
           "                     die Verbindung bleibt offen)\n"
           "  --close-program-at-call N\n"
           "                     das Teileprogramm schließen, wenn der N-te Aufruf kommt;\n"
           "                     Aufrufe auf seine Objekte scheitern dann mit\n"
           "                     ZORVAT.Error.Disconnected\n"
           "  --help             diese Hilfe\n"
           "\n"
           "Ohne TEILEPROGRAMM ist kein Teileprogramm aktiv.\n";
}

} // namespace vormesa_sim
