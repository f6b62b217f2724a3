#pragma once

#include "common/non_copyable.h"
#include "host/run_progress.h"

#include <functional>
#include <memory>
#include <string>

struct sd_bus;
struct sd_bus_message;

namespace kastrel::host::dbus {

struct MessageUnref {
    void operator()(sd_bus_message* message) const noexcept;
};
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

// One connection to the session bus, and the one synchronous call that every
// host member access turns into. Failures come back as AutomationErrors.
// With a CallWait set, a call waits for its answer in short steps of its own
// (up to the bus's timeout, as before), calling the CallWait at each; a call
// it gives up is abandoned and ends with RunCancelled.
class BusConnection : private common::NonCopyable {
public:
    // Opens the session bus; throws AutomationError when there is none.
    BusConnection();
    ~BusConnection();

    using Writer = std::function<void(sd_bus_message*)>;

    // Calls a method of the host service and returns the reply, positioned at
    // its first argument. `write` appends the arguments.
    Message call(const char* path, const char* interface, const char* member, const Writer& write);

    // Whether some connection owns the bus name.
    bool name_has_owner(const std::string& name);

    // Not owned. With a wait, a call waits for its answer for as long as the
    // wait lets it; null: calls wait as sd_bus_call does, up to the bus's timeout.
    void set_call_wait(CallWait* wait) { wait_ = wait; }

    // How long one step of a watched wait is at most.
    static constexpr int wait_step_ms = 20;

private:
    sd_bus* bus_ = nullptr;
    CallWait* wait_ = nullptr;
};

// Turns a negative sd-bus return code into an AutomationError.
void check(int result, const char* what);

} // namespace kastrel::host::dbus
