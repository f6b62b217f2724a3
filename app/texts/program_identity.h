#pragma once

#include <string>

namespace kastrel::app::identity {

// The title bar of every message box: none passes a title of its own.
inline constexpr const char* application_title = "Sarvinet";
// The executable's, product's and internal name, and the caption the window
// holds until its load step writes the real one.
inline constexpr const char* program_name = "Kastrel";

// "Kastrel Excel  V1.1.1": major, minor and revision; the third field is not shown.
std::string window_caption();

} // namespace kastrel::app::identity
