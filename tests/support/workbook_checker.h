#pragma once

#include "tests/support/python_check.h"

namespace kastrel::fakes {

// Runs tests/support/workbook_check.py (openpyxl, Debian's python3) with
// `arguments`: what it found wrong, empty when the workbooks are right.
inline std::string check_workbooks(const std::string& source_dir,
                                   const std::vector<std::string>& arguments) {
    return python_check(source_dir, "workbook_check.py", arguments);
}

} // namespace kastrel::fakes
