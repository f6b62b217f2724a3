#pragma once

#include <string_view>

namespace kastrel::app {

// Writes one line for whoever diagnoses a failure: to standard error, on
// Windows to the debugger's output. An empty line writes nothing.
void write_diagnostic(std::string_view line);

} // namespace kastrel::app
