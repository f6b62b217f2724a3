#pragma once

#include <string>

namespace vormesa_sim::win32 {

// Registers this executable as the local server of ZORVAT.Application under
// HKLM\Software\Classes (Wine does not merge per-user classes into HKCR).
// Both return an error text, empty on success.
std::string register_server();
std::string unregister_server();

// This executable's full path: what is registered, and where its type libraries are.
std::wstring executable_path();

} // namespace vormesa_sim::win32
