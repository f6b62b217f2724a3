#include "app/system/diagnostic_log.h"

#ifdef _WIN32
#include "common/win32/utf16.h"

#include <windows.h>
#else
#include <iostream>
#endif

#include <string>

namespace kastrel::app {

void write_diagnostic(std::string_view line) {
    if (line.empty())
        return;
    const std::string text = "Kastrel: " + std::string(line) + "\n";
#ifdef _WIN32
    OutputDebugStringW(common::to_utf16(text).c_str());
#else
    std::cerr << text << std::flush;
#endif
}

} // namespace kastrel::app
