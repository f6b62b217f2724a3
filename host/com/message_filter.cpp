#include "host/com/message_filter.h"

#include "common/com/com_object.h"

#include <chrono>

namespace kastrel::host::com {
namespace {

using common::com::ComPtr;

// How often a waiting call hears of itself, and how long a busy host is
// left alone before the call is made again.
constexpr UINT wait_tick_ms = 40;
constexpr DWORD busy_pause_ms = 50;
constexpr DWORD cancel = static_cast<DWORD>(-1);

class Filter final : public common::com::ComObject<IMessageFilter> {
public:
    explicit Filter(CallWait& wait) : wait_(wait) {}

    // This program serves no calls of its own.
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }

    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD tick_count, DWORD reject_type) override {
        // Only a busy host may take the call later; a refusal is final.
        if (reject_type != SERVERCALL_RETRYLATER)
            return cancel;
        const auto waited = std::chrono::milliseconds(tick_count);
        if (!wait_.keep_waiting(waited, Waiting::HostBusy))
            return cancel;
        // A short pause in which the window still paints, then again.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, busy_pause_ms, QS_ALLINPUT);
        if (!wait_.keep_waiting(waited, Waiting::HostBusy))
            return cancel;
        return 0;
    }

    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD tick_count, DWORD) override {
        // The wait pumps what has arrived itself.
        return wait_.keep_waiting(std::chrono::milliseconds(tick_count), Waiting::ForAnswer)
                   ? PENDINGMSG_WAITNOPROCESS
                   : PENDINGMSG_CANCELCALL;
    }

private:
    CallWait& wait_;
};

// Wakes the waiting thread with a posted message: a timer's WM_TIMER does
// not end every COM wait (Wine's looks only at posted and sent messages and
// paints), and only a message there makes COM ask MessagePending.
VOID CALLBACK post_tick(PVOID thread, BOOLEAN) {
    PostThreadMessageW(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(thread)), WM_NULL, 0, 0);
}

} // namespace

CallWaitFilter::CallWaitFilter(CallWait& wait) : filter_(new Filter(wait)) {
    CoRegisterMessageFilter(filter_.get(), previous_.put());
    const auto thread = reinterpret_cast<PVOID>(static_cast<UINT_PTR>(GetCurrentThreadId()));
    if (!CreateTimerQueueTimer(&ticker_, nullptr, &post_tick, thread, wait_tick_ms, wait_tick_ms,
                               WT_EXECUTEDEFAULT))
        ticker_ = nullptr;
}

CallWaitFilter::~CallWaitFilter() {
    // Waits for a tick that is running, so that none comes afterwards.
    if (ticker_ != nullptr)
        DeleteTimerQueueTimer(nullptr, ticker_, INVALID_HANDLE_VALUE);
    ComPtr<IMessageFilter> ours;
    CoRegisterMessageFilter(previous_.get(), ours.put());
}

bool retry_rejected_call(DWORD waited_ms) {
    ComPtr<IMessageFilter> filter;
    if (FAILED(CoRegisterMessageFilter(nullptr, filter.put())) || !filter)
        return false;
    // Put back at once; only asked here.
    CoRegisterMessageFilter(filter.get(), nullptr);
    const DWORD retry = filter->RetryRejectedCall(nullptr, waited_ms, SERVERCALL_RETRYLATER);
    if (retry == cancel)
        return false;
    if (retry >= 100)
        Sleep(retry);
    return true;
}

} // namespace kastrel::host::com
