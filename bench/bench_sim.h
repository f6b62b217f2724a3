#pragma once

#include "host/connector.h"
#include "host/dispatch.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// A part program of one three-lobed bore "KRS0" of `hits` hits, written
// into `folder`; its path.
inline std::filesystem::path write_bore(const std::filesystem::path& folder, int hits) {
    const auto path = folder / "bore.json";
    std::ofstream out(path);
    out << R"({"commands": [{"type": "feature", "id": "KRS0", "theoDiam": 50.0, "hits": [)";
    for (int j = 0; j < hits; ++j) {
        const double t = 2 * 3.141592653589793 * j / hits;
        const double r = 25 + 0.004 * std::cos(3 * t);
        out << (j ? "," : "") << "{\"actual\": [" << r * std::cos(t) << ", " << r * std::sin(t)
            << ", -5.0], \"nominal\": [" << 25 * std::cos(t) << ", " << 25 * std::sin(t)
            << ", -5.0]}";
    }
    out << "]}]}\n";
    return path;
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
