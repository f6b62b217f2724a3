#include "export/export_file.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

using kastrel::exporter::ExportFile;
using kastrel::exporter::FileError;
using kastrel::exporter::FileFailure;
using kastrel::fakes::read_file;
using kastrel::fakes::TempDir;
using kastrel::fakes::write_file;

namespace {

// On Windows the finished file takes the target's place with ReplaceFileW,
// which keeps what the user set on the target.
TEST(ExportFileOnWindows, ReplacesAnExistingTargetAndKeepsItsAttributes) {
    TempDir dir;
    const auto target = dir / "alt.xls";
    write_file(target, "alt");
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
    {
        ExportFile file(target);
        file.write_line("1;2");
        EXPECT_EQ(read_file(target), "alt");
        file.commit();
    }
    EXPECT_EQ(read_file(target), "1;2\r\n");
    EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(dir.file_count(), 1u);
}

TEST(ExportFileOnWindows, AMissingFolderIsAFileErrorAndLeavesNothingBehind) {
    TempDir dir;
    EXPECT_THROW(ExportFile(dir / "fehlt" / "a.xls"), FileError);
    EXPECT_EQ(dir.file_count(), 0u);
}

// Replacing the file would bypass its read-only attribute: it is refused
// before anything is written.
TEST(ExportFileOnWindows, AReadOnlyTargetIsRefusedAndKeptAsItIs) {
    TempDir dir;
    const auto target = dir / "schreibgeschuetzt.xls";
    write_file(target, "alt");
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    const DWORD attributes = GetFileAttributesW(target.c_str()); // Wine adds the archive bit
    try {
        ExportFile file(target);
        ADD_FAILURE() << "a read-only target was opened";
    } catch (const FileError& error) {
        EXPECT_EQ(error.failure().kind, FileFailure::Kind::ReadOnly);
    }
    EXPECT_EQ(read_file(target), "alt");
    EXPECT_EQ(GetFileAttributesW(target.c_str()), attributes);
    EXPECT_EQ(dir.file_count(), 1u);
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Beyond 260 characters the calls need the long form of the path; the test
// reaches its files through it too.
TEST(ExportFileOnWindows, WritesAndReplacesATargetWhosePathIsLongerThan260Characters) {
    TempDir dir;
    const std::wstring prefix = L"\\\\?\\";
    const std::filesystem::path folder = dir / std::string(100, 'o') / std::string(100, 'p');
    ASSERT_TRUE(CreateDirectoryW((prefix + folder.parent_path().native()).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((prefix + folder.native()).c_str(), nullptr));
    const std::filesystem::path target = folder / "messung_bohrung_links.xls";
    ASSERT_GT(target.native().size(), 260u);
    const std::filesystem::path reachable = prefix + target.native();
    for (const char* content : {"erste", "zweite"}) {
        ExportFile file(target);
        file.write_line(content);
        file.commit();
        EXPECT_EQ(read_file(reachable), content + std::string("\r\n"));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(prefix + folder.native()),
                            std::filesystem::directory_iterator()),
              1);
    DeleteFileW(reachable.c_str());
    RemoveDirectoryW((prefix + folder.native()).c_str());
}

// A running export's temporary file does not share deleting, so the next run
// to the same target removes only what an ended run left.
TEST(ExportFileOnWindows, TheNextRunRemovesALeftTemporaryFileButNotARunningOnes) {
    TempDir dir;
    const auto target = dir / "a.xls";
    write_file(dir / "a.xls.kastrel-0a1b2c.tmp", "halb");
    {
        ExportFile running(target);
        EXPECT_EQ(dir.file_count(), 1u); // the left one replaced by this run's
        ExportFile next(target);
        EXPECT_EQ(dir.file_count(), 2u);
        next.write_line("neu");
        next.commit();
        EXPECT_EQ(dir.file_count(), 2u);
    }
    EXPECT_EQ(read_file(target), "neu\r\n");
    EXPECT_EQ(dir.file_count(), 1u);
}

} // namespace
