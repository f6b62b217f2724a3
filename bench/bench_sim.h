#pragma once

#include "host/connector.h"
#include "host/dispatch.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace kastrel::bench {

// The stand-in host started for a benchmark; the process ends it with stop_sim.
inline pid_t start_sim(const char* sim, std::vector<std::string> args) {
    std::vector<char*> argv{const_cast<char*>(sim)};
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, sim, nullptr, nullptr, argv.data(), environ) != 0)
        std::exit(2);
    return pid;
}

inline void stop_sim(pid_t pid) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

// The active part program's commands, once the stand-in has come up.
inline host::Object commands_of(host::HostConnector& connector) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        try {
            return connector.create_object(host::application_class)
                ->get("ActivePartProgram")
                .to_object()
                ->get("Commands")
                .to_object();
        } catch (const std::exception&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    std::exit(2);
}

} // namespace kastrel::bench
