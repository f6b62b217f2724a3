#pragma once

// Which calls into the host model are to fail, come late, hang or be refused
// as busy, and at which call the part program is closed, so a client's
// handling of each at any point of its call sequence can be tested.

#include "vormesa-sim/host_value.h"

#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vormesa_sim {

// What the host does with one call besides answering it.
struct CallFate {
    std::optional<HostError> failure;   // answered with this failure
    std::chrono::milliseconds delay{0}; // answered this late
    bool hang = false;                  // not answered at all
    bool close_program = false;         // the part program is closed before it is served
};

class FailurePlan {
public:
    using Clock = std::chrono::steady_clock;

    // The call at this 0-based position fails; positions count from the
    // moment the plan is handed to the host.
    FailurePlan& fail_call(std::size_t position, HostError error);
    // Every call of `call` fails: a whole call-log line ("Point#0.2.3 X"), a
    // line without its arguments ("Feature#1 GetHit") or a member ("GetHit").
    FailurePlan& fail_every(std::string call, HostError error);
    // From this position on every call fails, as when the host has gone.
    FailurePlan& fail_from(std::size_t position, HostError error);
    // Every call is answered this much later.
    FailurePlan& delay_every(std::chrono::milliseconds delay);
    // From this position on no call is answered, as when the host hangs.
    FailurePlan& hang_from(std::size_t position);
    // Once the calls before this position have been made, calls are refused
    // as busy for `how_long`, from the first that comes; refused calls do not
    // reach the model, so they are neither counted nor logged.
    FailurePlan& busy_from(std::size_t position, std::chrono::milliseconds how_long);
    // The call at this position finds the part program closed, as if the user
    // had closed it just before: it and every later call on the program's
    // objects fail as calls on disconnected objects do.
    FailurePlan& close_program_at(std::size_t position);

    bool empty() const {
        return at_.empty() && every_.empty() && !from_ && delay_ == delay_.zero() && !hang_from_ &&
               !busy_ && !close_at_;
    }

    // Counts the call the log writes as `line`; what is to become of it.
    CallFate fate_of(std::string_view line);
    // Whether a call coming in at `now` is refused as busy.
    bool busy(Clock::time_point now);

private:
    struct Busy {
        std::size_t from = 0;
        std::chrono::milliseconds how_long{0};
        std::optional<Clock::time_point> started;
    };

    std::map<std::size_t, HostError> at_;
    std::vector<std::pair<std::string, HostError>> every_;
    std::optional<std::pair<std::size_t, HostError>> from_;
    std::chrono::milliseconds delay_{0};
    std::optional<std::size_t> hang_from_;
    std::optional<Busy> busy_;
    std::optional<std::size_t> close_at_;
    std::size_t position_ = 0;
};

} // namespace vormesa_sim
