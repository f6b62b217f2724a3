#pragma once

#include <optional>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace kastrel::fakes {

// What a finished program left: its exit code (-1 when a signal ended it) and
// everything it wrote to standard output and standard error.
struct ProgramRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `arguments` and waits for it to end. It gets this
// process's environment without any display (DISPLAY, WAYLAND_DISPLAY and
// QT_QPA_PLATFORM removed) and with `locale` for LC_ALL and LANG; with
// `file_size_limit` its writes beyond that many bytes fail as on a full disk.
ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& locale = "de_DE.UTF-8",
                       std::optional<rlim_t> file_size_limit = std::nullopt);

} // namespace kastrel::fakes
