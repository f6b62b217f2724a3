#include "vormesa-sim/win32/busy_filter.h"

#include "common/com/com_object.h"

#include <windows.h>

namespace vormesa_sim::win32 {

using kastrel::common::com::ComObject;
namespace {

class BusyFilter final : public ComObject<IMessageFilter> {
public:
    explicit BusyFilter(SimHost& host) : host_(host) {}

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD call_type, HTASK, DWORD,
                                               LPINTERFACEINFO) override {
        // Asynchronous calls cannot be refused.
        const bool refusable = call_type == CALLTYPE_TOPLEVEL || call_type == CALLTYPE_NESTED;
        return refusable && host_.busy_now() ? SERVERCALL_RETRYLATER : SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
        return static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }

private:
    SimHost& host_;
};

} // namespace

IMessageFilter* make_busy_filter(SimHost& host) {
    return new BusyFilter(host);
}

void answer_nothing_more() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    }
    // Told to end: the class object goes with the apartment, so the next
    // server is the one COM hands out.
    CoUninitialize();
    ExitProcess(static_cast<UINT>(message.wParam));
}

} // namespace vormesa_sim::win32
