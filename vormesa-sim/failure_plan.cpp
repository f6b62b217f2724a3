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

std::optional<HostError> FailurePlan::failure_for(std::string_view line) {
    const std::size_t position = position_++;
    if (from_ && position >= from_->first)
        return from_->second;
    if (const auto it = at_.find(position); it != at_.end())
        return it->second;
    for (const auto& [call, error] : every_)
        if (names(call, line))
            return error;
    return std::nullopt;
}

} // namespace vormesa_sim
