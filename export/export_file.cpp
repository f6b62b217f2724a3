#include "export/export_file.h"

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kastrel::exporter {
namespace {

constexpr std::size_t buffer_size = 1 << 16;

std::FILE* open_for_writing(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(path.c_str(), "wb");
#endif
}

std::filesystem::path temporary_beside(const std::filesystem::path& target) {
    std::random_device random;
    const auto tag = std::to_string(random()) + std::to_string(random() % 1000);
    auto name = target.filename();
    name += ".kastrel-" + tag + ".tmp";
    return target.parent_path() / name;
}

[[noreturn]] void fail_with(FileFailure::Kind kind, int code, const std::filesystem::path& path) {
    throw FileError({kind, FileFailure::CodeKind::Errno, code, path});
}

[[noreturn]] void fail_with(const std::error_code& error, const std::filesystem::path& path) {
    FileFailure::CodeKind code_kind = FileFailure::CodeKind::Errno;
#ifdef _WIN32
    // The library reports some calls with Windows' own codes.
    if (error.category() == std::system_category())
        code_kind = FileFailure::CodeKind::Windows;
#endif
    throw FileError({FileFailure::Kind::System, code_kind, error.value(), path});
}

std::string describe(const FileFailure& failure) {
    const std::u8string name = failure.path.u8string();
    return std::string(name.begin(), name.end()) + ": " + std::to_string(failure.code);
}

// Moves the finished file over the target, keeping what the user set on the
// target (its permissions here, its attributes on Windows).
void replace_target(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    std::error_code error;
#ifdef _WIN32
    if (std::filesystem::exists(target, error)) {
        // ReplaceFileW keeps them on Windows, not under every emulation: set
        // the target's attributes (hidden, archive, ...) on the new file first.
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesW(temporary.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
        if (!ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            throw FileError({FileFailure::Kind::System, FileFailure::CodeKind::Windows,
                             static_cast<int>(GetLastError()), target});
        return;
    }
#else
    const auto status = std::filesystem::status(target, error);
    if (!error && std::filesystem::is_regular_file(status))
        std::filesystem::permissions(temporary, status.permissions(),
                                     std::filesystem::perm_options::replace, error);
#endif
    std::filesystem::rename(temporary, target, error);
    if (error)
        fail_with(error, target);
}

} // namespace

FileError::FileError(FileFailure failure)
    : std::runtime_error(describe(failure)), failure_(std::move(failure)) {}

ExportFile::ExportFile(const std::filesystem::path& target) : target_(target) {
    std::error_code error;
    // Writing through a link goes to the file it names, as opening it would.
    if (std::filesystem::is_symlink(target_, error))
        target_ = std::filesystem::weakly_canonical(target_, error);
    if (std::filesystem::is_directory(target_, error))
        fail_with(FileFailure::Kind::TargetIsFolder, 0, target_);
    for (int attempt = 0; attempt < 8 && !file_; ++attempt) {
        temporary_ = temporary_beside(target_);
        if (std::filesystem::exists(temporary_, error))
            continue;
        errno = 0;
        file_ = open_for_writing(temporary_);
        if (!file_)
            fail_with(FileFailure::Kind::System, errno != 0 ? errno : EIO, temporary_);
    }
    if (!file_)
        fail_with(FileFailure::Kind::NoTemporaryName, 0, target_);
    std::setvbuf(file_, nullptr, _IOFBF, buffer_size);
}

ExportFile::~ExportFile() {
    if (file_)
        std::fclose(file_);
    if (!committed_ && !temporary_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

void ExportFile::fail(int error_number) {
    if (first_error_ == 0)
        first_error_ = error_number != 0 ? error_number : EIO;
}

void ExportFile::write_line(std::string_view line) {
    if (first_error_ == 0) {
        errno = 0;
        if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
            std::fwrite("\r\n", 1, 2, file_) != 2)
            fail(errno);
    }
    if (first_error_ != 0)
        fail_with(FileFailure::Kind::System, first_error_, temporary_);
}

void ExportFile::commit() {
    if (first_error_ == 0) {
        errno = 0;
        if (std::fflush(file_) != 0)
            fail(errno);
    }
    errno = 0;
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0)
        fail(errno);
    if (first_error_ != 0)
        fail_with(FileFailure::Kind::System, first_error_, temporary_);
    replace_target(temporary_, target_);
    committed_ = true;
}

} // namespace kastrel::exporter
