#pragma once

#include <string>
#include <string_view>

namespace kastrel::common {

// The program's texts are UTF-8; Windows' are UTF-16. Invalid input is
// replaced, never rejected, as the texts only travel for display and file content.
std::wstring to_utf16(std::string_view text);
std::string to_utf8(std::wstring_view text);

} // namespace kastrel::common
