// The command line ended from outside while it exports: a signal that can be
// caught gives the run up first; SIGKILL cannot be caught but finds no file
// to leave. Either way the target is as it was and its folder holds nothing
// else.

#include "app/batch/batch_run.h"
#include "app/system/posix/end_signals.h"
#include "tests/support/sim_connector.h"
#include "tests/support/temp_dir.h"

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kastrel;

namespace {

constexpr const char* program_file = "hits_600.json";

struct QuietConsole : app::batch::Console {
    void out(std::string_view) override {}
    void err(std::string_view) override {}
};

// The command line's export of hits_600.json over `target`, in a child set
// up as the program's main sets it up, which tells the parent at the run's
// `report`-th report and waits there for `signal`. How the child ended.
int exported_until(int signal, const std::filesystem::path& target, int report) {
    int told[2];
    if (::pipe(told) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        const app::EndSignals end_signals;
        fakes::SimConnector host;
        host.open(fakes::examples_folder() / program_file);
        QuietConsole console;
        int reports = 0;
        const int exit_code = app::batch::run_command_line(
            {"--export", target.string(), "--all"}, "kastrel", host, console, ",", [&] {
                if (++reports == report) {
                    [[maybe_unused]] const ssize_t written = ::write(told[1], "x", 1);
                    while (end_signals.received() == 0)
                        ::usleep(1000);
                }
                return end_signals.received() != 0;
            });
        if (end_signals.received() != 0)
            end_signals.end_as_signalled();
        ::_exit(exit_code);
    }
    ::close(told[1]);
    char byte = 0;
    const bool reached = ::read(told[0], &byte, 1) == 1;
    ::close(told[0]);
    if (reached)
        ::kill(child, signal);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

struct EndedCommandLine : ::testing::TestWithParam<int> {};

std::string signal_name(const ::testing::TestParamInfo<int>& signal) {
    return sigabbrev_np(signal.param);
}

// Ended as the signal ends a program, so that whoever started it sees how.
TEST_P(EndedCommandLine, LeavesTheTargetAndNothingBesideIt) {
    fakes::TempDir dir;
    fakes::write_file(dir / "alt.xls", "vorher");
    const int status = exported_until(GetParam(), dir / "alt.xls", 500);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam()) << "status " << status;
    EXPECT_EQ(fakes::read_file(dir / "alt.xls"), "vorher");
    EXPECT_EQ(dir.file_count(), 1u);
}

// Killed while it continues an AQDEF file: the file as the last run left it.
TEST(EndedAqdefRun, LeavesTheFileItContinuesAndNothingBesideIt) {
    fakes::TempDir dir;
    const auto target = dir / "serie.dfq";
    {
        fakes::SimConnector host;
        host.open(fakes::examples_folder() / program_file);
        QuietConsole console;
        ASSERT_EQ(app::batch::run_command_line({"--export", target.string(), "--all"}, "kastrel",
                                               host, console, ",", [] { return false; }),
                  0);
    }
    const std::string before = fakes::read_file(target);
    const int status = exported_until(SIGKILL, target, 500);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    EXPECT_EQ(fakes::read_file(target), before);
    EXPECT_EQ(dir.file_count(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedCommandLine,
                         ::testing::Values(SIGTERM, SIGHUP, SIGINT, SIGKILL), signal_name);

} // namespace
