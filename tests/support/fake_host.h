#pragma once

#include "host/connector.h"
#include "host/dispatch.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kastrel::fakes {

struct FakeHit {
    std::array<host::Variant, 3> actual;
    std::array<host::Variant, 3> nominal;
};

struct FakeCommand {
    host::Variant is_feature = true;
    host::Variant id = "";
    host::Variant theo_diam = 0.0;
    std::optional<host::Variant> num_hits; // defaults to the number of hits
    std::vector<FakeHit> hits;
};

FakeCommand feature(std::string id, double theo_diam, std::vector<FakeHit> hits = {});
FakeCommand not_a_feature();
FakeHit hit(std::array<double, 3> actual, std::array<double, 3> nominal);

// An in-process host: the same object model and call-log lines as the
// stand-in host, with a failure injected at any call position.
class FakeHost : public host::HostConnector {
public:
    std::vector<FakeCommand> commands;
    bool window = true;
    bool has_part_program = true;

    // Every call into the host, in order ("Command#0 IsFeature", ...).
    std::vector<std::string> calls;
    // The call with this 0-based position fails with an automation error.
    std::optional<std::size_t> fail_call;
    // From this call position on, every call fails as if the host had died.
    std::optional<std::size_t> lose_host_at;
    // Calls whose log line equals this fail (every time).
    std::vector<std::string> failing_lines;

    host::Object create_object(std::string_view class_name) override;
    host::Object get_object(std::string_view path, std::string_view class_name) override;
    bool window_exists(std::string_view window_class) override;

    // Logs the call and throws when it is to fail.
    void enter(std::string line);

    host::Object application();
};

} // namespace kastrel::fakes
