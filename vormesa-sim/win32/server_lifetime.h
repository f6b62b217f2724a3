#pragma once

// What the COM objects of the server share: the model, its type library, and
// the count of what keeps a server that COM started alive.

#include "common/non_copyable.h"
#include "vormesa-sim/sim_host.h"
#include "vormesa-sim/win32/type_library.h"

#include <functional>

namespace vormesa_sim::win32 {

// Objects handed out and LockServer calls. A server that COM started ends
// when none is left; one started by hand runs until it is told to stop.
class ServerLifetime {
public:
    // `on_unused` is called each time the count drops to zero; none by default.
    void set_on_unused(std::function<void()> on_unused) { on_unused_ = std::move(on_unused); }

    void lock() noexcept { ++count_; }
    void unlock() noexcept {
        if (--count_ == 0 && on_unused_)
            on_unused_();
    }
    long count() const noexcept { return count_; }

private:
    long count_ = 0;
    std::function<void()> on_unused_;
};

// Keeps the server alive while it exists.
class ServerLock : private kastrel::common::NonCopyable {
public:
    explicit ServerLock(ServerLifetime& lifetime) noexcept : lifetime_(lifetime) {
        lifetime_.lock();
    }
    ~ServerLock() { lifetime_.unlock(); }

private:
    ServerLifetime& lifetime_;
};

struct ServerContext {
    SimHost& host;
    ServerLifetime& lifetime;
    TypeLibrary& types;
};

} // namespace vormesa_sim::win32
