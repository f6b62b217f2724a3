#include "export/export_file.h"

#include "export/temporary_name.h"

#include <random>
#include <string>

namespace kastrel::exporter {
namespace {

constexpr std::size_t buffer_size = 1 << 16;
constexpr int name_attempts = 8;

std::string random_tag() {
    std::random_device random;
    static constexpr char digits[] = "0123456789abcdef";
    std::string tag;
    for (unsigned value = random(); tag.size() < 6; value >>= 4)
        tag += digits[value & 0xF];
    return tag;
}

HeldFile create_in(const std::filesystem::path& folder, const std::filesystem::path& stem,
                   bool shared_folder, const std::filesystem::path& target) {
    for (int attempt = 0; attempt < name_attempts; ++attempt)
        if (auto file =
                HeldFile::create_new(folder / temporary_name(stem, random_tag()), shared_folder))
            return std::move(*file);
    throw FileError({FileFailure::Kind::NoTemporaryName, FileFailure::CodeKind::Errno, 0, target});
}

std::string describe(const FileFailure& failure) {
    const std::u8string name = failure.path.u8string();
    return std::string(name.begin(), name.end()) + ": " + std::to_string(failure.code);
}

} // namespace

FileError::FileError(FileFailure failure, bool target_changed)
    : std::runtime_error(describe(failure)), failure_(std::move(failure)),
      target_changed_(target_changed) {}

ExportFile::ExportFile(const std::filesystem::path& target) : target_(target) {
    std::error_code error;
    // Writing through a link goes to the file it names, as opening it would.
    if (std::filesystem::is_symlink(target_, error))
        target_ = std::filesystem::weakly_canonical(target_, error);
    const TargetState state = check_target(target_);

    const std::filesystem::path folder = target_.parent_path();
    const std::filesystem::path stem = temporary_stem_beside(target_);
    remove_abandoned(folder, stem);
    std::error_code no_elsewhere;
    const std::filesystem::path elsewhere = std::filesystem::temp_directory_path(no_elsewhere);
    const std::filesystem::path elsewhere_stem =
        temporary_stem_elsewhere(std::filesystem::absolute(target_, error));
    if (!no_elsewhere)
        remove_abandoned(elsewhere, elsewhere_stem);

    try {
        file_.emplace(create_in(folder, stem, false, target_));
    } catch (const FileError& beside) {
        if (state != TargetState::Writable || !denies_new_files(beside.failure()) || no_elsewhere)
            throw;
        try {
            file_.emplace(create_in(elsewhere, elsewhere_stem, true, target_));
        } catch (const FileError&) {
            throw beside; // the folder's refusal is what the user can act on
        }
        copy_over_target_ = true;
    }
    pending_.reserve(buffer_size + 256);
}

void ExportFile::flush() {
    if (failed_)
        throw *failed_;
    try {
        file_->write(pending_);
        pending_.clear();
    } catch (const FileError& error) {
        failed_ = error;
        throw;
    }
}

void ExportFile::write_line(std::string_view line) {
    if (failed_)
        throw *failed_;
    pending_.append(line);
    end_line();
}

void ExportFile::end_line() {
    pending_.append("\r\n");
    if (pending_.size() >= buffer_size)
        flush();
}

void ExportFile::write_bytes(std::string_view bytes) {
    if (failed_)
        throw *failed_;
    pending_.append(bytes);
    if (pending_.size() >= buffer_size)
        flush();
}

void ExportFile::commit() {
    flush();
    // Made read-only while the run went on: still not to be replaced.
    check_target(target_);
    if (copy_over_target_ || !file_->put_in_place(target_))
        file_->copy_over(target_);
    file_.reset();
}

} // namespace kastrel::exporter
