#pragma once

#include "tests/support/python_check.h"

namespace kastrel::fakes {

// Runs tests/support/aqdef_check.py, our own reader of AQDEF files, with
// `arguments`: what it found wrong, empty when the files are right.
inline std::string check_aqdef(const std::string& source_dir,
                               const std::vector<std::string>& arguments) {
    return python_check(source_dir, "aqdef_check.py", arguments);
}

} // namespace kastrel::fakes
