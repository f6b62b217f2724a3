#include "host/dbus/bus_connection.h"

#include "common/dbus/protocol.h"
#include "host/automation_error.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <string_view>
#include <systemd/sd-bus.h>
#include <utility>

namespace kastrel::host::dbus {

using namespace common::dbus;

namespace {

struct ErrorFree {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ~ErrorFree() { sd_bus_error_free(&error); }
};

// A message this side could not build or read, or one the other side could
// not take; the host may well be fine.
constexpr auto unexpected = static_cast<std::int32_t>(0x8000FFFF);

// The bus's errors for a peer that is gone or did not answer.
constexpr std::array lost_host_error_names = {
    SD_BUS_ERROR_NO_REPLY,     SD_BUS_ERROR_SERVICE_UNKNOWN, SD_BUS_ERROR_NAME_HAS_NO_OWNER,
    SD_BUS_ERROR_DISCONNECTED, SD_BUS_ERROR_TIMEOUT,         "org.freedesktop.DBus.Error.TimedOut",
    SD_BUS_ERROR_NO_SERVER,
};

// sd-bus's own results for a link that broke or a call that timed out, and
// what it makes of the errors above.
constexpr std::array lost_host_results = {
    ETIMEDOUT, ECONNRESET, ECONNREFUSED, ECONNABORTED, ENOTCONN,
    EPIPE,     ESHUTDOWN,  EHOSTUNREACH, EHOSTDOWN,    ENXIO,
};

bool means_host_lost(const sd_bus_error& error, int result) {
    for (const char* name : lost_host_error_names)
        if (sd_bus_error_has_name(&error, name))
            return true;
    return std::find(lost_host_results.begin(), lost_host_results.end(), -result) !=
           lost_host_results.end();
}

// The host's own failure: "<number> <description>".
[[noreturn]] void throw_host_failure(const sd_bus_error& error) {
    std::string_view message = error.message ? error.message : "";
    std::int32_t number = 0;
    const auto [end, ec] = std::from_chars(message.data(), message.data() + message.size(), number);
    if (ec == std::errc() && end != message.data()) {
        message.remove_prefix(static_cast<std::size_t>(end - message.data()));
        if (!message.empty() && message.front() == ' ')
            message.remove_prefix(1);
        throw AutomationError(number, std::string(message));
    }
    // Not in the host's form: a malformed answer, not a lost host.
    throw AutomationError(ErrorKind::System, unexpected, {},
                          std::string(error_name) + ": " + std::string(message));
}

// The object called belongs to a part program the host has closed since:
// what a COM client gets from an object its server has disconnected.
[[noreturn]] void throw_disconnected(const sd_bus_error& error) {
    throw AutomationError(ErrorKind::System, error_number::host_disconnected, {},
                          std::string(error.name) + ": " + (error.message ? error.message : ""));
}

// The call did not get the host's answer; the bus says why. Only an error
// that means the host is gone or did not answer counts as a lost host.
[[noreturn]] void throw_transport_failure(const sd_bus_error& error, int result) {
    std::string detail;
    if (error.name && *error.name)
        detail = std::string(error.name) + ": ";
    detail += error.message && *error.message ? error.message : std::strerror(-result);
    const std::int32_t number =
        means_host_lost(error, result) ? error_number::host_unavailable : unexpected;
    throw AutomationError(ErrorKind::System, number, {}, detail);
}

// The answer to a call made with sd_bus_call_async, once it is there.
struct PendingAnswer {
    bool arrived = false;
    sd_bus_message* reply = nullptr;
    ErrorFree error;
    int result = 0;

    ~PendingAnswer() { sd_bus_message_unref(reply); }

    static int take(sd_bus_message* message, void* userdata, sd_bus_error* /*error*/) {
        auto& self = *static_cast<PendingAnswer*>(userdata);
        self.arrived = true;
        if (const sd_bus_error* failed = sd_bus_message_get_error(message)) {
            sd_bus_error_copy(&self.error.error, failed);
            self.result = -sd_bus_error_get_errno(failed);
            if (self.result == 0)
                self.result = -EIO;
        } else {
            self.reply = sd_bus_message_ref(message);
        }
        return 1;
    }
};

struct SlotUnref {
    void operator()(sd_bus_slot* slot) const noexcept { sd_bus_slot_unref(slot); }
};

// sd_bus_call's work, waited for in steps of at most `step_ms`, each reported to `wait`.
int call_watched(sd_bus* bus, CallWait& wait, int step_ms, sd_bus_message* request,
                 sd_bus_error* error, sd_bus_message** reply) {
    using Clock = std::chrono::steady_clock;
    PendingAnswer answer;
    sd_bus_slot* raw_slot = nullptr;
    // No timeout of the bus's own: a host that does not answer is waited for
    // until it answers or the user gives the call up; a host that goes away
    // still ends the call at once.
    constexpr std::uint64_t no_timeout = UINT64_MAX;
    int result =
        sd_bus_call_async(bus, &raw_slot, request, &PendingAnswer::take, &answer, no_timeout);
    if (result < 0)
        return result;
    // Dropping the slot abandons the call, should it be given up.
    const std::unique_ptr<sd_bus_slot, SlotUnref> slot(raw_slot);
    const Clock::time_point start = Clock::now();
    Clock::time_point last_report = start;
    // Sent already: wait first, then take what has come.
    for (;;) {
        result = sd_bus_wait(bus, static_cast<std::uint64_t>(step_ms) * 1000);
        if (result < 0 && result != -EINTR)
            return result;
        do {
            result = sd_bus_process(bus, nullptr);
            if (result < 0)
                return result;
        } while (result > 0 && !answer.arrived);
        if (answer.arrived)
            break;
        const Clock::time_point now = Clock::now();
        if (now - last_report >= std::chrono::milliseconds(step_ms)) {
            last_report = now;
            const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - start);
            if (!wait.keep_waiting(waited, Waiting::ForAnswer))
                throw RunCancelled();
        }
    }
    if (answer.result < 0) {
        sd_bus_error_move(error, &answer.error.error);
        return answer.result;
    }
    *reply = std::exchange(answer.reply, nullptr);
    return 1;
}

} // namespace

void MessageUnref::operator()(sd_bus_message* message) const noexcept {
    sd_bus_message_unref(message);
}

void check(int result, const char* what) {
    if (result < 0)
        throw AutomationError(ErrorKind::System, unexpected, {},
                              std::string("D-Bus: ") + what + ": " + std::strerror(-result));
}

BusConnection::BusConnection() {
    const int result = sd_bus_open_user(&bus_);
    if (result < 0)
        throw AutomationError(ErrorKind::CannotCreate, std::string(service_name),
                              std::string("keine Sitzungs-D-Bus: ") + std::strerror(-result));
}

BusConnection::~BusConnection() {
    sd_bus_flush_close_unref(bus_);
}

Message BusConnection::call(const char* path, const char* interface, const char* member,
                            const Writer& write) {
    sd_bus_message* raw = nullptr;
    check(sd_bus_message_new_method_call(bus_, &raw, service_name, path, interface, member),
          member);
    Message request(raw);
    if (write)
        write(request.get());

    ErrorFree error;
    sd_bus_message* reply_raw = nullptr;
    const int result =
        wait_ ? call_watched(bus_, *wait_, wait_step_ms, request.get(), &error.error, &reply_raw)
              : sd_bus_call(bus_, request.get(), 0, &error.error, &reply_raw);
    Message reply(reply_raw);
    if (result < 0) {
        if (sd_bus_error_has_name(&error.error, error_name))
            throw_host_failure(error.error);
        if (sd_bus_error_has_name(&error.error, disconnected_error_name))
            throw_disconnected(error.error);
        throw_transport_failure(error.error, result);
    }
    return reply;
}

bool BusConnection::name_has_owner(const std::string& name) {
    ErrorFree error;
    sd_bus_message* reply_raw = nullptr;
    const int result = sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                          "org.freedesktop.DBus", "NameHasOwner", &error.error,
                                          &reply_raw, "s", name.c_str());
    Message reply(reply_raw);
    if (result < 0)
        return false;
    int has_owner = 0;
    if (sd_bus_message_read(reply.get(), "b", &has_owner) < 0)
        return false;
    return has_owner != 0;
}

} // namespace kastrel::host::dbus
