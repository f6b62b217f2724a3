#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kastrel::fakes {

// Runs tests/support/workbook_check.py (openpyxl, Debian's python3) with
// `arguments`: what it found wrong, empty when the workbooks are right.
inline std::string check_workbooks(const std::string& source_dir,
                                   const std::vector<std::string>& arguments) {
    std::string command = "/usr/bin/python3 '" + source_dir + "/tests/support/workbook_check.py'";
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
        report = "workbook_check.py ended with status " + std::to_string(status);
    return status == 0 ? std::string() : report;
}

} // namespace kastrel::fakes
