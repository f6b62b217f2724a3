#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kastrel::fakes {

// Runs tests/support/`script` with Debian's python3 and `arguments`: what it
// found wrong, empty when all is right.
inline std::string python_check(const std::string& source_dir, const std::string& script,
                                const std::vector<std::string>& arguments) {
    std::string command = "/usr/bin/python3 '" + source_dir + "/tests/support/" + script + "'";
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    command += " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return "cannot run " + command;
    std::string report;
    char buffer[4096];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        report.append(buffer, got);
    const int status = ::pclose(pipe);
    if (status != 0 && report.empty())
        report = script + " ended with status " + std::to_string(status);
    return status == 0 ? std::string() : report;
}

} // namespace kastrel::fakes
