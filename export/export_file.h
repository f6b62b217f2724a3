#pragma once

#include "export/file_failure.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace kastrel::exporter {

// The file could not be created, written or put in place.
class FileError : public std::runtime_error {
public:
    explicit FileError(FileFailure failure);
    const FileFailure& failure() const noexcept { return failure_; }

private:
    FileFailure failure_;
};

// The export file. Lines go to a temporary file beside the target, which
// replaces the target only in commit(), so a failed run never destroys an
// existing file. Every line ends with CR LF.
class ExportFile {
public:
    // Throws FileError when the temporary file cannot be created.
    explicit ExportFile(const std::filesystem::path& target);
    ~ExportFile();
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    // Throws FileError when the line cannot be written.
    void write_line(std::string_view line);
    // Puts the written file in place of the target; throws FileError.
    void commit();

private:
    void fail(int error_number);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    int first_error_ = 0;
    bool committed_ = false;
};

} // namespace kastrel::exporter
