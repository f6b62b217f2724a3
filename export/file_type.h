#pragma once

#include <filesystem>

namespace kastrel::exporter {

enum class FileType {
    Text,     // lines with TAB and ";" columns, numbers in the regional form
    Workbook, // an Excel workbook (.xlsx)
    Aqdef,    // an AQDEF K-field file for an SPC system (.dfq)
};

// A name that ends in ".xlsx", in any letter case, is a workbook, one that
// ends in ".dfq" an AQDEF file; every other name is the text file.
FileType file_type_of(const std::filesystem::path& target);

} // namespace kastrel::exporter
