#pragma once

#include "export/file_failure.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

namespace kastrel::exporter {

// A temporary file of one run, open from its creation until it is put in
// place or removed. Where the system allows it, the file cannot outlive the
// process, whatever ends it: on Linux it has no name (O_TMPFILE) until it is
// put in place, on Windows it is marked to be deleted when its handle closes
// until just before the replacement. Elsewhere it is a named file, which a
// killed run leaves for the next run to remove. While it is open no other run
// takes it for abandoned: on Linux it holds an exclusive lock, on Windows it
// does not share deleting. Every call that fails throws FileError.
class HeldFile {
public:
    // Creates the file that is to take the name `path`; nothing when the name
    // is taken. `private_to_user` for a folder that other users share.
    static std::optional<HeldFile> create_new(const std::filesystem::path& path,
                                              bool private_to_user);
    // Removes the file unless it was put in place.
    ~HeldFile();
    HeldFile(HeldFile&& other) noexcept;
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    HeldFile& operator=(HeldFile&&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }
    void write(std::string_view bytes);
    // Flushes the file to disk and moves it to the target's name, keeping the
    // target's owner, group and permissions (Linux) or attributes (Windows).
    // A file or folder gone meanwhile is FileFailure::Kind::Vanished.
    // False, with nothing done, when the move would lose what the target has:
    // an owner or group this user cannot give, further names (hard links);
    // on Windows also for a path of MAX_PATH characters or more.
    bool put_in_place(const std::filesystem::path& target);
    // Writes the file's content over the existing target itself: open,
    // truncate, write, flush to disk. A failure once the target was opened
    // is marked as having changed it.
    void copy_over(const std::filesystem::path& target);

private:
#ifdef _WIN32
    using Handle = void*;
#else
    using Handle = int;
#endif
    HeldFile(std::filesystem::path path, Handle handle, Handle folder, bool transient)
        : path_(std::move(path)), handle_(handle), folder_(folder), transient_(transient) {}
    void close();

    std::filesystem::path path_;
    Handle handle_;
    // Linux: a named file's folder, so that the file is still found there
    // should the folder be renamed during the run. Unused on Windows.
    Handle folder_;
    // Goes with its handle: unnamed (Linux) or marked for deletion (Windows).
    bool transient_;
    bool open_ = true;
    bool placed_ = false;
};

enum class TargetState { Missing, Writable };

// What the target allows, before anything is written: throws FileError for a
// folder, for what is no regular file (a FIFO, a device, a socket; on Windows
// also a device name such as NUL or COM1.xlsx), for a file this user may not
// write (ReadOnly) or when the system says no.
TargetState check_target(const std::filesystem::path& target);

// Whether a failure to create a file says the folder takes no new files.
bool denies_new_files(const FileFailure& failure);

// Removes the files of `folder` named for `stem` that no running program holds.
void remove_abandoned(const std::filesystem::path& folder, const std::filesystem::path& stem);

} // namespace kastrel::exporter
