#pragma once

#include <exception>
#include <string>

namespace kastrel::app {

// What the user is told of a fault no handler expected.
std::string internal_error_text(const std::exception& error);

} // namespace kastrel::app
