#include "export/export_file.h"
#include "tests/support/temp_dir.h"

#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using kastrel::exporter::ExportFile;
using kastrel::exporter::FileError;
using kastrel::exporter::FileFailure;
using kastrel::fakes::read_file;
using kastrel::fakes::TempDir;
using kastrel::fakes::write_file;

namespace {

// The failure's kind and code as one comparable text; empty when the file was written.
std::string failure_of(const std::filesystem::path& target, const std::string& content = "x") {
    try {
        ExportFile file(target);
        file.write_line(content);
        file.commit();
    } catch (const FileError& error) {
        const FileFailure& failure = error.failure();
        EXPECT_EQ(failure.code_kind, FileFailure::CodeKind::Errno);
        switch (failure.kind) {
        case FileFailure::Kind::TargetIsFolder:
            return "folder";
        case FileFailure::Kind::NoTemporaryName:
            return "no temporary name";
        case FileFailure::Kind::System:
            return "errno " + std::to_string(failure.code);
        }
    }
    return {};
}

TEST(ExportFile, LinesEndWithCrLfAndReplaceTheTargetOnlyOnCommit) {
    TempDir dir;
    write_file(dir / "a.xls", "alt");
    {
        ExportFile file(dir / "a.xls");
        file.write_line("1;2");
        file.write_line("");
        EXPECT_EQ(read_file(dir / "a.xls"), "alt");
        file.commit();
    }
    EXPECT_EQ(read_file(dir / "a.xls"), "1;2\r\n\r\n");
    EXPECT_EQ(dir.file_count(), 1u);
}

TEST(ExportFile, AnAbandonedFileLeavesTheTargetAndNoTemporaryBehind) {
    TempDir dir;
    write_file(dir / "a.xls", "alt");
    {
        ExportFile file(dir / "a.xls");
        file.write_line("neu");
    }
    EXPECT_EQ(read_file(dir / "a.xls"), "alt");
    EXPECT_EQ(dir.file_count(), 1u);
}

TEST(ExportFile, KeepsThePermissionsTheUserGaveTheTarget) {
    TempDir dir;
    write_file(dir / "a.xls", "alt");
    using std::filesystem::perms;
    std::filesystem::permissions(dir / "a.xls",
                                 perms::owner_read | perms::owner_write | perms::group_read);
    ASSERT_EQ(failure_of(dir / "a.xls"), "");
    EXPECT_EQ(std::filesystem::status(dir / "a.xls").permissions(),
              perms::owner_read | perms::owner_write | perms::group_read);
}

TEST(ExportFile, WritesThroughALinkToTheFileItNames) {
    TempDir dir;
    write_file(dir / "real.xls", "alt");
    std::filesystem::create_symlink(dir / "real.xls", dir / "link.xls");
    ASSERT_EQ(failure_of(dir / "link.xls", "neu"), "");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.xls"));
    EXPECT_EQ(read_file(dir / "real.xls"), "neu\r\n");
}

TEST(ExportFile, NamesThatCannotBeWrittenGiveAReason) {
    TempDir dir;
    std::filesystem::create_directory(dir / "ordner.xls");
    EXPECT_EQ(failure_of(dir / "fehlt" / "a.xls"), "errno " + std::to_string(ENOENT));
    EXPECT_EQ(failure_of(dir / "ordner.xls"), "folder");
    // Read-only even for root.
    EXPECT_NE(failure_of("/proc/kastrel-test.xls"), "");
    EXPECT_EQ(dir.file_count(), 1u);
}

TEST(ExportFile, AFullDiskIsReportedAndTheExistingFileSurvives) {
    TempDir dir;
    write_file(dir / "a.xls", "alt");
    // A file-size limit fails writes the way a full disk does.
    const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limit = previous;
    limit.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string reason = failure_of(dir / "a.xls", std::string(100000, '7'));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previous_handler);
    EXPECT_EQ(reason, "errno " + std::to_string(EFBIG));
    EXPECT_EQ(read_file(dir / "a.xls"), "alt");
    EXPECT_EQ(dir.file_count(), 1u);
}

} // namespace
