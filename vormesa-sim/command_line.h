#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vormesa_sim {

// How the COM server's type library declares the members read without
// arguments: as property gets or as methods.
enum class MemberKind { Properties, Methods };

struct Options {
    bool no_window = false;
    bool help = false;
    std::string call_log;     // empty: no call log
    std::string part_program; // empty: start without an active part program
    // --members-as; only the COM server has declarations to choose.
    std::optional<MemberKind> members_as;
};

class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `args` without the program name.
Options parse_command_line(const std::vector<std::string>& args);
std::string usage();

} // namespace vormesa_sim
