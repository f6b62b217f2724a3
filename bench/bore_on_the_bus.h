#pragma once

#include "bench/bench_sim.h"
#include "host/dbus/dbus_connector.h"

#include <filesystem>

namespace kastrel::bench {

// The stand-in serving a bore of `hits` hits (write_bore), reached over the
// bus for as long as this lives; the stand-in ends after the connection.
class BoreOnTheBus {
public:
    BoreOnTheBus(const char* sim, const std::filesystem::path& folder, int hits)
        : sim_{start_sim(sim, {"--no-window", write_bore(folder, hits).string()})},
          commands_(commands_of(connector_)) {}

    host::Dispatch& commands() { return *commands_; }

private:
    struct Started {
        pid_t pid;
        ~Started() { stop_sim(pid); }
    };
    Started sim_;
    host::dbus::DbusConnector connector_;
    host::Object commands_;
};

} // namespace kastrel::bench
