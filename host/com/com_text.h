#pragma once

#include <string>
#include <string_view>

namespace kastrel::host::com {

// The program's texts are UTF-8; COM's are UTF-16. Invalid input is replaced,
// never rejected, as the texts only travel for display and file content.
std::wstring to_utf16(std::string_view text);
std::string to_utf8(std::wstring_view text);

} // namespace kastrel::host::com
