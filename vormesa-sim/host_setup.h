#pragma once

#include "vormesa-sim/command_line.h"
#include "vormesa-sim/sim_host.h"

#include <fstream>
#include <optional>
#include <string>

namespace vormesa_sim {

// Sets `host` up as the command line asks before it serves: the part program
// open, the failure plan set and, with a call log named, every call written
// to `call_log`. What could not be opened, as the user is told; nothing when
// all went well.
std::optional<std::string> set_up_host(SimHost& host, const Options& options,
                                       std::ofstream& call_log);

} // namespace vormesa_sim
