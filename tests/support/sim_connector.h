#pragma once

#include "host/connector.h"
#include "vormesa-sim/sim_host.h"

#include <filesystem>
#include <memory>

namespace kastrel::fakes {

// The stand-in host's object model, reached in process: the same part
// programs, values and failures as over the bus, without a transport.
class SimConnector : public host::HostConnector {
public:
    SimConnector();
    // Opens a part-program file as the active part program.
    void open(const std::filesystem::path& part_program);
    vormesa_sim::SimHost& sim() { return *sim_; }
    bool window = true;

    host::Object create_object(std::string_view class_name) override;
    host::Object get_object(std::string_view path, std::string_view class_name) override;
    bool window_exists(std::string_view window_class) override;

private:
    std::shared_ptr<vormesa_sim::SimHost> sim_;
};

// The folder of the sample part programs.
std::filesystem::path examples_folder();

} // namespace kastrel::fakes
