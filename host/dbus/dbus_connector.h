#pragma once

#include "host/connector.h"
#include "host/dbus/bus_connection.h"

namespace kastrel::host::dbus {

// Reaches the stand-in host over the session bus. The connection to the bus
// is opened on first use and kept; host objects are not.
class DbusConnector : public HostConnector {
public:
    DbusConnector() = default;

    Object create_object(std::string_view class_name) override;
    Object get_object(std::string_view path, std::string_view class_name) override;
    bool window_exists(std::string_view window_class) override;
    void set_call_wait(CallWait* wait) override;

private:
    BusConnection& bus();
    // The object the server's `method` answers with; a failure is the COM
    // client's "cannot create" for `class_name`.
    Object server_object(const char* method, const std::string& class_name,
                         const BusConnection::Writer& write);
    std::shared_ptr<BusConnection> bus_;
    CallWait* wait_ = nullptr;
};

} // namespace kastrel::host::dbus
