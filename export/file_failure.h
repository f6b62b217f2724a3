#pragma once

#include <filesystem>
#include <stdexcept>

namespace kastrel::exporter {

// Why the export file could not be written, as the system reported it. The
// user's text for it is worded by the application.
struct FileFailure {
    enum class Kind {
        System,          // a file call failed with `code`
        TargetIsFolder,  // the chosen name is a folder
        NoTemporaryName, // no free name for the temporary file beside the target
        ReadOnly,        // the existing file may not be written (attribute or permissions)
        NotARegularFile, // the name is a FIFO, a device or a socket, or a device name of Windows
        Workbook,        // the workbook library failed: `code` its error, or the system's
                         // about the temporary folder `path` that it writes in
        TooManyRows,     // more lines than a worksheet holds
        TextTooLong,     // a text longer than a cell holds
        Vanished,        // the temporary file or its folder went away during the run
    };
    // Where `code` comes from: the C library (errno), the Windows API
    // (GetLastError) or the workbook library (its lxw_error).
    enum class CodeKind { Errno, Windows, Library };

    Kind kind = Kind::System;
    CodeKind code_kind = CodeKind::Errno;
    int code = 0;
    std::filesystem::path path; // the file the failed call was about
};

// The file could not be created, written or put in place. `target_changed`
// when it failed while the output was being copied over the target itself.
class FileError : public std::runtime_error {
public:
    explicit FileError(FileFailure failure, bool target_changed = false);
    const FileFailure& failure() const noexcept { return failure_; }
    bool target_changed() const noexcept { return target_changed_; }

private:
    FileFailure failure_;
    bool target_changed_;
};

} // namespace kastrel::exporter
