#include "host/com/message_filter.h"

#include <atomic>
#include <chrono>

namespace kastrel::host::com {
namespace {

using common::com::ComPtr;

// How often a waiting call hears of itself, and how long a busy host is
// left alone before the call is made again.
constexpr UINT wait_tick_ms = 40;
constexpr DWORD busy_pause_ms = 50;
constexpr DWORD cancel = static_cast<DWORD>(-1);

class Filter final : public IMessageFilter {
public:
    explicit Filter(CallWait& wait) : wait_(wait) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
            *object = static_cast<IMessageFilter*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

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
    std::atomic<ULONG> references_{1};
};

} // namespace

CallWaitFilter::CallWaitFilter(CallWait& wait) : filter_(new Filter(wait)) {
    CoRegisterMessageFilter(filter_.get(), previous_.put());
    timer_ = SetTimer(nullptr, 0, wait_tick_ms, nullptr);
}

CallWaitFilter::~CallWaitFilter() {
    if (timer_ != 0)
        KillTimer(nullptr, timer_);
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
