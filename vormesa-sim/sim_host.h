#pragma once

// The stand-in host's automation object model: resolves object paths, serves
// member reads, method calls and enumerators the way a strict host does, and
// writes the call log. Transport-free, so it is tested without a bus.

#include "vormesa-sim/failure_plan.h"
#include "vormesa-sim/host_value.h"
#include "vormesa-sim/object_path.h"
#include "vormesa-sim/part_program.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vormesa_sim {

// Thrown for a call the plan leaves unanswered: the transport sends nothing
// back, now or later.
class CallHangs {};

// Receives one line per call, without the line break.
using CallLogSink = std::function<void(const std::string& line)>;

inline constexpr std::string_view application_class = "ZORVAT.Application";

class SimHost {
public:
    // Enumerators a client forgot to release are dropped, oldest first, beyond this.
    static constexpr std::size_t max_enumerators = 4096;

    void set_call_log(CallLogSink sink) { call_log_ = std::move(sink); }
    // Replaces the previous plan; its call positions count from here.
    void set_failure_plan(FailurePlan plan) { failures_ = std::move(plan); }
    // Whether a call coming in now is refused as busy (the plan's busy_from).
    bool busy_now() { return failures_.busy(FailurePlan::Clock::now()); }

    // Makes `program` the active part program; paths into the previous one go stale.
    void open(PartProgram program);
    // No active part program afterwards.
    void close();
    const PartProgram* active_program() const { return program_.get(); }
    std::uint64_t generation() const { return generation_; }

    // Server on the root path; both return the application's path.
    std::string create_object(std::string_view class_name);
    std::string get_object(std::string_view path, std::string_view class_name);

    // Every host object. Failures are thrown as HostError.
    Value get(std::string_view path, std::string_view member);
    InvokeResult invoke(std::string_view path, std::string_view member, std::vector<Argument> args);
    std::string new_enum(std::string_view path);

    // Enumerators.
    NextResult next(std::string_view enumerator_path);
    void release(std::string_view enumerator_path);
    std::size_t enumerator_count() const { return enumerators_.size(); }

private:
    struct Target {
        ObjectAddress address;
        const Command* command = nullptr;
        const Hit* hit = nullptr;
    };
    struct EnumeratorState {
        std::uint64_t generation = 0;
        std::size_t position = 0;
    };

    // Whether calls are logged or may be made to fail, so their lines are needed.
    bool observed() const { return call_log_ || !failures_.empty(); }
    // Every call passes here first: logs it, then delays, hangs (CallHangs)
    // or fails it if the plan says so.
    void enter(std::string_view path, const std::optional<ObjectAddress>& address,
               const std::string& what);
    Target resolve(const std::optional<ObjectAddress>& address) const;
    std::optional<Value> read_property(const Target& target, std::string_view member) const;
    Value get_hit(const Target& target, const std::vector<Argument>& args) const;
    ObjectRef path_to(ObjectAddress address) const;

    std::unique_ptr<const PartProgram> program_;
    std::uint64_t generation_ = 0;
    std::map<std::uint64_t, EnumeratorState> enumerators_;
    std::uint64_t next_enumerator_id_ = 1;
    CallLogSink call_log_;
    FailurePlan failures_;
};

} // namespace vormesa_sim
