#pragma once

// The model's values as VARIANTs, for the COM server's results.

#include "common/com/com_values.h"
#include "vormesa-sim/host_value.h"

#include <functional>
#include <oaidl.h>
#include <string>

namespace vormesa_sim::win32 {

// Makes the COM object for an object path (never "/"); returns a new reference.
using ObjectMaker = std::function<IDispatch*(const std::string& path)>;

// A result for the caller; "/" is a null IDispatch, as "no object" is in COM.
kastrel::common::com::UniqueVariant variant_of(const Value& value, const ObjectMaker& make_object);

} // namespace vormesa_sim::win32
