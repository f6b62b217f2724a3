#pragma once

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
class BusConnection {
public:
    // Opens the session bus; throws AutomationError when there is none.
    BusConnection();
    ~BusConnection();
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;

    using Writer = std::function<void(sd_bus_message*)>;

    // Calls a method of the host service and returns the reply, positioned at
    // its first argument. `write` appends the arguments.
    Message call(const char* path, const char* interface, const char* member, const Writer& write);

    // Whether some connection owns the bus name.
    bool name_has_owner(const std::string& name);

private:
    sd_bus* bus_ = nullptr;
};

// Turns a negative sd-bus return code into an AutomationError.
void check(int result, const char* what);

} // namespace kastrel::host::dbus
