#pragma once

#include "host/com/message_filter.h"
#include "host/connector.h"

#include <memory>

namespace kastrel::host::com {

// Reaches the host through its COM automation server, the way a late-binding
// client does. Needs a ComApartment on the calling thread.
class ComConnector : public HostConnector {
public:
    Object create_object(std::string_view class_name) override;
    // An empty path asks the class's server, which is the same as creating.
    Object get_object(std::string_view path, std::string_view class_name) override;
    bool window_exists(std::string_view window_class) override;
    // The waits go through the thread's message filter while it is set.
    void set_call_wait(CallWait* wait) override;

private:
    std::unique_ptr<CallWaitFilter> filter_;
};

} // namespace kastrel::host::com
