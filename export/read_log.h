#pragma once

#include "host/automation_error.h"

namespace kastrel::exporter {

// The host stopped answering in the middle of a run.
struct HostLost {
    host::AutomationError error;
};

// Counts the host values a run could not read. A failure that means the host
// is gone ends the run instead: everything after it would be missing too.
class ReadLog {
public:
    void failed(const host::AutomationError& error) {
        check_lost(error);
        ++unread_;
    }
    // A failure that only counts if its value was needed: ends the run if the
    // host is gone, and leaves the counting to missing().
    void check_lost(const host::AutomationError& error) const {
        if (host::is_host_lost(error))
            throw HostLost{error};
    }
    void missing() { ++unread_; }
    int unread() const noexcept { return unread_; }

private:
    int unread_ = 0;
};

} // namespace kastrel::exporter
