#include "app/batch/stream_console.h"

#include <iostream>

namespace kastrel::app::batch {

void StreamConsole::out(std::string_view line) {
    std::cout << line << '\n';
}

void StreamConsole::err(std::string_view line) {
    std::cerr << line << std::endl;
}

} // namespace kastrel::app::batch
