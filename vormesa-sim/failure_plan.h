#pragma once

// Which calls into the host model are to fail, so a client's handling of a
// failure at any point of its call sequence can be tested in process.

#include "vormesa-sim/host_value.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vormesa_sim {

class FailurePlan {
public:
    // The call at this 0-based position fails; positions count from the
    // moment the plan is handed to the host.
    FailurePlan& fail_call(std::size_t position, HostError error);
    // Every call of `call` fails: a whole call-log line ("Point#0.2.3 X"), a
    // line without its arguments ("Feature#1 GetHit") or a member ("GetHit").
    FailurePlan& fail_every(std::string call, HostError error);
    // From this position on every call fails, as when the host has gone.
    FailurePlan& fail_from(std::size_t position, HostError error);

    bool empty() const { return at_.empty() && every_.empty() && !from_; }

    // Counts the call the log writes as `line`; the failure it is to raise.
    std::optional<HostError> failure_for(std::string_view line);

private:
    std::map<std::size_t, HostError> at_;
    std::vector<std::pair<std::string, HostError>> every_;
    std::optional<std::pair<std::size_t, HostError>> from_;
    std::size_t position_ = 0;
};

} // namespace vormesa_sim
