// Prints the cost of one host member read through the stand-in host on the
// session bus next to a raw Unix-socket round trip between two processes on
// the same machine, and their ratio. Run under dbus-run-session.
#include "host/dbus/dbus_connector.h"
#include "host/dispatch.h"
#include "host/number_text.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using Clock = std::chrono::steady_clock;

namespace {

constexpr int rounds = 5000;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One byte there and back between two processes, `rounds` times.
double socket_round_trip() {
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        return 0;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        char byte;
        while (read(fds[1], &byte, 1) == 1)
            if (write(fds[1], &byte, 1) != 1)
                break;
        _exit(0);
    }
    close(fds[1]);
    char byte = 'x';
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i)
        if (write(fds[0], &byte, 1) != 1 || read(fds[0], &byte, 1) != 1)
            break;
    const double elapsed = seconds_since(start) / rounds;
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return elapsed;
}

double member_read(kastrel::host::Dispatch& feature) {
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i)
        feature.get("ID");
    return seconds_since(start) / rounds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s VORMESA_SIM PART_PROGRAM.json\n", argv[0]);
        return 2;
    }
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        std::fprintf(stderr, "no session bus: run under dbus-run-session\n");
        return 2;
    }
    char no_window[] = "--no-window";
    char* sim_argv[] = {argv[1], no_window, argv[2], nullptr};
    pid_t sim = 0;
    if (posix_spawn(&sim, argv[1], nullptr, nullptr, sim_argv, environ) != 0)
        return 2;

    kastrel::host::dbus::DbusConnector connector;
    kastrel::host::Object application;
    for (int attempt = 0; attempt < 500 && !application; ++attempt) {
        try {
            application = connector.create_object("ZORVAT.Application");
        } catch (const std::exception&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    if (!application)
        return 2;
    auto commands = application->get("ActivePartProgram").to_object()->get("Commands").to_object();
    auto walk = commands->enumerate();
    kastrel::host::Object feature;
    while (auto item = walk->next()) {
        auto command = item->to_object();
        if (command->get("IsFeature").to_bool(kastrel::host::NumberTexts("."))) {
            feature = command->get("FeatureCommand").to_object();
            break;
        }
    }
    walk.reset();

    member_read(*feature); // warm up
    const double bus = member_read(*feature);
    const double raw = socket_round_trip();
    std::printf("host member read through the stand-in: %.1f us\n", bus * 1e6);
    std::printf("raw Unix-socket round trip:            %.1f us\n", raw * 1e6);
    std::printf("ratio: %.2f (bar 3.5)\n", bus / raw);
    std::printf("hits per second over the bus (12 calls a hit): %.0f\n", 1.0 / (12 * bus));

    kill(sim, SIGTERM);
    waitpid(sim, nullptr, 0);
    return 0;
}
