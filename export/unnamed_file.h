#pragma once

#include <cerrno>
#include <string>

namespace kastrel::exporter {

// Files without a name (O_TMPFILE, Linux): they cannot outlive the process.

// Whether an open with O_TMPFILE failed because the file system gives no
// unnamed files (the caller then falls back to a named one).
inline bool refuses_unnamed(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// The path by which an unnamed file is reached through its descriptor: to
// give it a name (linkat without the privilege AT_EMPTY_PATH needs), or for a
// library that opens files only by name.
inline std::string by_descriptor(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

} // namespace kastrel::exporter
