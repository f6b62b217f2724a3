#pragma once

#include "common/com/com_ptr.h"
#include "host/run_progress.h"

#include <objidl.h>

namespace kastrel::host::com {

// While it lives, the thread's COM message filter hands the waits of its
// outgoing calls to `wait`: MessagePending (woken by a ticking posted message,
// so that it comes at least every few tens of milliseconds also when nothing
// else arrives) and
// RetryRejectedCall for a busy host, retried until it takes the call or the
// run is given up. No platform "server busy" dialog appears. The previous
// filter comes back afterwards.
class CallWaitFilter {
public:
    explicit CallWaitFilter(CallWait& wait);
    ~CallWaitFilter();
    CallWaitFilter(const CallWaitFilter&) = delete;
    CallWaitFilter& operator=(const CallWaitFilter&) = delete;

private:
    common::com::ComPtr<IMessageFilter> filter_;
    common::com::ComPtr<IMessageFilter> previous_;
    HANDLE ticker_ = nullptr;
};

// For a call the host refused as busy and the channel handed back (as some
// COM implementations do instead of asking the filter): asks the thread's
// message filter as the channel would. True: call again now.
bool retry_rejected_call(DWORD waited_ms);

} // namespace kastrel::host::com
