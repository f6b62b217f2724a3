#pragma once

// VARIANTs to the model's values and back, for the COM server.

#include "common/com/com_values.h"
#include "vormesa-sim/host_value.h"

#include <functional>
#include <oaidl.h>
#include <optional>
#include <string>

namespace vormesa_sim::win32 {

// Makes the COM object for an object path (never "/"); returns a new reference.
using ObjectMaker = std::function<IDispatch*(const std::string& path)>;

// An argument as the model takes it, by-reference ones read through; nothing
// for kinds the model has no value for.
std::optional<Value> value_of(const VARIANT& argument);

// A result for the caller; "/" is a null IDispatch, as "no object" is in COM.
kastrel::common::com::UniqueVariant variant_of(const Value& value, const ObjectMaker& make_object);

// Writes `value` to where the by-reference argument points; false when the
// value does not fit the referenced kind.
bool store_by_ref(const Value& value, VARIANT& reference, const ObjectMaker& make_object);

} // namespace vormesa_sim::win32
