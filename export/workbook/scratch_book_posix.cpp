#include "export/unnamed_file.h"
#include "export/workbook/scratch_book.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kastrel::exporter {
namespace {

[[noreturn]] void fail(int code, const std::filesystem::path& path) {
    throw FileError(
        {FileFailure::Kind::Workbook, FileFailure::CodeKind::Errno, code != 0 ? code : EIO, path});
}

// An open file without a name in `folder`: O_TMPFILE where the file system
// has it, otherwise a file whose name is removed as soon as it is made.
int unnamed_file(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || !refuses_unnamed(errno))
        return fd;
    std::string name = folder + "/kastrel-XXXXXX";
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named >= 0)
        ::unlink(name.c_str());
    return named;
}

// The temporary folder as the C++ library chooses it, also when it is not
// there (the C++ library then names none).
std::string temporary_folder() {
    for (const char* name : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"})
        if (const char* value = std::getenv(name); value && *value)
            return value;
    return "/tmp";
}

} // namespace

ScratchBook::ScratchBook() {
    folder_ = temporary_folder();
    reported_folder_ = folder_;
    struct stat status {};
    if (::stat(folder_.c_str(), &status) != 0)
        fail(errno, reported_folder_);
    if (!S_ISDIR(status.st_mode))
        fail(ENOTDIR, reported_folder_);
    const int fd = unnamed_file(folder_);
    if (fd < 0)
        fail(errno, reported_folder_);
    handle_ = fd;
    path_ = by_descriptor(fd);
}

ScratchBook::~ScratchBook() {
    ::close(static_cast<int>(handle_));
}

void ScratchBook::read(const std::function<void(std::string_view)>& sink) const {
    std::array<char, 1 << 16> chunk;
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(static_cast<int>(handle_), chunk.data(), chunk.size(), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            fail(errno, reported_folder_);
        if (got == 0)
            return;
        sink(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
        offset += got;
    }
}

} // namespace kastrel::exporter
