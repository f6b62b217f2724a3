#pragma once

#include <chrono>
#include <string_view>

namespace kastrel::host {

// The user has given up the run. Thrown from a progress report between two
// host calls, or by a backend for a call given up while it waited; it is no
// AutomationError, so no step of the engine takes it for a failed value, and
// it unwinds to the handler that started the run.
class RunCancelled {};

// What a long run reports as it goes. Each report may throw RunCancelled: the
// run stops there, between two host calls. The defaults report to no one, for
// runs without a window.
class RunProgress {
public:
    virtual ~RunProgress() = default;
    // The listing has read `features` IDs so far.
    virtual void listed(int /*features*/) {}
    // The export has walked one more command.
    virtual void command_walked() {}
    // The export writes the `number`-th matched feature; `of` is how many
    // entries are selected (features matched so far, should that be more).
    virtual void feature_started(std::string_view /*id*/, int /*number*/, int /*of*/) {}
    // The export reads hit `number` of the feature's `of` (its NumHits).
    virtual void hit_started(double /*number*/, double /*of*/) {}
};

// Why a host call has no answer yet.
enum class Waiting { ForAnswer, HostBusy };

// The "while waiting" seam of the host links: called in short steps while a
// host call waits for its answer, on the thread that asked for the call. It must
// not call into the host.
class CallWait {
public:
    virtual ~CallWait() = default;
    // `waited`: since the call was made. False: give the call up; the link
    // then ends it with RunCancelled (or, where it cannot, with a failure the
    // next progress report turns into RunCancelled).
    virtual bool keep_waiting(std::chrono::milliseconds waited, Waiting why) noexcept = 0;
};

} // namespace kastrel::host
