#pragma once

#include "common/non_copyable.h"
#include "export/file_failure.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kastrel::exporter {

// The file the workbook library writes its finished workbook to, and the
// folder for its own temporary files. The library takes narrow file names
// (under mingw in the ANSI code page) of limited length, so both are plain,
// short paths in the system's temporary folder, whatever the target is
// called. On Linux the file has no name at all (the library reaches it
// through /proc/self/fd), so nothing of it can outlive the process; on
// Windows it is a named file that this process holds and removes, and that
// the next run removes should the process have been ended before.
class ScratchBook : common::NonCopyable {
public:
    // Throws FileError (Kind::Workbook, naming the folder) when no such file
    // can be made.
    ScratchBook();
    ~ScratchBook();

    const std::string& path() const noexcept { return path_; }
    const std::string& library_folder() const noexcept { return folder_; }
    // The system's temporary folder as the system names it, for the user.
    const std::filesystem::path& folder() const noexcept { return reported_folder_; }
    // Hands the finished file's bytes to `sink` in chunks; throws FileError.
    void read(const std::function<void(std::string_view)>& sink) const;

private:
    std::string path_;   // as the library is given it
    std::string folder_; // the same
    std::filesystem::path reported_folder_;
    std::intptr_t handle_ = -1;
#ifdef _WIN32
    std::wstring wide_path_;
#endif
};

} // namespace kastrel::exporter
