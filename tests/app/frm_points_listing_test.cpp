#include "app/main_window/frm_points.h"
#include "tests/support/fake_view.h"
#include "tests/support/sim_connector.h"

#include <gtest/gtest.h>

using namespace kastrel;
using app::CommandButton;
using app::Pointer;

namespace {

struct Listing : ::testing::Test {
    fakes::SimConnector host;
    fakes::FakeView view;
    app::FrmPoints form{view, host};

    Listing() {
        host.open(commands());
        form.Form_Load();
    }
    static std::vector<vormesa_sim::Command> commands() {
        return {fakes::feature("KRS1", 20), fakes::not_a_feature(), fakes::feature("KRS2", 20)};
    }
};

TEST_F(Listing, LoadStepSelectsOption4AndSetsTheVersionCaption) {
    EXPECT_EQ(view.caption, "Kastrel Excel  V1.1.1");
    EXPECT_TRUE(view.options[4]);
    EXPECT_FALSE(view.options[1] || view.options[2] || view.options[3]);
    EXPECT_FALSE(view.is_enabled(CommandButton::cmd_schreiben));
}

TEST_F(Listing, FillsTheListEnablesTheButtonsAndFollowsTheHostsCallOrder) {
    form.cmd_lesen_Click();
    EXPECT_EQ(view.entries, (std::vector<std::string>{"KRS1", "KRS2"}));
    for (auto button : {CommandButton::cmd_schreiben, CommandButton::cmd_allemarkieren,
                        CommandButton::cmd_alledemarkieren})
        EXPECT_TRUE(view.is_enabled(button));
    EXPECT_EQ(view.pointers, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Arrow}));
    EXPECT_TRUE(view.messages.empty());
    const std::vector<std::string> start(host.calls.begin(), host.calls.begin() + 5);
    EXPECT_EQ(start, (std::vector<std::string>{
                         "Server CreateObject", "Application ActivePartProgram", "Server GetObject",
                         "Application ActivePartProgram", "PartProgram Commands"}));
}

TEST_F(Listing, ASecondListingReplacesTheEntriesAndDropsTheSelection) {
    form.cmd_lesen_Click();
    form.cmd_allemarkieren_Click();
    host.open({fakes::feature("NEU", 1)});
    form.cmd_lesen_Click();
    EXPECT_EQ(view.entries, (std::vector<std::string>{"NEU"}));
    EXPECT_EQ(view.selected, (std::vector<bool>{false}));
    EXPECT_TRUE(view.is_enabled(CommandButton::cmd_schreiben));
}

TEST_F(Listing, MissingHostWindowClearsTheListAndEndsTheProgram) {
    form.cmd_lesen_Click();
    host.window = false;
    form.cmd_lesen_Click();
    EXPECT_TRUE(view.entries.empty());
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Vormesa muß gestartet werden"}));
    EXPECT_TRUE(view.ended);
    EXPECT_EQ(view.pointers.back(), Pointer::Hourglass); // not reset on the way out
}

TEST_F(Listing, NoActivePartProgramEndsTheProgram) {
    host.sim().close();
    form.cmd_lesen_Click();
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Teileprogramm muß aktiv sein"}));
    EXPECT_TRUE(view.ended);
    EXPECT_FALSE(view.is_enabled(CommandButton::cmd_schreiben));
}

// Failures before the host is known to run are reported and the window stays usable.
TEST_F(Listing, HostFailuresBeforeTheWindowTestShowTheRunTimeErrorAndKeepTheProgram) {
    for (const char* call :
         {"Server CreateObject", "Application ActivePartProgram", "Server GetObject"}) {
        fakes::SimConnector failing_host;
        fakes::FakeView window;
        failing_host.open(commands());
        failing_host.fail(fakes::failing({call}));
        window.entries = {"ALT"};
        window.selected = {true};
        app::FrmPoints logic(window, failing_host);
        logic.cmd_lesen_Click();
        ASSERT_EQ(window.messages.size(), 1u) << call;
        EXPECT_EQ(window.messages[0].rfind("Laufzeitfehler '-2147467259 (80004005)':\n\n", 0), 0u)
            << window.messages[0];
        EXPECT_FALSE(window.ended) << call;
        EXPECT_EQ(window.pointers.back(), Pointer::Arrow) << call;
    }
}

TEST_F(Listing, AnUnreadableSecondActivePartProgramKeepsTheFirst) {
    // The read after the window test.
    host.fail(vormesa_sim::FailurePlan().fail_call(3, fakes::injected_failure()));
    form.cmd_lesen_Click();
    EXPECT_FALSE(view.ended);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.entries, (std::vector<std::string>{"KRS1", "KRS2"}));
}

// From the second ActivePartProgram read on the host is gone: no list that
// passes for the part program's, and the buttons stay as they were.
TEST_F(Listing, ALostHostAfterTheWindowTestLeavesTheListEmpty) {
    view.entries = {"ALT"};
    view.selected = {true};
    host.fail(vormesa_sim::FailurePlan().fail_from(3, fakes::host_lost()));
    form.cmd_lesen_Click();
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{"Vormesa antwortet nicht mehr.\nDie Merkmale "
                                        "wurden nicht eingelesen; die Liste bleibt "
                                        "leer."}));
    EXPECT_TRUE(view.entries.empty());
    EXPECT_FALSE(view.is_enabled(CommandButton::cmd_schreiben));
    EXPECT_EQ(view.pointers.back(), Pointer::Arrow);
    EXPECT_FALSE(view.ended);
}

TEST_F(Listing, SelectAllAndDeselectAll) {
    form.cmd_lesen_Click();
    form.cmd_allemarkieren_Click();
    EXPECT_EQ(view.selected, (std::vector<bool>{true, true}));
    form.cmd_alledemarkieren_Click();
    EXPECT_EQ(view.selected, (std::vector<bool>{false, false}));
    EXPECT_EQ(view.pointers.size(), 2u); // the selection commands leave the pointer alone
}

TEST(PlaneSwitches, CheckingOneClearsTheOthersAndUncheckingChangesNothingElse) {
    struct Case {
        std::array<int, 4> before;
        int clicked;
        std::array<int, 4> after;
    };
    const Case cases[] = {
        {{0, 1, 0, 1}, 3, {0, 0, 0, 1}}, // Check3 clicked on while Check1 was on
        {{0, 1, 0, 0}, 2, {0, 1, 0, 0}}, // a click that left Check2 unchecked changes nothing
        {{0, 1, 1, 0}, 2, {0, 0, 1, 0}},
        {{0, 0, 0, 0}, 1, {0, 0, 0, 0}}, // the only checked switch unchecked: all off
        {{0, 1, 1, 1}, 1, {0, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        fakes::SimConnector host;
        fakes::FakeView view;
        app::FrmPoints form(view, host);
        view.checks = c.before;
        form.Check_Click(c.clicked);
        EXPECT_EQ(view.checks, c.after) << "Check" << c.clicked;
    }
}

} // namespace
