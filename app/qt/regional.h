#pragma once

#include <string>

namespace kastrel::app::qt {

// The decimal symbol of the user's locale, in the bytes of the local encoding,
// as the export file carries it. Needs no application object.
std::string user_decimal_separator();

} // namespace kastrel::app::qt
