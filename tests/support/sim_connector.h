#pragma once

#include "common/non_copyable.h"
#include "host/connector.h"
#include "vormesa-sim/sim_host.h"

#include <array>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace kastrel::fakes {

// The stand-in host's object model, reached in process: the same part
// programs, values and failures as over the bus, without a transport.
class SimConnector : public host::HostConnector, private common::NonCopyable {
public:
    SimConnector();
    ~SimConnector() override;
    // Opens a part-program file, or commands built here, as the active part program.
    void open(const std::filesystem::path& part_program);
    void open(std::vector<vormesa_sim::Command> commands);
    // Positions of the plan's calls count from here.
    void fail(vormesa_sim::FailurePlan plan) { sim_->set_failure_plan(std::move(plan)); }
    vormesa_sim::SimHost& sim() { return *sim_; }
    bool window = true;
    // The call log, one line per call ("Command#0 IsFeature", ...).
    std::vector<std::string> calls;

    host::Object create_object(std::string_view class_name) override;
    host::Object get_object(std::string_view path, std::string_view class_name) override;
    bool window_exists(std::string_view window_class) override;

private:
    std::shared_ptr<vormesa_sim::SimHost> sim_;
};

// Part-program commands for tests.
vormesa_sim::Command feature(std::string id, double theo_diam,
                             std::vector<vormesa_sim::Hit> hits = {});
vormesa_sim::Command not_a_feature();
vormesa_sim::Hit hit(std::array<double, 3> actual, std::array<double, 3> nominal);

// An injected failure of one call, and what every call gets once the host is gone.
vormesa_sim::HostError injected_failure();
vormesa_sim::HostError host_lost();
// Every call of each of `calls` fails with the injected failure.
vormesa_sim::FailurePlan failing(std::initializer_list<std::string> calls);

// The folder of the sample part programs.
std::filesystem::path examples_folder();

} // namespace kastrel::fakes
