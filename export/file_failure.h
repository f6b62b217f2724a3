#pragma once

#include <filesystem>

namespace kastrel::exporter {

// Why the export file could not be written, as the system reported it. The
// user's text for it is worded by the application.
struct FileFailure {
    enum class Kind {
        System,          // a file call failed with `code`
        TargetIsFolder,  // the chosen name is a folder
        NoTemporaryName, // no free name for the temporary file beside the target
    };
    // Where `code` comes from: the C library (errno) or the Windows API (GetLastError).
    enum class CodeKind { Errno, Windows };

    Kind kind = Kind::System;
    CodeKind code_kind = CodeKind::Errno;
    int code = 0;
    std::filesystem::path path; // the file the failed call was about
};

} // namespace kastrel::exporter
