#pragma once

#include "host/run_progress.h"
#include "host/variant.h"

#include <string_view>

namespace kastrel::host {

inline constexpr std::string_view application_class = "ZORVAT.Application";
inline constexpr std::string_view host_window_class = "TorvenholmVormesaWndClass";

// How the program reaches a running host. Each function is one seam that a
// backend (COM on Windows, D-Bus on Linux) or a test fills in.
class HostConnector {
public:
    virtual ~HostConnector() = default;
    // Create the application object by class name. Throws AutomationError.
    virtual Object create_object(std::string_view class_name) = 0;
    // Get the object for a path and class; an empty path asks the class's server.
    virtual Object get_object(std::string_view path, std::string_view class_name) = 0;
    // Whether a top-level window of this class exists, whatever its title.
    virtual bool window_exists(std::string_view window_class) = 0;
    // While set, a call that waits for its answer calls `wait` in short
    // steps; null ends that. Not owned. Links that cannot wait so ignore it.
    virtual void set_call_wait(CallWait* /*wait*/) {}
};

} // namespace kastrel::host
