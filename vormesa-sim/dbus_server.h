#pragma once

// Serves a SimHost on the D-Bus session bus with sd-bus, in the wire form of
// common/dbus/protocol.h. No event loop of its own: the owner watches fd() and
// calls process(); wait() is there for loops without a toolkit (tests).

#include "common/non_copyable.h"
#include "vormesa-sim/sim_host.h"

#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sd_bus;
struct sd_bus_slot;

namespace vormesa_sim {

// The window class whose presence the client tests for.
inline constexpr std::string_view main_window_class = "TorvenholmVormesaWndClass";

// The bus could not be used: no session bus, name taken, connection lost.
class BusError : public std::runtime_error {
public:
    BusError(const std::string& what, int error_code)
        : std::runtime_error(what), error_code_(error_code) {}
    // A negative errno value, as sd-bus reports it.
    int error_code() const noexcept { return error_code_; }

private:
    int error_code_;
};

class DbusServer : private kastrel::common::NonCopyable {
public:
    // Opens its own connection to the session bus and registers the object tree.
    explicit DbusServer(SimHost& host);
    ~DbusServer();

    // Requests ZORVAT.Application; throws BusError (error_code -EEXIST when taken).
    void request_service_name();
    // Owns ZORVAT.Window.<class> while the main window is shown.
    void set_window_shown(bool shown);
    bool window_shown() const noexcept { return window_shown_; }

    int fd() const;
    // Time until sd-bus wants process() called anyway; nothing when it has no deadline.
    std::optional<std::chrono::microseconds> time_to_deadline() const;
    // Handles every message already received, then flushes the replies.
    void process();
    // Blocks until the bus has something to read or `at_most` has passed.
    void wait(std::chrono::microseconds at_most);

    std::string unique_name() const;

private:
    struct BusCloser {
        void operator()(sd_bus* bus) const;
    };
    struct SlotReleaser {
        void operator()(sd_bus_slot* slot) const;
    };

    SimHost& host_;
    std::unique_ptr<sd_bus, BusCloser> bus_;
    std::unique_ptr<sd_bus_slot, SlotReleaser> slot_;
    bool service_name_owned_ = false;
    bool window_shown_ = false;
};

} // namespace vormesa_sim
