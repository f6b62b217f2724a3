#include "export/held_file.h"
#include "export/temporary_name.h"
#include "export/unnamed_file.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kastrel::exporter {
namespace {

constexpr std::size_t copy_chunk = 1 << 16;

[[noreturn]] void fail(int code, const std::filesystem::path& path, bool target_changed = false) {
    throw FileError(
        {FileFailure::Kind::System, FileFailure::CodeKind::Errno, code != 0 ? code : EIO, path},
        target_changed);
}

// Putting the file in place found no file or folder where the run had made
// them: the temporary file was deleted, or its folder renamed or deleted.
[[noreturn]] void fail_placing(int code, const std::filesystem::path& path) {
    if (code == ENOENT)
        throw FileError({FileFailure::Kind::Vanished, FileFailure::CodeKind::Errno, code, path});
    fail(code, path);
}

// Whether `name` in `folder` still names the open file: a cleaner may have
// removed it between its creation and its lock.
bool names_file(int folder, const char* name, int fd) {
    struct stat by_name {};
    struct stat by_handle {};
    return ::fstatat(folder, name, &by_name, 0) == 0 && ::fstat(fd, &by_handle) == 0 &&
           by_name.st_dev == by_handle.st_dev && by_name.st_ino == by_handle.st_ino;
}

// Writes all of `bytes`; the errno of the failure, or 0.
int write_all(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno != 0 ? errno : EIO;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

// Closes `fd` on every way out.
struct ClosingFd {
    int fd;
    ~ClosingFd() {
        if (fd >= 0)
            ::close(fd);
    }
    int release() { return std::exchange(fd, -1); }
};

void remove_if_abandoned(const std::filesystem::path& path) {
    ClosingFd file{::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
    struct stat status {};
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode))
        return;
    // A running export holds its lock until its file is in place or removed.
    if (::flock(file.fd, LOCK_EX | LOCK_NB) != 0 || !names_file(AT_FDCWD, path.c_str(), file.fd))
        return;
    ::unlink(path.c_str());
}

} // namespace

std::optional<HeldFile> HeldFile::create_new(const std::filesystem::path& path,
                                             bool private_to_user) {
    const mode_t mode = private_to_user ? 0600 : 0666;
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    if (::access("/proc/self/fd", X_OK) == 0) {
        ClosingFd file{::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode)};
        if (file.fd >= 0) {
            // The name it is to take must be free now; it is taken only at the end.
            struct stat taken {};
            if (::lstat(path.c_str(), &taken) == 0)
                return std::nullopt;
            // Held for the moment it has a name, between linking and moving.
            ::flock(file.fd, LOCK_EX | LOCK_NB);
            return HeldFile(path, file.release(), -1, true);
        }
        if (!refuses_unnamed(errno))
            fail(errno, path);
    }

    ClosingFd in{::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
    if (in.fd < 0)
        fail(errno, path);
    const std::string name = path.filename().native();
    ClosingFd file{::openat(in.fd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode)};
    if (file.fd < 0) {
        if (errno == EEXIST)
            return std::nullopt;
        fail(errno, path);
    }
    // Without locks (some network file systems) the file is simply not
    // protected; a lock taken by a cleaner means it is about to go.
    if (::flock(file.fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return std::nullopt;
    if (!names_file(in.fd, name.c_str(), file.fd))
        return std::nullopt;
    const int handle = file.release();
    return HeldFile(path, handle, in.release(), false);
}

HeldFile::HeldFile(HeldFile&& other) noexcept
    : path_(std::move(other.path_)), handle_(other.handle_),
      folder_(std::exchange(other.folder_, -1)), transient_(other.transient_),
      open_(std::exchange(other.open_, false)), placed_(std::exchange(other.placed_, true)) {}

HeldFile::~HeldFile() {
    // Removed from its folder wherever that is now; an unnamed file goes as it closes.
    if (!placed_ && folder_ >= 0)
        ::unlinkat(folder_, path_.filename().c_str(), 0);
    close();
}

void HeldFile::close() {
    if (open_)
        ::close(handle_);
    open_ = false;
    if (folder_ >= 0)
        ::close(std::exchange(folder_, -1));
}

void HeldFile::write(std::string_view bytes) {
    if (const int error = write_all(handle_, bytes.data(), bytes.size()))
        fail(error, path_);
}

bool HeldFile::put_in_place(const std::filesystem::path& target) {
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        // A moved file would be this user's, with one name: another owner or
        // group that this user cannot give it, or the target's other names,
        // would be lost.
        if (status.st_nlink > 1 || ::fchown(handle_, status.st_uid, status.st_gid) != 0)
            return false;
        ::fchmod(handle_, status.st_mode & 07777);
    }
    if (::fsync(handle_) != 0)
        fail(errno, path_);
    // Named and moved while still locked, so no cleaner can take it in between.
    if (transient_) {
        if (::linkat(AT_FDCWD, by_descriptor(handle_).c_str(), AT_FDCWD, path_.c_str(),
                     AT_SYMLINK_FOLLOW) != 0)
            fail_placing(errno, path_);
        if (::rename(path_.c_str(), target.c_str()) != 0) {
            const int error = errno;
            ::unlink(path_.c_str());
            fail_placing(error, target);
        }
    } else if (::renameat(folder_, path_.filename().c_str(), AT_FDCWD, target.c_str()) != 0) {
        fail_placing(errno, target);
    }
    placed_ = true;
    close();
    return true;
}

void HeldFile::copy_over(const std::filesystem::path& target) {
    ClosingFd out{::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC)};
    if (out.fd < 0)
        fail(errno, target);
    if (::ftruncate(out.fd, 0) != 0)
        fail(errno, target, true);
    std::vector<char> chunk(copy_chunk);
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(handle_, chunk.data(), chunk.size(), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            fail(errno, path_, true);
        if (got == 0)
            break;
        if (const int error = write_all(out.fd, chunk.data(), static_cast<std::size_t>(got)))
            fail(error, target, true);
        offset += got;
    }
    if (::fsync(out.fd) != 0 || ::close(out.release()) != 0)
        fail(errno, target, true);
}

TargetState check_target(const std::filesystem::path& target) {
    struct stat status {};
    // What keeps the name from being looked up is reported when the file is created.
    if (::stat(target.c_str(), &status) != 0)
        return TargetState::Missing;
    if (S_ISDIR(status.st_mode))
        throw FileError(
            {FileFailure::Kind::TargetIsFolder, FileFailure::CodeKind::Errno, 0, target});
    // A FIFO, a device or a socket would be replaced by a file, or block its writer.
    if (!S_ISREG(status.st_mode))
        throw FileError(
            {FileFailure::Kind::NotARegularFile, FileFailure::CodeKind::Errno, 0, target});
    // Replacing the file needs only the folder's permission; writing it needs its own.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        if (errno == EACCES || errno == EPERM)
            throw FileError(
                {FileFailure::Kind::ReadOnly, FileFailure::CodeKind::Errno, errno, target});
        fail(errno, target);
    }
    return TargetState::Writable;
}

bool denies_new_files(const FileFailure& failure) {
    return failure.kind == FileFailure::Kind::System &&
           failure.code_kind == FileFailure::CodeKind::Errno &&
           (failure.code == EACCES || failure.code == EPERM);
}

void remove_abandoned(const std::filesystem::path& folder, const std::filesystem::path& stem) {
    std::vector<std::filesystem::path> candidates;
    std::error_code error;
    const std::filesystem::path where = folder.empty() ? "." : folder;
    for (auto entry = std::filesystem::directory_iterator(where, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error))
        if (is_temporary_for(entry->path().filename(), stem))
            candidates.push_back(entry->path());
    for (const auto& candidate : candidates)
        remove_if_abandoned(candidate);
}

} // namespace kastrel::exporter
