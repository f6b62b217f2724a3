#include "common/non_copyable.h"
#include "export/export_file.h"
#include "export/temporary_name.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged_user.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using kastrel::exporter::ExportFile;
using kastrel::exporter::FileError;
using kastrel::exporter::FileFailure;
using kastrel::fakes::as_unprivileged_user;
using kastrel::fakes::FileSizeLimit;
using kastrel::fakes::read_file;
using kastrel::fakes::TempDir;
using kastrel::fakes::write_file;

namespace {

// The failure's kind and code as one comparable text; empty when the file
// was written. With a limit, the disk is "full" from the commit on.
std::string failure_of(const std::filesystem::path& target, const std::string& content = "x",
                       rlim_t limit_at_commit = 0,
                       const std::function<void()>& during_the_run = {}) {
    try {
        ExportFile file(target);
        file.write_line(content);
        if (during_the_run)
            during_the_run();
        std::optional<FileSizeLimit> limit;
        if (limit_at_commit > 0)
            limit.emplace(limit_at_commit);
        file.commit();
    } catch (const FileError& error) {
        const FileFailure& failure = error.failure();
        EXPECT_EQ(failure.code_kind, FileFailure::CodeKind::Errno);
        if (error.target_changed())
            return "changed, errno " + std::to_string(failure.code);
        switch (failure.kind) {
        case FileFailure::Kind::TargetIsFolder:
            return "folder";
        case FileFailure::Kind::NoTemporaryName:
            return "no temporary name";
        case FileFailure::Kind::ReadOnly:
            return "read-only";
        case FileFailure::Kind::NotARegularFile:
            return "no regular file";
        case FileFailure::Kind::Vanished:
            return "vanished, errno " + std::to_string(failure.code);
        case FileFailure::Kind::System:
            return "errno " + std::to_string(failure.code);
        case FileFailure::Kind::Workbook:
        case FileFailure::Kind::TooManyRows:
        case FileFailure::Kind::TextTooLong:
            return "workbook";
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
    std::string reason;
    {
        FileSizeLimit limit(4096);
        reason = failure_of(dir / "a.xls", std::string(100000, '7'));
    }
    EXPECT_EQ(reason, "errno " + std::to_string(EFBIG));
    EXPECT_EQ(read_file(dir / "a.xls"), "alt");
    EXPECT_EQ(dir.file_count(), 1u);
}

// A file as the report below shows it: content, mode and whose it is.
std::string state_of(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return "missing";
    std::string content = read_file(path);
    for (std::size_t at; (at = content.find("\r\n")) != std::string::npos;)
        content.replace(at, 2, "|");
    char mode[8];
    std::snprintf(mode, sizeof mode, "%o", status.st_mode & 0777);
    const std::string owner = status.st_uid == ::geteuid() ? "mine"
                              : status.st_uid == 0         ? "root's"
                                                           : std::to_string(status.st_uid);
    return content + " " + mode + " " + owner;
}

// Replacing a file needs only its folder's permission, writing it its own:
// the export replaces only what this user may write, keeps whose it is and
// its other names, and where the folder takes no new file it writes the
// target itself at the end.
TEST(ExportFile, ReplacesOnlyWritableFilesAsTheyAreAndWritesInPlaceInAClosedFolder) {
    TempDir dir;
    const bool foreign_file = ::geteuid() == 0;
    if (foreign_file) {
        write_file(dir / "fremd.xls", "alt");
        ::chmod((dir / "fremd.xls").c_str(), 0644);
        write_file(dir / "gemeinsam.xls", "alt");
        ::chmod((dir / "gemeinsam.xls").c_str(), 0666);
    }
    const std::string report = as_unprivileged_user(dir, [&] {
        std::string text;
        const auto line = [&](const std::string& name, const std::string& failure) {
            text += name + ": " + (failure.empty() ? "written" : failure) + ", " +
                    state_of(dir / name) + "\n";
        };
        write_file(dir / "nur_lesen.xls", "alt");
        ::chmod((dir / "nur_lesen.xls").c_str(), 0444);
        line("nur_lesen.xls", failure_of(dir / "nur_lesen.xls", "neu"));
        if (foreign_file) {
            line("fremd.xls", failure_of(dir / "fremd.xls", "neu"));
            line("gemeinsam.xls", failure_of(dir / "gemeinsam.xls", "neu"));
        }
        // A second name of the file sees the new content, as after a plain overwrite.
        write_file(dir / "verknuepft.xls", "alt");
        ::chmod((dir / "verknuepft.xls").c_str(), 0600);
        std::filesystem::create_hard_link(dir / "verknuepft.xls", dir / "zweiter_name.xls");
        line("verknuepft.xls", failure_of(dir / "verknuepft.xls", "neu"));
        text += "zweiter_name.xls: " + state_of(dir / "zweiter_name.xls") + "\n";

        std::filesystem::create_directory(dir / "zu");
        write_file(dir / "zu/offen.xls", "alt");
        ::chmod((dir / "zu/offen.xls").c_str(), 0640);
        write_file(dir / "zu/voll.xls", "alt");
        ::chmod((dir / "zu").c_str(), 0555);
        line("zu/offen.xls", failure_of(dir / "zu/offen.xls", "neu"));
        line("zu/neu.xls", failure_of(dir / "zu/neu.xls", "neu"));
        // The disk fills while the output is copied over the target.
        const std::string copy = failure_of(dir / "zu/voll.xls", std::string(100000, '7'), 4096);
        text += "zu/voll.xls: " + copy + ", " +
                std::to_string(std::filesystem::file_size(dir / "zu/voll.xls")) + " bytes\n";
        std::size_t left_elsewhere = 0;
        const auto stem = kastrel::exporter::temporary_stem_elsewhere(dir / "zu/offen.xls");
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
            left_elsewhere += kastrel::exporter::is_temporary_for(entry.path().filename(), stem);
        const auto count = [](const std::filesystem::path& folder) {
            return std::to_string(std::distance(std::filesystem::directory_iterator(folder),
                                                std::filesystem::directory_iterator()));
        };
        text += "files: " + count(dir.path()) + ", in zu: " + count(dir / "zu") +
                ", elsewhere: " + std::to_string(left_elsewhere) + "\n";
        ::chmod((dir / "zu").c_str(), 0755);
        return text;
    });
    std::string expected = "nur_lesen.xls: read-only, alt 444 mine\n";
    if (foreign_file)
        expected += "fremd.xls: read-only, alt 644 root's\n"
                    "gemeinsam.xls: written, neu| 666 root's\n";
    expected += "verknuepft.xls: written, neu| 600 mine\n"
                "zweiter_name.xls: neu| 600 mine\n"
                "zu/offen.xls: written, neu| 640 mine\n"
                "zu/neu.xls: errno " +
                std::to_string(EACCES) +
                ", missing\n"
                "zu/voll.xls: changed, errno " +
                std::to_string(EFBIG) +
                ", 4096 bytes\n"
                "files: " +
                std::string(foreign_file ? "6" : "4") + ", in zu: 2, elsewhere: 0\n";
    EXPECT_EQ(report, expected);
}

// A run ended from outside, even by SIGKILL, leaves nothing: its file has no
// name until it takes the target's place. Where the file system gives no
// unnamed file, such a run leaves a named one; the next run to the same
// target removes it, but not one a running export holds (locked), nor
// another target's.
TEST(ExportFile, TheNextRunRemovesWhatAKilledRunLeftButNotWhatARunningOneHolds) {
    TempDir dir;
    write_file(dir / "a.xls", "alt");
    write_file(dir / "b.xls.kastrel-0a1b2c.tmp", "anderes Ziel");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ExportFile file(dir / "a.xls");
        file.write_line("halb");
        [[maybe_unused]] const auto written = ::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(dir.file_count(), 2u); // the running export's file has no name
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(dir.file_count(), 2u);

    write_file(dir / "a.xls.kastrel-0d0e0f.tmp", "halb"); // left by a killed run
    const int held = ::open((dir / "a.xls.kastrel-1a2b3c.tmp").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(held, LOCK_EX), 0); // held by a running one
    {
        ExportFile next(dir / "a.xls");
        EXPECT_EQ(dir.file_count(), 3u); // the killed run's file is gone
        next.write_line("neu");
        next.commit();
        EXPECT_EQ(dir.file_count(), 3u); // the running export's file is still there
    }
    ::close(held);
    EXPECT_EQ(read_file(dir / "a.xls"), "neu\r\n");
    EXPECT_EQ(read_file(dir / "b.xls.kastrel-0a1b2c.tmp"), "anderes Ziel");
    EXPECT_EQ(read_file(dir / "a.xls.kastrel-1a2b3c.tmp"), "");
}

// The target's folder renamed during the run: the file cannot take the
// target's place, the user is told what went, and nothing is left in either
// folder.
TEST(ExportFile, AFolderRenamedDuringTheRunIsSaidAndLeavesNothing) {
    TempDir dir;
    std::filesystem::create_directory(dir / "vorher");
    write_file(dir / "vorher/a.xls", "alt");
    EXPECT_EQ(failure_of(dir / "vorher/a.xls", "neu", 0,
                         [&] { std::filesystem::rename(dir / "vorher", dir / "nachher"); }),
              "vanished, errno " + std::to_string(ENOENT));
    EXPECT_EQ(read_file(dir / "nachher/a.xls"), "alt");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "nachher"),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(dir.file_count(), 1u);
}

// A long name gets a short temporary name: the target's name with a
// temporary suffix would be longer than the file system allows. The unnamed
// file takes it just before it takes the target's place.
TEST(ExportFile, ALongNameGetsAShortTemporaryName) {
    TempDir dir;
    const std::string name = std::string(240, 'm') + ".xls";
    const auto temporary = kastrel::exporter::temporary_name(
        kastrel::exporter::temporary_stem_beside(dir / name), "0a1b2c");
    EXPECT_LT(temporary.native().size(), 64u);
    EXPECT_EQ(temporary.native().rfind(std::string(24, 'm') + "~", 0), 0u) << temporary;
    ExportFile file(dir / name);
    file.write_line("neu");
    file.commit();
    EXPECT_EQ(read_file(dir / name), "neu\r\n");
    EXPECT_EQ(dir.file_count(), 1u);
}

} // namespace
