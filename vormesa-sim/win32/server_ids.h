#pragma once

// What the Windows stand-in host and the programs that start it agree on.

#include <guiddef.h>
#include <string>

namespace vormesa_sim::win32 {

// The class registered for ZORVAT.Application: {2CC77CD5-DF65-4A45-8B3D-C1E9BBF21409}.
inline constexpr GUID application_class_id = {
    0x2cc77cd5, 0xdf65, 0x4a45, {0x8b, 0x3d, 0xc1, 0xe9, 0xbb, 0xf2, 0x14, 0x09}};

// A program that starts the server itself creates this event before the
// server runs (e.g. starting it suspended); the server sets it once its class
// object is registered, so COM will not launch a second server.
inline std::wstring ready_event_name(unsigned long process_id) {
    return L"vormesa-sim-win-ready-" + std::to_wstring(process_id);
}

} // namespace vormesa_sim::win32
