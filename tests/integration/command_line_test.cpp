// kastrel started with arguments, against the stand-in host over the bus:
// the window's files and list without a window, and without any display.

#include "app/main_window/frm_points.h"
#include "app/texts/messages.h"
#include "host/dbus/dbus_connector.h"
#include "tests/integration/program_run.h"
#include "tests/integration/sim_process.h"
#include "tests/integration/through_the_bus.h"
#include "tests/support/aqdef_checker.h"
#include "tests/support/export_cases.h"
#include "tests/support/fake_view.h"
#include "tests/support/sim_connector.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_run.h"
#include "tests/support/workbook_checker.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace kastrel;

namespace {

using fakes::example;

std::string locale_of(const char* separator) {
    return std::string(separator) == "," ? "de_DE.UTF-8" : "en_US.UTF-8";
}

fakes::ProgramRun kastrel(const std::vector<std::string>& arguments,
                          const std::string& locale = "de_DE.UTF-8",
                          std::optional<rlim_t> file_size_limit = std::nullopt) {
    return fakes::run_program(KASTREL_PATH, arguments, locale, file_size_limit);
}

std::string plane_argument(const exporter::PlaneSwitches& planes) {
    return planes.xy ? "XY" : planes.xz ? "XZ" : planes.yz ? "YZ" : "none";
}

int option_number(exporter::OutputOption option) {
    return static_cast<int>(option) - static_cast<int>(exporter::OutputOption::None);
}

struct CommandLine : ::testing::Test {
    fakes::TempDir dir;

    void SetUp() override {
        if (!fakes::have_session_bus())
            GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    }
    std::string target(const std::string& name) const { return (dir / name).string(); }
};

// Each case's file, written over an existing one. A case with nothing
// selected, or with a list standing twice, has no command line (a --select
// that no entry carries writes nothing: below).
TEST_F(CommandLine, EveryExportCaseWritesItsCheckedInFileOverAnExistingOne) {
    std::vector<std::string> part_programs;
    for (const auto& c : fakes::export_cases)
        if (std::find(part_programs.begin(), part_programs.end(), c.part_program) ==
            part_programs.end())
            part_programs.push_back(c.part_program);
    int exported = 0;
    for (const std::string& part_program : part_programs) {
        fakes::SimProcess sim({example(part_program.c_str())});
        for (const auto& c : fakes::export_cases) {
            if (c.part_program != part_program || c.selection != fakes::Selection::All)
                continue;
            const std::string file = target(std::string(c.name) + ".xls");
            fakes::write_file(file, "vorher");
            std::vector<std::string> arguments = {
                "--export", file,
                "--option", std::to_string(option_number(c.option)),
                "--plane",  plane_argument(c.planes),
                "--all"};
            const auto run = kastrel(arguments, locale_of(c.separator));
            EXPECT_EQ(run.exit_code, c.unread == 0 ? 0 : 4) << c.name << ": " << run.err;
            EXPECT_EQ(fakes::read_file(file),
                      fakes::read_file(fakes::expected_file(KASTREL_SOURCE_DIR, c)))
                << c.name;
            exporter::ExportResult result;
            result.unread_values = c.unread;
            EXPECT_EQ(run.err, app::export_outcome_text(result, file) + "\n") << c.name;
            ++exported;
        }
    }
    EXPECT_EQ(exported, std::count_if(fakes::export_cases.begin(), fakes::export_cases.end(),
                                      [](const fakes::ExportCase& c) {
                                          return c.selection == fakes::Selection::All;
                                      }));
    EXPECT_EQ(dir.file_count(), static_cast<std::size_t>(exported));
}

// Every sample as the window lists it, and the checked-in listings in both regional forms.
TEST_F(CommandLine, ListsEverySamplePartProgramAsTheWindowDoes) {
    int listed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fakes::examples_folder())) {
        fakes::SimProcess sim({entry.path().string()});
        fakes::FakeView view;
        host::dbus::DbusConnector connector;
        app::FrmPoints form(view, connector);
        form.Form_Load();
        form.cmd_lesen_Click();
        ASSERT_TRUE(view.messages.empty()) << entry.path();
        std::string lines;
        for (const std::string& id : view.entries)
            lines += id + "\n";

        const auto run = kastrel({"--list"});
        EXPECT_EQ(run.exit_code, 0) << entry.path();
        EXPECT_EQ(run.out, lines) << entry.path();
        EXPECT_EQ(run.err, "") << entry.path();
        ++listed;
    }
    EXPECT_GE(listed, 9);

    for (const auto& c : fakes::listing_cases) {
        fakes::SimProcess sim({example(c.part_program)});
        const auto run = kastrel({"--list"}, locale_of(c.separator));
        EXPECT_EQ(run.exit_code, 0) << c.name;
        EXPECT_EQ(run.out, fakes::read_file(fakes::expected_file(KASTREL_SOURCE_DIR, c))) << c.name;
    }
}

TEST_F(CommandLine, AUsageErrorSaysWhatIsWrongThenTheUsageAndTouchesNothing) {
    const auto log = dir / "calls.log";
    fakes::SimProcess sim({"--call-log", log.string(), example("bolt_circle_8.json")});
    const auto run = kastrel({"--export", target("a.xls"), "--option", "5", "--all"});
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.err, "Ungültiger Wert \"5\" für --option (erlaubt: 1, 2, 3 oder 4)\n" +
                           app::usage_text("kastrel") + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(dir / "a.xls"));
    EXPECT_EQ(fakes::read_file(log), "");

    const auto help = kastrel({"--help"});
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_EQ(help.out, app::usage_text("kastrel") + "\n");
}

TEST_F(CommandLine, WithoutTheHostsWindowItSaysSoAndEndsWith1) {
    fakes::SimProcess sim({"--no-window", example("bolt_circle_8.json")});
    const auto run = kastrel({"--export", target("a.xls"), "--all"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "Vormesa muß gestartet werden\n");
    EXPECT_EQ(dir.file_count(), 0u);
}

TEST_F(CommandLine, AFileThatCannotBeWrittenLeavesTheTargetAndEndsWith3) {
    fakes::SimProcess sim({example("hits_600.json")});
    fakes::write_file(dir / "alt.xls", "vorher");
    // Its 19 kB do not fit under a 4 kB file-size limit, as on a full disk.
    const auto run = kastrel({"--export", target("alt.xls"), "--all"}, "de_DE.UTF-8", 4096);
    EXPECT_EQ(run.exit_code, 3);
    EXPECT_NE(run.err.find("Die Datei \"" + target("alt.xls") +
                           "\" konnte nicht geschrieben werden: Datei zu groß für den Datenträger"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(fakes::read_file(dir / "alt.xls"), "vorher");
    EXPECT_EQ(dir.file_count(), 1u);
}

// The same file and message as the window's, from a part program whose reads fail.
TEST_F(CommandLine, ValuesTheHostCannotGiveMakeTheWindowsIncompleteFileAndEndWith4) {
    fakes::FakeView view;
    fakes::SimConnector local;
    local.open(fakes::examples_folder() / "failures.json");
    app::FrmPoints form(view, local);
    fakes::list_and_export_over(form, view, dir / "fenster.xls");
    ASSERT_EQ(view.messages.size(), 1u);

    fakes::SimProcess sim({example("failures.json")});
    const auto run = kastrel({"--export", target("batch.xls"), "--all"});
    EXPECT_EQ(run.exit_code, 4);
    std::string message = view.messages[0];
    message.replace(message.find("fenster.xls"), 11, "batch.xls");
    EXPECT_EQ(run.err, message + "\n");
    EXPECT_EQ(fakes::read_file(dir / "batch.xls"), fakes::read_file(dir / "fenster.xls"));
}

// A name ending in .xlsx is a workbook, the same from the window's logic and
// from the command line: its roundness sheet as checked in, its cells and
// charts alike.
TEST_F(CommandLine, AWorkbookIsTheWindowsWorkbookWithItsRoundnessSheet) {
    fakes::SimProcess sim({example("roundness.json")});
    const auto run = kastrel({"--export", target("batch.XLSX"), "--all"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.err, std::string(app::message::export_complete) + "\n");

    fakes::FakeView view;
    host::dbus::DbusConnector connector;
    app::FrmPoints form(view, connector);
    fakes::list_and_export_over(form, view, dir / "fenster.xlsx");
    EXPECT_EQ(view.messages, std::vector<std::string>{app::message::export_complete});

    EXPECT_EQ(fakes::check_workbooks(
                  KASTREL_SOURCE_DIR,
                  {"roundness", target("batch.XLSX"),
                   std::string(KASTREL_SOURCE_DIR) + "/tests/data/expected/roundness_xy_de.json"}),
              "");
    EXPECT_EQ(fakes::check_workbooks(KASTREL_SOURCE_DIR,
                                     {"same", target("batch.XLSX"), target("fenster.xlsx")}),
              "");
    EXPECT_EQ(dir.file_count(), 2u);
}

// The part number "x" from the name in both. A run with another selection
// writes nothing and ends with 3; a --select ID that no entry has, with 2.
TEST_F(CommandLine, AnAqdefFileIsTheWindowsAndOnlyItsOwnCharacteristicsContinueIt) {
    fakes::SimProcess sim({example("roundness.json")});
    const auto run = kastrel({"--export", target("x.dfq"), "--all"});
    EXPECT_EQ(run.exit_code, 0) << run.err;

    std::filesystem::create_directory(dir / "fenster");
    fakes::FakeView view;
    host::dbus::DbusConnector connector;
    app::FrmPoints form(view, connector);
    form.Form_Load();
    form.cmd_lesen_Click();
    form.cmd_allemarkieren_Click();
    view.save_answers = {(dir / "fenster" / "x.dfq").string()};
    form.cmd_schreiben_Click();
    EXPECT_EQ(view.messages, std::vector<std::string>{app::message::export_complete});
    EXPECT_EQ(fakes::check_aqdef(KASTREL_SOURCE_DIR,
                                 {"same", target("x.dfq"), (dir / "fenster" / "x.dfq").string()}),
              "");

    const std::string before = fakes::read_file(dir / "x.dfq");
    const auto refused = kastrel({"--export", target("x.dfq"), "--select", "KRS1"});
    EXPECT_EQ(refused.exit_code, 3);
    EXPECT_EQ(refused.err, "Die Datei \"" + target("x.dfq") +
                               "\" beschreibt andere Merkmale; die Messwerte wurden nicht "
                               "angehängt.\n");
    EXPECT_EQ(fakes::read_file(dir / "x.dfq"), before);
    const auto nothing = kastrel({"--export", target("y.dfq"), "--select", "KRS9"});
    EXPECT_EQ(nothing.exit_code, 2);
    EXPECT_EQ(nothing.err, "Kein Merkmal der Liste hat die ID \"KRS9\".\n");
    EXPECT_EQ(dir.file_count(), 2u); // x.dfq and the folder
}

// The rows the window shows, for a program to read; its usage errors do nothing.
TEST_F(CommandLine, EvaluatePrintsTheRoundnessRowsAndRefusesWhatItCannotUse) {
    const auto log = dir / "calls.log";
    fakes::SimProcess sim({"--call-log", log.string(), example("roundness.json")});
    const auto run = kastrel({"--evaluate", "--all"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, fakes::read_file(std::string(KASTREL_SOURCE_DIR) +
                                        "/tests/data/expected/roundness_xy.tsv"));
    EXPECT_EQ(run.err, "");
    const auto one = kastrel({"--evaluate", "--select", "KRS2", "--plane", "XY"});
    EXPECT_EQ(one.exit_code, 0) << one.err;
    EXPECT_EQ(one.out.substr(one.out.find('\n') + 1).rfind("KRS2\tXY\t36\t", 0), 0u) << one.out;
    EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 2);
    const std::string calls = fakes::read_file(log);

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--evaluate", "--all", "--plane", "none"},
          std::vector<std::string>{"--evaluate", "--all", "--option", "4"}}) {
        const auto refused = kastrel(wrong);
        EXPECT_EQ(refused.exit_code, 2);
        EXPECT_EQ(refused.out, "");
        EXPECT_NE(refused.err.find("ist mit --evaluate nicht möglich\n"), std::string::npos)
            << refused.err;
    }
    EXPECT_EQ(fakes::read_file(log), calls);
    EXPECT_EQ(dir.file_count(), 1u); // the call log
}

TEST_F(CommandLine, TheHostLostInTheMiddleLeavesTheTargetAndEndsWith5) {
    // Every call from the export's second hit on finds no host.
    fakes::SimProcess sim(
        {"--fail-from-call", std::to_string(fakes::call_position("hits_600.json", "GetHit(&2,")),
         "--fail-with", "org.freedesktop.DBus.Error.NoReply", example("hits_600.json")});
    fakes::write_file(dir / "alt.xls", "vorher");
    const auto run = kastrel({"--export", target("alt.xls"), "--all"});
    EXPECT_EQ(run.exit_code, 5);
    EXPECT_NE(run.err.find(fakes::export_host_lost_text(target("alt.xls"))), std::string::npos)
        << run.err;
    EXPECT_EQ(fakes::read_file(dir / "alt.xls"), "vorher");
    EXPECT_EQ(dir.file_count(), 1u);
}

TEST_F(CommandLine, APartProgramClosedInTheMiddleLeavesTheTargetAndEndsWith5) {
    fakes::SimProcess sim({"--close-program-at-call",
                           std::to_string(fakes::call_position("hits_600.json", "GetHit(&2,")),
                           example("hits_600.json")});
    fakes::write_file(dir / "alt.xls", "vorher");
    const auto run = kastrel({"--export", target("alt.xls"), "--all"});
    EXPECT_EQ(run.exit_code, 5);
    // After the diagnostic line with the bus's own words.
    EXPECT_TRUE(
        run.err.ends_with("\n" + fakes::export_program_closed_text(target("alt.xls")) + "\n"))
        << run.err;
    EXPECT_EQ(fakes::read_file(dir / "alt.xls"), "vorher");
    EXPECT_EQ(dir.file_count(), 1u);
}

} // namespace
