#include "vormesa-sim/failure_plan.h"

namespace vormesa_sim {

namespace {

// A line is "<role> <member>" or "<role> <member>(<arguments>)".
bool names(std::string_view call, std::string_view line) {
    const std::size_t space = line.find(' ');
    const std::string_view role = line.substr(0, space);
    std::string_view member = space == std::string_view::npos ? "" : line.substr(space + 1);
    member = member.substr(0, member.find('('));
    return call == line || call == member || call == std::string(role) + " " + std::string(member);
}

} // namespace

FailurePlan& FailurePlan::fail_call(std::size_t position, HostError error) {
    at_.insert_or_assign(position, std::move(error));
    return *this;
}

FailurePlan& FailurePlan::fail_every(std::string call, HostError error) {
    every_.emplace_back(std::move(call), std::move(error));
    return *this;
}

FailurePlan& FailurePlan::fail_from(std::size_t position, HostError error) {
    from_.emplace(position, std::move(error));
    return *this;
}

FailurePlan& FailurePlan::delay_every(std::chrono::milliseconds delay) {
    delay_ = delay;
    return *this;
}

FailurePlan& FailurePlan::hang_from(std::size_t position) {
    hang_from_ = position;
    return *this;
}

FailurePlan& FailurePlan::busy_from(std::size_t position, std::chrono::milliseconds how_long) {
    busy_ = Busy{position, how_long, std::nullopt};
    return *this;
}

FailurePlan& FailurePlan::close_program_at(std::size_t position) {
    close_at_ = position;
    return *this;
}

CallFate FailurePlan::fate_of(std::string_view line) {
    const std::size_t position = position_++;
    CallFate fate;
    fate.delay = delay_;
    fate.close_program = close_at_ == position;
    if (hang_from_ && position >= *hang_from_) {
        fate.hang = true;
        return fate;
    }
    if (from_ && position >= from_->first) {
        fate.failure = from_->second;
        return fate;
    }
    if (const auto it = at_.find(position); it != at_.end()) {
        fate.failure = it->second;
        return fate;
    }
    for (const auto& [call, error] : every_)
        if (names(call, line)) {
            fate.failure = error;
            return fate;
        }
    return fate;
}

bool FailurePlan::busy(Clock::time_point now) {
    if (!busy_ || position_ < busy_->from)
        return false;
    if (!busy_->started)
        busy_->started = now;
    return now < *busy_->started + busy_->how_long;
}

} // namespace vormesa_sim
