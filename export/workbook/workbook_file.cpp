#include "export/workbook/workbook_file.h"

#include <cstdio>
#include <utility>

namespace kastrel::exporter {
namespace {

[[noreturn]] void fail(int code) {
    throw FileError({FileFailure::Kind::Workbook, FileFailure::CodeKind::Library, code, {}});
}

} // namespace

void check(lxw_error error) {
    if (error != LXW_NO_ERROR)
        fail(error);
}

WorkbookFile::WorkbookFile(const ScratchBook& scratch, const std::string& creator)
    : creator_(creator) {
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
    lxw_worksheet* sheet = workbook_add_worksheet(workbook_, name);
    // In constant-memory mode a sheet fails for want of memory or of its temporary file.
    if (!sheet)
        fail(LXW_ERROR_CREATING_TMPFILE);
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
    // The library frees the workbook whatever the outcome.
    lxw_workbook* workbook = std::exchange(workbook_, nullptr);
    sheets_.clear();
    check(workbook_close(workbook));
}

} // namespace kastrel::exporter
