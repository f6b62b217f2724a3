#pragma once

#include <string>
#include <string_view>

namespace kastrel::exporter {

// UTF-8 text as Windows-1252 bytes, the code page SPC systems read AQDEF files
// in on every platform. A character the code page cannot hold, a control
// character (it would end a line or a field) and a byte that is no UTF-8
// become "?".
std::string to_windows_1252(std::string_view utf8);

} // namespace kastrel::exporter
