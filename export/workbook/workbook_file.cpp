#include "export/workbook/workbook_file.h"

#include "export/workbook/xml_text.h"

#include <cerrno>
#include <cstdio>
#include <utility>

namespace kastrel::exporter {
namespace {

[[noreturn]] void fail(int code) {
    throw FileError({FileFailure::Kind::Workbook, FileFailure::CodeKind::Library, code, {}});
}

[[noreturn]] void fail_in(const std::filesystem::path& folder, int code) {
    throw FileError({FileFailure::Kind::Workbook, FileFailure::CodeKind::Errno, code, folder});
}

// Excel's limit, which the library checks in its own count.
constexpr std::size_t cell_characters = 32767;

[[noreturn]] void text_too_long() {
    throw FileError({FileFailure::Kind::TextTooLong,
                     FileFailure::CodeKind::Library,
                     static_cast<int>(cell_characters),
                     {}});
}

// The failures after which the library leaves the system's errno as it was.
bool leaves_errno(lxw_error error) {
    return error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE ||
           error == LXW_ERROR_READING_TMPFILE || error == LXW_ERROR_ZIP_FILE_OPERATION;
}

} // namespace

void check(lxw_error error) {
    if (error != LXW_NO_ERROR)
        fail(error);
}

void write_text(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, std::string_view text,
                lxw_format* format) {
    if (excel_length(text) > cell_characters)
        text_too_long();
    const lxw_error error =
        worksheet_write_string(sheet, row, col, cell_text(text).c_str(), format);
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
        text_too_long();
    check(error);
}

WorkbookFile::WorkbookFile(const ScratchBook& scratch, const std::string& creator)
    : folder_(scratch.folder()), creator_(plain_xml_text(creator)) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(scratch.library_folder().c_str());
    workbook_ = workbook_new_opt(scratch.path().c_str(), &options);
    if (!workbook_)
        fail(LXW_ERROR_MEMORY_MALLOC_FAILED);
    lxw_doc_properties properties{};
    // The program, nothing of the user (the library leaves the author empty).
    properties.author = const_cast<char*>(creator_.c_str());
    properties.comments = const_cast<char*>(creator_.c_str());
    check(workbook_set_properties(workbook_, &properties));
}

WorkbookFile::~WorkbookFile() {
    if (!workbook_)
        return;
    // Unwritten: the library keeps each sheet's rows in a temporary file that
    // only writing the workbook would close.
    for (lxw_worksheet* sheet : sheets_)
        if (sheet->optimize_tmpfile) {
            std::fclose(sheet->optimize_tmpfile);
            sheet->optimize_tmpfile = nullptr;
            sheet->file = nullptr;
        }
    lxw_workbook_free(workbook_);
}

lxw_worksheet* WorkbookFile::add_sheet(const char* name) {
    errno = 0;
    lxw_worksheet* sheet = workbook_add_worksheet(workbook_, name);
    // In constant-memory mode a sheet fails for want of memory or of its temporary file.
    if (!sheet) {
        if (errno != 0 && errno != ENOMEM)
            fail_in(folder_, errno);
        fail(LXW_ERROR_CREATING_TMPFILE);
    }
    sheets_.push_back(sheet);
    return sheet;
}

lxw_format* WorkbookFile::number_format(const std::string& pattern) {
    lxw_format*& format = number_formats_[pattern];
    if (!format) {
        format = workbook_add_format(workbook_);
        if (!format)
            fail(LXW_ERROR_MEMORY_MALLOC_FAILED);
        format_set_num_format(format, pattern.c_str());
    }
    return format;
}

lxw_format* WorkbookFile::bold_format() {
    if (!bold_) {
        bold_ = workbook_add_format(workbook_);
        if (!bold_)
            fail(LXW_ERROR_MEMORY_MALLOC_FAILED);
        format_set_bold(bold_);
    }
    return bold_;
}

void WorkbookFile::close() {
    // The library does not look whether the rows reached their temporary
    // files: a full folder would go unnoticed until the workbook misses them.
    for (lxw_worksheet* sheet : sheets_)
        if (sheet->optimize_tmpfile &&
            (std::fflush(sheet->optimize_tmpfile) != 0 || std::ferror(sheet->optimize_tmpfile)))
            fail_in(folder_, errno != 0 ? errno : EIO);
    // The library frees the workbook whatever the outcome.
    lxw_workbook* workbook = std::exchange(workbook_, nullptr);
    sheets_.clear();
    errno = 0;
    const lxw_error error = workbook_close(workbook);
    const int system = errno;
    if (error != LXW_NO_ERROR && leaves_errno(error) && system != 0)
        fail_in(folder_, system);
    check(error);
}

} // namespace kastrel::exporter
