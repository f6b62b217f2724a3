#include "app/batch/command_line.h"

#include "export/file_type.h"

#include <filesystem>
#include <optional>

namespace kastrel::app::batch {
namespace {

using Kind = UsageError::Kind;

std::optional<exporter::OutputOption> option_of(const std::string& value) {
    if (value.size() == 1 && value[0] >= '1' && value[0] <= '4')
        return exporter::output_option(value[0] - '0');
    return std::nullopt;
}

// The plane switch as its check box: XY is Check1, XZ Check2, YZ Check3.
std::optional<exporter::PlaneSwitches> planes_of(const std::string& value) {
    if (value == "XY")
        return exporter::PlaneSwitches{true, false, false};
    if (value == "XZ")
        return exporter::PlaneSwitches{false, true, false};
    if (value == "YZ")
        return exporter::PlaneSwitches{false, false, true};
    if (value == "none")
        return exporter::PlaneSwitches{};
    return std::nullopt;
}

Command parse_export(const std::vector<std::string>& arguments) {
    ExportCommand command;
    bool have_file = false, have_option = false, have_plane = false, have_part = false;
    bool no_plane = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "--help" || argument == "--list")
            return UsageError{Kind::NotAlone, argument, {}};
        if (argument == "--evaluate") {
            if (command.evaluate)
                return UsageError{Kind::GivenTwice, argument, {}};
            command.evaluate = true;
            continue;
        }
        if (argument == "--all") {
            if (command.select_all)
                return UsageError{Kind::GivenTwice, argument, {}};
            command.select_all = true;
            continue;
        }
        if (argument != "--export" && argument != "--option" && argument != "--plane" &&
            argument != "--select" && argument != "--part")
            return UsageError{Kind::UnknownArgument, {}, argument};
        // An option in a value's place means the value was left out.
        if (at + 1 == arguments.size() || arguments[at + 1].starts_with("--"))
            return UsageError{Kind::MissingValue, argument, {}};
        const std::string& value = arguments[++at];
        if (argument == "--select") {
            command.select.push_back(value);
            continue;
        }
        bool& given = argument == "--export"   ? have_file
                      : argument == "--option" ? have_option
                      : argument == "--part"   ? have_part
                                               : have_plane;
        if (given)
            return UsageError{Kind::GivenTwice, argument, {}};
        given = true;
        if (argument == "--export") {
            if (value.empty())
                return UsageError{Kind::InvalidValue, argument, value};
            command.file = value;
        } else if (argument == "--part") {
            if (value.empty())
                return UsageError{Kind::InvalidValue, argument, value};
            command.part = value;
        } else if (argument == "--option") {
            const auto option = option_of(value);
            if (!option)
                return UsageError{Kind::InvalidValue, argument, value};
            command.option = *option;
        } else {
            const auto planes = planes_of(value);
            if (!planes)
                return UsageError{Kind::InvalidValue, argument, value};
            command.planes = *planes;
            no_plane = value == "none";
        }
    }
    if (command.evaluate) {
        // Nothing to write, and nothing to evaluate without a plane.
        if (have_file)
            return UsageError{Kind::NotWithEvaluate, "--export", {}};
        if (have_option)
            return UsageError{Kind::NotWithEvaluate, "--option", {}};
        if (no_plane)
            return UsageError{Kind::NotWithEvaluate, "--plane none", {}};
    } else if (!have_file) {
        return UsageError{Kind::NoCommand, {}, {}};
    }
    const bool aqdef = exporter::file_type_of(std::filesystem::path(std::u8string(
                           command.file.begin(), command.file.end()))) == exporter::FileType::Aqdef;
    if (aqdef && have_option)
        return UsageError{Kind::NotForAqdef, "--option", {}};
    if (aqdef && !command.planes.xy && !command.planes.xz && !command.planes.yz)
        return UsageError{Kind::AqdefNeedsPlane, "--plane", "none"};
    if (!aqdef && have_part)
        return UsageError{Kind::OnlyForAqdef, "--part", {}};
    if (command.select_all && !command.select.empty())
        return UsageError{Kind::BothSelections, {}, {}};
    if (!command.select_all && command.select.empty())
        return UsageError{Kind::NoSelection, command.evaluate ? "--evaluate" : "", {}};
    return command;
}

} // namespace

Command parse_command_line(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return UsageError{Kind::NoCommand, {}, {}};
    const std::string& first = arguments.front();
    if (first == "--help" || first == "--list") {
        if (arguments.size() > 1)
            return UsageError{Kind::NotAlone, first, {}};
        if (first == "--help")
            return HelpCommand{};
        return ListCommand{};
    }
    return parse_export(arguments);
}

} // namespace kastrel::app::batch
