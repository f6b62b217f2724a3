#pragma once

#include "host/dbus/bus_connection.h"
#include "host/dispatch.h"

#include <memory>
#include <string>

namespace kastrel::host::dbus {

// A host object on the bus, named by its object path.
class DbusDispatch : public Dispatch {
public:
    DbusDispatch(std::shared_ptr<BusConnection> bus, std::string path);

    Variant get(std::string_view member) override;
    Variant call(std::string_view member, std::span<Argument> args) override;
    std::unique_ptr<Enumerator> enumerate() override;

    const std::string& path() const noexcept { return path_; }

private:
    std::shared_ptr<BusConnection> bus_;
    std::string path_;
};

// The object for a path of the host service; no object for "/".
Object make_object(const std::shared_ptr<BusConnection>& bus, const std::string& path);

} // namespace kastrel::host::dbus
