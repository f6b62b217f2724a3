#include "export/held_file.h"
#include "export/temporary_name.h"

#include <cerrno>
#include <fcntl.h>
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

// Whether `path` still names the open file: a cleaner may have removed it
// between its creation and its lock.
bool names_file(const std::filesystem::path& path, int fd) {
    struct stat by_name {};
    struct stat by_handle {};
    return ::stat(path.c_str(), &by_name) == 0 && ::fstat(fd, &by_handle) == 0 &&
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
    if (::flock(file.fd, LOCK_EX | LOCK_NB) != 0 || !names_file(path, file.fd))
        return;
    ::unlink(path.c_str());
}

} // namespace

std::optional<HeldFile> HeldFile::create_new(const std::filesystem::path& path,
                                             bool private_to_user) {
    ClosingFd file{
        ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, private_to_user ? 0600 : 0666)};
    if (file.fd < 0) {
        if (errno == EEXIST)
            return std::nullopt;
        fail(errno, path);
    }
    // Without locks (some network file systems) the file is simply not
    // protected; a lock taken by a cleaner means it is about to go.
    if (::flock(file.fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return std::nullopt;
    if (!names_file(path, file.fd))
        return std::nullopt;
    return HeldFile(path, file.release());
}

HeldFile::~HeldFile() {
    if (!placed_)
        ::unlink(path_.c_str());
    close();
}

void HeldFile::close() {
    if (open_)
        ::close(handle_);
    open_ = false;
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
    // Renamed while still locked, so no cleaner can take it in between.
    if (::rename(path_.c_str(), target.c_str()) != 0)
        fail(errno, target);
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
