#pragma once

#include "common/com/com_values.h"
#include "host/com/call_thread.h"
#include "host/variant.h"

namespace kastrel::host::com {

// A value the host returned, on the call thread its objects belong to.
// Integer kinds become Int32 (Double when they do not fit), currency, date
// and decimal become Double; other kinds are a type mismatch.
Variant to_host(const VARIANT& value, const std::shared_ptr<CallThread>& thread);

// A value to pass to the host, on the call thread. Only objects that came from the host can be
// passed back; others are a type mismatch.
common::com::UniqueVariant to_com(const Variant& value);

// Points `reference` (VT_BYREF) at the value held in `target`, so the host
// writes its result into `target`.
void refer_to(VARIANT& target, VARIANT& reference);

} // namespace kastrel::host::com
