#include "export/export_file.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

using kastrel::exporter::ExportFile;
using kastrel::exporter::FileError;
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

} // namespace
