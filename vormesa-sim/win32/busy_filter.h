#pragma once

// How the server refuses calls while the failure plan makes it busy, and how
// it answers no call any more once the plan makes it hang.

#include "vormesa-sim/sim_host.h"

#include <objidl.h>

namespace vormesa_sim::win32 {

// The server thread's message filter: while the model is busy, every
// incoming call is refused with SERVERCALL_RETRYLATER, so the client's
// filter decides whether to call again.
IMessageFilter* make_busy_filter(SimHost& host);

// What a member returns while the model is busy, should the system have let
// the call through in spite of the filter (not every COM runtime honours it).
inline constexpr HRESULT busy_result = RPC_E_SERVERCALL_RETRYLATER;

// The call that hangs and every one after it: nothing is dispatched any more,
// so no caller gets an answer; the server only waits to be told to end, and
// then ends at once.
[[noreturn]] void answer_nothing_more();

} // namespace vormesa_sim::win32
