#pragma once

#include "host/connector.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kastrel::app::batch {

// Where the command line's texts go, UTF-8, one call per line (the line end is
// the console's). A text may hold line breaks of its own.
class Console {
public:
    virtual ~Console() = default;
    virtual void out(std::string_view line) = 0; // standard output
    virtual void err(std::string_view line) = 0; // standard error
};

// How a run from the command line ended, as its exit code.
enum ExitCode : int {
    complete = 0,        // done; the file, if any, written completely
    no_part_program = 1, // the host is not running or has no active part program
    usage_error = 2,     // nothing written: the line is wrong, or a --select ID is in no entry
    file_failed = 3,     // the file could not be written; the target is unchanged
    incomplete = 4,      // written, but some values could not be read from the host
    host_lost = 5,       // the host stopped answering; the target is unchanged
};

// Asked at every report of a run whether it is to stop, as the window's
// cancel button stops it: the program is being ended from outside (a signal,
// the console closed). A run it stops leaves the target as it was.
using StopRequested = std::function<bool()>;

// What the program does when started with arguments: the listing, or the
// listing, selection and export of the window, without a window. `program`
// is the name the usage shows; `decimal_separator` the user's regional one.
// After a stop the exit code is the caller's to give.
int run_command_line(const std::vector<std::string>& arguments, std::string_view program,
                     host::HostConnector& host, Console& console,
                     const std::string& decimal_separator, const StopRequested& stop = {});

} // namespace kastrel::app::batch
