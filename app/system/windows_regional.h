#pragma once

#include <string>

namespace kastrel {

// The decimal symbol of the user's regional settings, in the bytes of the
// ANSI code page, as the export file carries it.
std::string user_decimal_separator();

} // namespace kastrel
