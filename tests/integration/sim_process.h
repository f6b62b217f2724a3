#pragma once

#include "common/non_copyable.h"

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kastrel::fakes {

// The stand-in host as a process of its own on the session bus, stopped when
// this object goes. Its window, if any, is drawn offscreen.
class SimProcess : private common::NonCopyable {
public:
    explicit SimProcess(std::vector<std::string> args);
    ~SimProcess();

    // Stops the process at once, as a crash would; once only.
    void kill_now();
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
};

// Whether a session bus is there for the tests that need one.
bool have_session_bus();

} // namespace kastrel::fakes
