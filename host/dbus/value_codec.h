#pragma once

#include "host/variant.h"

#include <functional>
#include <string>

struct sd_bus_message;

namespace kastrel::host::dbus {

// Makes the host object for an object path; "/" is no object.
using ObjectFactory = std::function<Object(const std::string& path)>;

// Appends a value as "(yv)". Objects cannot be sent to the host.
void append_value(sd_bus_message* message, const Variant& value);
// Appends just the "yv" fields, for a value inside a larger struct.
void append_value_fields(sd_bus_message* message, const Variant& value);
// Reads a "(yv)" value.
Variant read_value(sd_bus_message* message, const ObjectFactory& make_object);
// Reads just the "yv" fields, for a value inside a larger struct.
Variant read_value_fields(sd_bus_message* message, const ObjectFactory& make_object);

} // namespace kastrel::host::dbus
