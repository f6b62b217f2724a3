// Every way the bus tells that the stand-in is gone or did not answer ends a
// run at once: the target is untouched and the user is told the host is
// lost. A bus error that means something else leaves an incomplete file. A
// stand-in that only stops answering is waited for.

#include "tests/integration/through_the_bus.h"
#include "tests/support/window_run.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <functional>
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
    fakes::expect_host_lost_and_target_untouched(view, dir, target,
                                                 fakes::says_program_closed(GetParam()));
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

// The part program closed in the stand-in as the export reads its second hit:
// nothing read after that is real, so the run ends as for a lost host, and
// says why. So does the listing.
TEST_F(ThroughTheBus, APartProgramClosedMidExportLeavesTheTargetUntouched) {
    fakes::SimProcess sim(
        {"--close-program-at-call",
         std::to_string(fakes::call_position(fakes::second_hit_program, "GetHit(&2,")),
         example(fakes::second_hit_program)});
    const auto target = fakes::export_failing_from_second_hit(form, view, dir);
    fakes::expect_host_lost_and_target_untouched(view, dir, target, true);
}

TEST_F(ThroughTheBus, APartProgramClosedMidListingLeavesTheListEmpty) {
    fakes::SimProcess sim(
        {"--close-program-at-call",
         std::to_string(fakes::call_position(program_file, "Command#1 IsFeature")),
         example(program_file)});
    form.cmd_lesen_Click();
    EXPECT_EQ(view.messages, (std::vector<std::string>{
                                 "Das Teileprogramm wurde in Vormesa geschlossen.\nDie Merkmale "
                                 "wurden nicht eingelesen; die Liste bleibt leer."}));
    EXPECT_TRUE(view.entries.empty());
    EXPECT_FALSE(view.ended);
}

// The export of hits_600.json over an existing file, while the stand-in is
// ended or stopped as it reads its second hit of 600.
struct StandInEnding : ThroughTheBus {
    std::filesystem::path target = dir / "alt.xls";

    // `act` is done to the stand-in at the second hit; returns what the
    // program wrote to standard error meanwhile.
    std::string export_while(const std::function<void(fakes::SimProcess&)>& act) {
        fakes::TempDir log_dir;
        const auto log = log_dir / "calls.log";
        fakes::SimProcess sim({"--call-log", log.string(), example("hits_600.json")});
        form.cmd_lesen_Click();
        form.cmd_allemarkieren_Click();
        fakes::write_file(target, "vorher");
        view.save_answers = {target.string()};
        std::thread ender([&] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (fakes::read_file(log).find("GetHit(&2,") == std::string::npos &&
                   std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            act(sim);
        });
        testing::internal::CaptureStderr();
        form.cmd_schreiben_Click();
        std::string diagnostics = testing::internal::GetCapturedStderr();
        ender.join();
        ::kill(sim.pid(), SIGCONT);
        sim.kill_now();
        return diagnostics;
    }

    // Once the progress line says the host does not answer, `then` runs once.
    void when_said_silent(std::function<void(app::ProgressEvents&)> then) {
        view.progress.on_pump = [this, then = std::move(then),
                                 done = false](app::ProgressEvents& events) mutable {
            if (!done && !view.progress.lines.empty() &&
                view.progress.lines.back() == "Vormesa antwortet nicht …") {
                done = true;
                then(events);
            }
        };
    }
};

// Killed: the bus says the peer is gone, and the run ends at once.
TEST_F(StandInEnding, KilledMidExportLeavesTheFileIntact) {
    const std::string diagnostics = export_while([](fakes::SimProcess& sim) { sim.kill_now(); });
    // Said once, in German; the bus's own text goes to standard error.
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{fakes::export_host_lost_text(target.string())}));
    EXPECT_NE(diagnostics.find("Vormesa antwortet nicht: "), std::string::npos) << diagnostics;
    EXPECT_EQ(fakes::read_file(target), "vorher");
    EXPECT_EQ(dir.file_count(), 1u);
    EXPECT_FALSE(view.ended);
}

// Stopped: the connection stays and nothing answers. The window says so and
// waits, past any timeout of the bus's own, until the user gives up...
TEST_F(StandInEnding, StoppedMidExportIsWaitedForUntilTheUserCancels) {
    when_said_silent([](app::ProgressEvents& events) { events.cancel_clicked(); });
    export_while([](fakes::SimProcess& sim) { ::kill(sim.pid(), SIGSTOP); });
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Ausgabe abgebrochen. Die Datei \"" +
                                                       target.string() + "\" ist unverändert."}));
    EXPECT_EQ(fakes::read_file(target), "vorher");
    EXPECT_EQ(dir.file_count(), 1u);
}

// ...or the host answers again, and the run goes on as if nothing happened.
TEST_F(StandInEnding, StoppedMidExportGoesOnOnceTheStandInAnswersAgain) {
    std::atomic<pid_t> stopped = 0;
    when_said_silent([&](app::ProgressEvents&) { ::kill(stopped, SIGCONT); });
    export_while([&](fakes::SimProcess& sim) {
        stopped = sim.pid();
        ::kill(sim.pid(), SIGSTOP);
    });
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{"Alle selektierten Merkmale in Datei geschrieben"}));
    EXPECT_EQ(fakes::read_file(target),
              fakes::read_file(std::filesystem::path(KASTREL_SOURCE_DIR) /
                               "tests/data/expected/hits600_opt4_xy_de.xls"));
}

} // namespace
