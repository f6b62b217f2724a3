#pragma once

#include <filesystem>

namespace kastrel::exporter {

enum class FileType {
    Text,     // lines with TAB and ";" columns, numbers in the regional form
    Workbook, // an Excel workbook (.xlsx)
};

// A name that ends in ".xlsx", in any letter case, is a workbook; every other
// name is the text file.
FileType file_type_of(const std::filesystem::path& target);

} // namespace kastrel::exporter
