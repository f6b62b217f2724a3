#pragma once

#include "export/export_request.h"

#include <string>
#include <variant>
#include <vector>

namespace kastrel::app::batch {

struct HelpCommand {};
struct ListCommand {};

// --export FILE: the window's start state unless the options say otherwise.
// --evaluate: the same run without a file, its rows on standard output.
struct ExportCommand {
    std::string file; // UTF-8; empty for --evaluate
    bool evaluate = false;
    exporter::OutputOption option = exporter::OutputOption::Option4;
    exporter::PlaneSwitches planes{true, false, false};
    bool select_all = false;
    std::vector<std::string> select; // IDs, in the order given
    std::string part;                // --part: an AQDEF file's part number; empty: none given
};

// What is wrong with a command line; messages words it.
struct UsageError {
    enum class Kind {
        UnknownArgument, // `argument`
        MissingValue,    // `option` ends the line
        InvalidValue,    // `option` with `argument`
        GivenTwice,      // `option`
        NotAlone,        // `option` (--list, --help) with other arguments
        NoCommand,       // neither --export, --list nor --help
        NoSelection,     // --export (`option` empty) or `option` without --all or --select
        BothSelections,  // --all and --select together
        OnlyForAqdef,    // `option` (--part) with a FILE that is no AQDEF file
        NotForAqdef,     // `option` (--option) with an AQDEF FILE
        AqdefNeedsPlane, // --plane none with an AQDEF FILE
        NotWithEvaluate, // `option` (--export, --option, --plane none) with --evaluate
    };
    Kind kind;
    std::string option;
    std::string argument;
};

using Command = std::variant<HelpCommand, ListCommand, ExportCommand, UsageError>;

// The arguments after the program's name, at least one.
Command parse_command_line(const std::vector<std::string>& arguments);

} // namespace kastrel::app::batch
