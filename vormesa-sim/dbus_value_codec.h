#pragma once

// Host values in the wire form "(yv)" / "(yvb)" of common/dbus/protocol.h.

#include "vormesa-sim/host_value.h"

#include <systemd/sd-bus.h>
#include <vector>

namespace vormesa_sim {

// Each returns a negative errno value on failure, like sd-bus itself.
int append_value(sd_bus_message* message, const Value& value);                    // (yv)
int append_arguments(sd_bus_message* message, const std::vector<Argument>& args); // a(yvb)
// -EINVAL when a kind byte does not match the variant's type.
int read_arguments(sd_bus_message* message, std::vector<Argument>& args); // a(yvb)

} // namespace vormesa_sim
