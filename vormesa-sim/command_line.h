#pragma once

#include "vormesa-sim/failure_plan.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vormesa_sim {

// How the COM server's type library declares the members read without
// arguments: as property gets or as methods.
enum class MemberKind { Properties, Methods };

// Every call from `from_call` on (0-based, counted as the call log counts
// them) fails with an HRESULT, or on the bus with the error `bus_error`.
struct ChosenFailure {
    std::size_t from_call = 0;
    std::int32_t number = 0; // the HRESULT; unused when bus_error is named
    std::string bus_error;   // a D-Bus error name, or empty
};

struct Options {
    bool no_window = false;
    bool help = false;
    std::string call_log;     // empty: no call log
    std::string part_program; // empty: start without an active part program
    // --members-as; only the COM server has declarations to choose.
    std::optional<MemberKind> members_as;
    std::optional<ChosenFailure> failure;
    // --call-delay-ms: every call answered this many ms late.
    std::optional<std::size_t> call_delay_ms;
    // --hang-after-calls: calls from this position on are never answered.
    std::optional<std::size_t> hang_after_calls;
    // --close-program-at-call: the part program is closed as this call comes in.
    std::optional<std::size_t> close_program_at_call;
    // --busy-after-calls with --busy-ms; only the COM server can refuse calls as busy.
    std::optional<std::size_t> busy_after_calls;
    std::optional<std::size_t> busy_ms;
};

class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The plan of the options' failures, delays, hang, busy time and closing.
FailurePlan failure_plan(const Options& options);

// `args` without the program name.
Options parse_command_line(const std::vector<std::string>& args);
std::string usage();

} // namespace vormesa_sim
