#include "export/aqdef/existing_content.h"

#include "export/file_failure.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace kastrel::exporter {
namespace {

struct CloseFile {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, CloseFile>;

[[noreturn]] void fail(int code, const std::filesystem::path& target) {
    throw FileError({FileFailure::Kind::System, FileFailure::CodeKind::Errno, code, target});
}

} // namespace

std::optional<std::string> existing_content(const std::filesystem::path& target) {
    errno = 0;
#ifdef _WIN32
    OpenFile file(_wfopen(target.c_str(), L"rb"));
#else
    OpenFile file(std::fopen(target.c_str(), "rb"));
#endif
    if (!file) {
        if (errno == ENOENT)
            return std::nullopt; // taken away since the last run: a new file begins
        fail(errno, target);
    }
    std::string content;
    char buffer[1 << 16];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, file.get()))
        content.append(buffer, read);
    if (std::ferror(file.get()))
        fail(errno != 0 ? errno : EIO, target);
    return content;
}

} // namespace kastrel::exporter
