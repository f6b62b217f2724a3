#pragma once

#include "common/non_copyable.h"
#include "export/workbook/scratch_book.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>
#include <xlsxwriter.h>

namespace kastrel::exporter {

// Throws FileError (Kind::Workbook) for anything but LXW_NO_ERROR.
void check(lxw_error error);

// A text cell, the text made fit for the library's XML (cell_text). Throws
// FileError: Kind::TextTooLong past the 32,767 characters of a cell.
void write_text(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, std::string_view text,
                lxw_format* format = nullptr);

// One workbook of the library, written to a scratch book in constant-memory
// mode (each sheet's rows go to a temporary file of the library as they come,
// so a long run needs no more memory than a short one). Freed on every way
// out; only close() writes it.
class WorkbookFile : common::NonCopyable {
public:
    // `creator` goes into the document's properties. Throws FileError.
    WorkbookFile(const ScratchBook& scratch, const std::string& creator);
    ~WorkbookFile();

    lxw_workbook* get() const noexcept { return workbook_; }
    // Throws FileError when the library cannot make the sheet.
    lxw_worksheet* add_sheet(const char* name);
    // The cell format with this number pattern, one per pattern.
    lxw_format* number_format(const std::string& pattern);
    // Bold text, for column titles.
    lxw_format* bold_format();
    // Writes the workbook to the scratch book; throws FileError, which names
    // the temporary folder where the system's failure was about its files.
    void close();

private:
    lxw_workbook* workbook_ = nullptr;
    std::filesystem::path folder_; // the scratch book's, as the system reports it
    std::vector<lxw_worksheet*> sheets_;
    std::map<std::string, lxw_format*> number_formats_;
    lxw_format* bold_ = nullptr;
    std::string creator_;
};

} // namespace kastrel::exporter
