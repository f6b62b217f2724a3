#pragma once

// DISPIDs of the member names the object model knows. Without a type library
// the server hands these out from GetIDsOfNames; whether an object has the
// member is for the model to say when it is invoked.

#include <oaidl.h>
#include <optional>
#include <string_view>

namespace vormesa_sim::win32 {

// Names compare without regard to case, as automation names do.
std::optional<DISPID> dispid_of(std::wstring_view name);
// The model's spelling of the member; nothing for unknown DISPIDs.
std::optional<std::string_view> member_of(DISPID dispid);

} // namespace vormesa_sim::win32
