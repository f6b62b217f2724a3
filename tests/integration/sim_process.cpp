#include "tests/integration/sim_process.h"

#include "common/dbus/protocol.h"
#include "host/dbus/bus_connection.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace kastrel::fakes {
namespace {

bool name_owned(const std::string& name) {
    host::dbus::BusConnection bus;
    return bus.name_has_owner(name);
}

void wait_until(bool owned, const std::string& name) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (name_owned(name) != owned) {
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("the stand-in host did not " +
                                     std::string(owned ? "take" : "give up") + " " + name);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace

bool have_session_bus() {
    return std::getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr;
}

SimProcess::SimProcess(std::vector<std::string> args) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    args.insert(args.begin(), VORMESA_SIM_PATH);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, VORMESA_SIM_PATH, nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start " VORMESA_SIM_PATH);
    wait_until(true, common::dbus::service_name);
}

SimProcess::~SimProcess() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    try {
        wait_until(false, common::dbus::service_name);
    } catch (const std::exception&) {
    }
}

void SimProcess::kill_now() {
    if (pid_ <= 0)
        return; // already gone; kill(-1) would reach every process
    ::kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

} // namespace kastrel::fakes
