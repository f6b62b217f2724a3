#pragma once

#include "vormesa-sim/win32/server_lifetime.h"

#include <oaidl.h>
#include <string>

namespace vormesa_sim::win32 {

// The COM object for a model path: the application, a part program, its
// commands, a command, a feature or a point, each behind its interface of the
// server's type library. IDispatch goes through that library (DispInvoke), so
// the system checks call kinds, argument counts and types; the members call
// the model by name, whose failures reach the caller as DISP_E_EXCEPTION with
// their number and description. A new reference for the caller; throws
// HostError for a path that names none of these objects.
IDispatch* make_host_object(ServerContext& context, const std::string& path);

} // namespace vormesa_sim::win32
