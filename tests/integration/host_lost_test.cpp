// Every way the bus tells that the stand-in is gone or did not answer ends a
// run at once: the target is untouched and the user is told the host is
// lost. A bus error that means something else leaves an incomplete file.

#include "tests/integration/through_the_bus.h"
#include "tests/support/window_run.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <thread>

using namespace kastrel;
using fakes::example;
using fakes::ThroughTheBus;

namespace {

constexpr const char* program_file = "bolt_circle_8.json";

struct FailingFromTheSecondHit : ThroughTheBus, ::testing::WithParamInterface<const char*> {
    // Lists, then exports over an existing file while the stand-in answers
    // every call from the second hit on with the error.
    std::filesystem::path export_over_existing_file() {
        fakes::SimProcess sim(
            fakes::failing_from_second_hit(GetParam(), example(fakes::second_hit_program)));
        return fakes::export_failing_from_second_hit(form, view, dir);
    }
};

using LostHost = FailingFromTheSecondHit;

TEST_P(LostHost, EndsTheExportAtOnceAndLeavesTheTargetUntouched) {
    const auto target = export_over_existing_file();
    fakes::expect_host_lost_and_target_untouched(view, dir, target);
}

std::string test_name(const ::testing::TestParamInfo<const char*>& info) {
    std::string name = info.param;
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

// The bus's own names; errno names, which sd-bus turns into its own results
// for a broken link; and the platform's codes, as the host's failure.
std::vector<const char*> lost_host_errors() {
    std::vector<const char*> errors = {"org.freedesktop.DBus.Error.NoReply",
                                       "org.freedesktop.DBus.Error.ServiceUnknown",
                                       "org.freedesktop.DBus.Error.NameHasNoOwner",
                                       "org.freedesktop.DBus.Error.Disconnected",
                                       "org.freedesktop.DBus.Error.Timeout",
                                       "org.freedesktop.DBus.Error.TimedOut",
                                       "org.freedesktop.DBus.Error.NoServer",
                                       "System.Error.ETIMEDOUT",
                                       "System.Error.ECONNRESET",
                                       "System.Error.ENOTCONN",
                                       "System.Error.EPIPE"};
    errors.insert(errors.end(), fakes::host_lost_codes.begin(), fakes::host_lost_codes.end());
    return errors;
}

INSTANTIATE_TEST_SUITE_P(BusErrors, LostHost, ::testing::ValuesIn(lost_host_errors()), test_name);

using NotALostHost = FailingFromTheSecondHit;

TEST_P(NotALostHost, LeavesAnIncompleteFileThatSaysSo) {
    fakes::expect_incomplete_file(view, export_over_existing_file());
}

INSTANTIATE_TEST_SUITE_P(OtherErrors, NotALostHost,
                         ::testing::Values("org.freedesktop.DBus.Error.UnknownMethod",
                                           "org.freedesktop.DBus.Error.InvalidArgs",
                                           "org.freedesktop.DBus.Error.AccessDenied", "0x80004005"),
                         test_name);

TEST_F(ThroughTheBus, ALostHostInTheMiddleOfTheListingLeavesTheListEmpty) {
    fakes::SimProcess sim(
        {"--fail-from-call", std::to_string(fakes::call_position(program_file, "Enumerator Next")),
         "--fail-with", "org.freedesktop.DBus.Error.NoReply", example(program_file)});
    form.cmd_lesen_Click();
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{
                  "Vormesa antwortet nicht mehr.\nDie Merkmale wurden nicht eingelesen; die Liste "
                  "bleibt leer."}));
    EXPECT_TRUE(view.entries.empty());
    EXPECT_FALSE(view.is_enabled(app::CommandButton::cmd_schreiben));
    EXPECT_EQ(view.pointers.back(), app::Pointer::Arrow);
    EXPECT_FALSE(view.ended);
}

// The stand-in killed, so that the bus says the peer is gone, or stopped, so
// that sd-bus's own timeout ends the call, while the export reads its second
// hit of 600.
enum class Ending { Killed, Stopped };

struct StandInEnding : ThroughTheBus, ::testing::WithParamInterface<Ending> {};

TEST_P(StandInEnding, MidExportLeavesTheFileIntact) {
    // Read when the connection makes its first call.
    setenv("SYSTEMD_BUS_TIMEOUT", "1", 1);
    fakes::TempDir log_dir;
    const auto log = log_dir / "calls.log";
    fakes::SimProcess sim({"--call-log", log.string(), example("hits_600.json")});
    form.cmd_lesen_Click();
    form.cmd_allemarkieren_Click();
    fakes::write_file(dir / "alt.xls", "vorher");
    view.save_answers = {(dir / "alt.xls").string()};
    std::thread ender([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (fakes::read_file(log).find("GetHit(&2,") == std::string::npos &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (GetParam() == Ending::Killed)
            sim.kill_now();
        else
            ::kill(sim.pid(), SIGSTOP);
    });
    testing::internal::CaptureStderr();
    form.cmd_schreiben_Click();
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    ender.join();
    sim.kill_now();
    unsetenv("SYSTEMD_BUS_TIMEOUT");
    // Said once, in German; the bus's own text goes to standard error.
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{fakes::export_host_lost_text((dir / "alt.xls").string())}));
    EXPECT_NE(diagnostics.find("Vormesa antwortet nicht: "), std::string::npos) << diagnostics;
    EXPECT_EQ(fakes::read_file(dir / "alt.xls"), "vorher");
    EXPECT_EQ(dir.file_count(), 1u);
    EXPECT_FALSE(view.ended);
}

INSTANTIATE_TEST_SUITE_P(HostGone, StandInEnding,
                         ::testing::Values(Ending::Killed, Ending::Stopped), [](const auto& test) {
                             return test.param == Ending::Killed ? "Killed" : "Stopped";
                         });

} // namespace
