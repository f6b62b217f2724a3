#include "vormesa-sim/dbus_server.h"

#include "common/dbus/protocol.h"
#include "vormesa-sim/dbus_value_codec.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <systemd/sd-bus.h>

namespace vormesa_sim {

namespace protocol = kastrel::common::dbus;

namespace {

struct MessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using MessagePtr = std::unique_ptr<sd_bus_message, MessageUnref>;

std::string window_bus_name() {
    return std::string(protocol::window_name_prefix) + std::string(main_window_class);
}

[[noreturn]] void fail(const std::string& what, int r) {
    throw BusError(what + ": " + std::strerror(-r), r);
}

bool is_call(sd_bus_message* message, const char* interface, const char* member) {
    return sd_bus_message_is_method_call(message, interface, member) > 0;
}

int reply_invalid_args(sd_bus_message* call, const char* why) {
    return sd_bus_reply_method_errorf(call, SD_BUS_ERROR_INVALID_ARGS, "%s", why);
}

// Builds and sends the reply; `fill` appends the out arguments.
template <class Fill> int reply(sd_bus_message* call, Fill&& fill) {
    sd_bus_message* raw = nullptr;
    int r = sd_bus_message_new_method_return(call, &raw);
    if (r < 0)
        return r;
    MessagePtr message(raw);
    if ((r = fill(message.get())) < 0)
        return r;
    return sd_bus_send(nullptr, message.get(), nullptr);
}

class CallHandler {
public:
    CallHandler(SimHost& host, sd_bus_message* call)
        : host_(host), call_(call), path_(sd_bus_message_get_path(call)) {}

    // 0 when the call is none of ours, so sd-bus answers "unknown method".
    int run() {
        if (path_ == protocol::root_path) {
            if (is_call(call_, protocol::server_interface, "CreateObject"))
                return create_object();
            if (is_call(call_, protocol::server_interface, "GetObject"))
                return get_object();
            return 0;
        }
        if (is_call(call_, protocol::object_interface, "Get"))
            return get();
        if (is_call(call_, protocol::object_interface, "Invoke"))
            return invoke();
        if (is_call(call_, protocol::object_interface, "NewEnum"))
            return new_enum();
        if (is_call(call_, protocol::enumerator_interface, "Next"))
            return next();
        if (is_call(call_, protocol::enumerator_interface, "Release"))
            return release();
        return 0;
    }

private:
    bool has_signature(const char* signature) const {
        return sd_bus_message_has_signature(call_, signature) > 0;
    }

    int reply_object(const std::string& path) {
        return reply(
            call_, [&](sd_bus_message* m) { return sd_bus_message_append(m, "o", path.c_str()); });
    }

    int create_object() {
        const char* class_name = nullptr;
        if (!has_signature("s") || sd_bus_message_read(call_, "s", &class_name) < 0)
            return reply_invalid_args(call_, "CreateObject(s) erwartet");
        return reply_object(host_.create_object(class_name));
    }

    int get_object() {
        const char* path = nullptr;
        const char* class_name = nullptr;
        if (!has_signature("ss") || sd_bus_message_read(call_, "ss", &path, &class_name) < 0)
            return reply_invalid_args(call_, "GetObject(ss) erwartet");
        return reply_object(host_.get_object(path, class_name));
    }

    int get() {
        const char* member = nullptr;
        if (!has_signature("s") || sd_bus_message_read(call_, "s", &member) < 0)
            return reply_invalid_args(call_, "Get(s) erwartet");
        const Value value = host_.get(path_, member);
        return reply(call_, [&](sd_bus_message* m) { return append_value(m, value); });
    }

    int invoke() {
        const char* member = nullptr;
        std::vector<Argument> args;
        if (!has_signature("sa(yvb)") || sd_bus_message_read(call_, "s", &member) < 0 ||
            read_arguments(call_, args) < 0)
            return reply_invalid_args(call_, "Invoke(sa(yvb)) mit passenden Wertarten erwartet");
        const InvokeResult result = host_.invoke(path_, member, std::move(args));
        return reply(call_, [&](sd_bus_message* m) {
            const int r = append_value(m, result.result);
            return r < 0 ? r : append_arguments(m, result.args_after);
        });
    }

    int new_enum() {
        if (!has_signature(""))
            return reply_invalid_args(call_, "NewEnum() erwartet");
        return reply_object(host_.new_enum(path_));
    }

    int next() {
        if (!has_signature(""))
            return reply_invalid_args(call_, "Next() erwartet");
        const NextResult result = host_.next(path_);
        return reply(call_, [&](sd_bus_message* m) {
            const int r = sd_bus_message_append(m, "b", result.more ? 1 : 0);
            return r < 0 ? r : append_value(m, result.item);
        });
    }

    int release() {
        if (!has_signature(""))
            return reply_invalid_args(call_, "Release() erwartet");
        host_.release(path_);
        return reply(call_, [](sd_bus_message*) { return 0; });
    }

    SimHost& host_;
    sd_bus_message* call_;
    std::string path_;
};

int handle_call(sd_bus_message* call, void* userdata, sd_bus_error* /*error*/) {
    auto& host = *static_cast<SimHost*>(userdata);
    // No exception may cross back into sd-bus.
    try {
        return CallHandler(host, call).run();
    } catch (const CallHangs&) {
        // Taken, and never answered: the caller waits, the connection stays.
        return 1;
    } catch (const HostError& failure) {
        if (failure.is_link_failure() && !failure.bus_error().empty())
            return sd_bus_reply_method_errorf(call, failure.bus_error().c_str(), "%s",
                                              failure.description().empty()
                                                  ? "vormesa-sim: --fail-with"
                                                  : failure.description().c_str());
        return sd_bus_reply_method_errorf(call, protocol::error_name, "%d %s", failure.number(),
                                          failure.description().c_str());
    } catch (const std::exception& failure) {
        return sd_bus_reply_method_errorf(call, SD_BUS_ERROR_FAILED, "%s", failure.what());
    }
}

} // namespace

void DbusServer::BusCloser::operator()(sd_bus* bus) const {
    sd_bus_flush_close_unref(bus);
}
void DbusServer::SlotReleaser::operator()(sd_bus_slot* slot) const {
    sd_bus_slot_unref(slot);
}

DbusServer::DbusServer(SimHost& host) : host_(host) {
    sd_bus* bus = nullptr;
    int r = sd_bus_open_user(&bus);
    if (r < 0)
        fail("Keine Verbindung zum Session-Bus", r);
    bus_.reset(bus);
    sd_bus_slot* slot = nullptr;
    r = sd_bus_add_fallback(bus, &slot, protocol::root_path, handle_call, &host_);
    if (r < 0)
        fail("Objekte können nicht angemeldet werden", r);
    slot_.reset(slot);
}

DbusServer::~DbusServer() {
    // Released explicitly so the next host can take the names at once, not
    // only when the bus daemon notices the closed connection.
    set_window_shown(false);
    if (service_name_owned_)
        sd_bus_release_name(bus_.get(), protocol::service_name);
    // The slot refers to the bus; drop it first.
    slot_.reset();
    bus_.reset();
}

void DbusServer::request_service_name() {
    const int r = sd_bus_request_name(bus_.get(), protocol::service_name, 0);
    if (r == -EEXIST)
        throw BusError(std::string("Der Busname ") + protocol::service_name +
                           " ist schon belegt (läuft bereits ein Vormesa?)",
                       r);
    if (r < 0 && r != -EALREADY)
        fail(std::string("Der Busname ") + protocol::service_name + " kann nicht belegt werden", r);
    service_name_owned_ = true;
}

void DbusServer::set_window_shown(bool shown) {
    if (shown == window_shown_)
        return;
    const std::string name = window_bus_name();
    if (shown) {
        const int r = sd_bus_request_name(bus_.get(), name.c_str(), 0);
        if (r < 0 && r != -EALREADY)
            fail("Der Busname " + name + " kann nicht belegt werden", r);
    } else {
        sd_bus_release_name(bus_.get(), name.c_str());
    }
    window_shown_ = shown;
}

int DbusServer::fd() const {
    return sd_bus_get_fd(bus_.get());
}

std::optional<std::chrono::microseconds> DbusServer::time_to_deadline() const {
    std::uint64_t deadline = 0;
    if (sd_bus_get_timeout(bus_.get(), &deadline) < 0 || deadline == UINT64_MAX)
        return std::nullopt;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t now_usec = static_cast<std::uint64_t>(now.tv_sec) * 1000000u +
                                   static_cast<std::uint64_t>(now.tv_nsec) / 1000u;
    return std::chrono::microseconds(deadline > now_usec ? deadline - now_usec : 0);
}

void DbusServer::process() {
    for (;;) {
        const int r = sd_bus_process(bus_.get(), nullptr);
        if (r < 0)
            fail("Verbindung zum Session-Bus gestört", r);
        if (r == 0)
            break;
    }
    const int r = sd_bus_flush(bus_.get());
    if (r < 0)
        fail("Antworten können nicht gesendet werden", r);
}

void DbusServer::wait(std::chrono::microseconds at_most) {
    const int r = sd_bus_wait(bus_.get(), static_cast<std::uint64_t>(at_most.count()));
    if (r < 0 && r != -EINTR)
        fail("Warten auf den Session-Bus fehlgeschlagen", r);
}

std::string DbusServer::unique_name() const {
    const char* name = nullptr;
    return sd_bus_get_unique_name(bus_.get(), &name) >= 0 && name ? name : "";
}

} // namespace vormesa_sim
