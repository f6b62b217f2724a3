#include "app/texts/program_identity.h"

#include <kastrel_version.h>

namespace kastrel::app::identity {

std::string window_caption() {
    return "Kastrel Excel  V" + std::to_string(version::major) + "." +
           std::to_string(version::minor) + "." + std::to_string(version::revision);
}

} // namespace kastrel::app::identity
