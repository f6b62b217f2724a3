#pragma once

#include "common/com/com_values.h"
#include "host/variant.h"

namespace kastrel::host::com {

// A value the host returned. Integer kinds become Int32 (Double when they do
// not fit), currency, date and decimal become Double; other kinds are a type
// mismatch.
Variant to_host(const VARIANT& value);

// A value to pass to the host. Only objects that came from the host can be
// passed back; others are a type mismatch.
common::com::UniqueVariant to_com(const Variant& value);

// Points `reference` (VT_BYREF) at the value held in `target`, so the host
// writes its result into `target`.
void refer_to(VARIANT& target, VARIANT& reference);

} // namespace kastrel::host::com
