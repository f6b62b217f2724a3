#pragma once

#include "common/non_copyable.h"
#include "host/com/call_thread.h"
#include "host/connector.h"

#include <chrono>
#include <memory>

namespace kastrel::host::com {

// Reaches the host through its COM automation server, the way a late-binding
// client does. Its calls are made on a call thread of its own; the thread
// that asks needs a ComApartment, in which it only waits.
class ComConnector : public HostConnector, private common::NonCopyable {
public:
    // Unattended (no wait set, as on the command line), a host that has not
    // answered after `unattended` counts as lost, as after the bus's timeout.
    explicit ComConnector(std::chrono::milliseconds unattended = std::chrono::seconds(25));
    ~ComConnector() override;

    Object create_object(std::string_view class_name) override;
    // An empty path asks the class's server, which is the same as creating.
    Object get_object(std::string_view path, std::string_view class_name) override;
    bool window_exists(std::string_view window_class) override;
    void set_call_wait(CallWait* wait) override { thread_->set_call_wait(wait); }

    const std::shared_ptr<CallThread>& call_thread() const { return thread_; }

private:
    std::shared_ptr<CallThread> thread_;
};

} // namespace kastrel::host::com
