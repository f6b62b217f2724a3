#include "app/internal_error.h"

namespace kastrel::app {

std::string internal_error_text(const std::exception& error) {
    return std::string("Interner Fehler: ") + error.what();
}

} // namespace kastrel::app
