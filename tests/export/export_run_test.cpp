#include "export/export_run.h"
#include "tests/support/sim_connector.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

using namespace kastrel;
using exporter::ExportRequest;
using exporter::ExportResult;
using exporter::OutputOption;

namespace {

struct ExportRun : ::testing::Test {
    fakes::SimConnector host;
    fakes::TempDir dir;
    ExportRequest request;
    vormesa_sim::FailurePlan failures;

    void select(std::vector<std::string> entries, std::vector<bool> selected = {}) {
        request.entries = std::move(entries);
        request.selected = selected.empty() ? std::vector<bool>(request.entries.size(), true)
                                            : std::move(selected);
    }

    ExportRun() { request.planes = {true, false, false}; }

    // The active part program's commands, reached without failures.
    host::Object commands() {
        host.fail({});
        return host.create_object(host::application_class)
            ->get("ActivePartProgram")
            .to_object()
            ->get("Commands")
            .to_object();
    }

    // Runs the export; the calls and the failures' positions count from its first call.
    ExportResult run(const std::string& name = "out.xls") {
        const host::Object program_commands = commands();
        host.calls.clear();
        host.fail(failures);
        return exporter::run_export(*program_commands, request, dir / name);
    }

    std::string output(const std::string& name = "out.xls") { return fakes::read_file(dir / name); }
};

vormesa_sim::Hit at(double x, double y, double z = 0) {
    return fakes::hit({x, y, z}, {x, y, z});
}

TEST_F(ExportRun, OneHitCostsSixGetHitCallsWithTheHostsArgumentsEachFollowedByOneRead) {
    host.open({fakes::feature("K", 10, {at(3, 4)})});
    select({"K"});
    ASSERT_EQ(run().status, ExportResult::Status::Written);
    std::vector<std::string> expected = {
        "Commands NewEnum", "Enumerator Next",    "Command#0 IsFeature", "Command#0 FeatureCommand",
        "Feature#0 ID",     "Feature#0 TheoDiam", "Feature#0 NumHits"};
    for (int kind : {3, 2})
        for (const char* axis : {"X", "Y", "Z"}) {
            expected.push_back("Feature#0 GetHit(&1, 0, " + std::to_string(kind) +
                               ", 13, &\"\", 0)");
            expected.push_back("Point#0.1." + std::to_string(kind) + " " + axis);
        }
    expected.insert(expected.end(), {"Enumerator Next", "Enumerator Release"});
    EXPECT_EQ(host.calls, expected);
}

TEST_F(ExportRun, Option4WritesHeaderRowsAndSummaryOfEvenlySpreadHits) {
    std::vector<vormesa_sim::Hit> hits;
    for (int k = 0; k < 8; ++k)
        hits.push_back(fakes::hit({10.0 + k * 0.001, 0, -5}, {10, 0, -5.0 - k}));
    host.open({fakes::feature("B", 20, hits)});
    select({"B"});
    run();
    const std::string text = output();
    EXPECT_EQ(
        text.rfind("Nummer\tPR\tPW\tTiefe\r\n1\t10,000\t0\t-5,0000\r\n2\t10,001\t45\t-6,0000\r\n",
                   0),
        0u);
    EXPECT_NE(text.find("8\t10,007\t315\t-12,0000\r\n\r\nBerechnung\tWinkel\tAbstand\r\n"
                        "\t0\t20,004\r\n\t45\t20,006\r\n\t90\t20,008\r\n\t135\t20,01\r\n\r\n"
                        "\t\tMax\t20,01\r\n\t\tMin\t20,004\r\n\t\tMittelwert\t20,007\r\n"),
              std::string::npos)
        << text;
}

TEST_F(ExportRun, PlaneSwitchesChooseRadiusAndDepth) {
    host.open({fakes::feature("P", 10, {fakes::hit({3, 4, 12}, {1, 2, 9})})});
    select({"P"});
    struct Case {
        exporter::PlaneSwitches planes;
        const char* row;
    };
    const Case cases[] = {{{true, false, false}, "1\t5,000\t0\t9,0000"},
                          {{false, true, false}, "1\t12,369\t0\t2,0000"},
                          {{false, false, true}, "1\t12,649\t0\t1,0000"},
                          {{false, false, false}, ""}};
    for (const Case& c : cases) {
        request.planes = c.planes;
        run();
        EXPECT_EQ(output().substr(0, 21 + std::string(c.row).size()),
                  "Nummer\tPR\tPW\tTiefe\r\n" + std::string(c.row) + "\r");
    }
}

TEST_F(ExportRun, Options1To3WriteOneLinePerHitAndNothingElse) {
    host.open({fakes::feature("A", 10.05, {fakes::hit({3, 4, 0}, {3, 4, 0})}),
               fakes::feature(
                   "B", 9.9,
                   {fakes::hit({1.5, 2, 0}, {1.5, 1.99, 0}), fakes::hit({3, 4, 0}, {3, 4, 0})})});
    select({"A", "B"});
    struct Case {
        OutputOption option;
        exporter::PlaneSwitches planes;
        const char* file;
    };
    const Case cases[] = {
        {OutputOption::Option1, {true, false, false}, "0,0250\r\n2,4500\r\n-0,0500\r\n"},
        {OutputOption::Option2,
         {false, false, false},
         "3,0000;4,0000\r\n1,5000;2,0000\r\n3,0000;4,0000\r\n"},
        {OutputOption::Option3,
         {true, false, false},
         "0,0000;0,0000\r\n0,0000;0,0100\r\n0,0000;0,0000\r\n"},
        {OutputOption::Option3, {false, true, false}, "0,0000;\r\n0,0000;\r\n0,0000;\r\n"},
        {OutputOption::Option3, {false, false, true}, ";0,0000\r\n;0,0100\r\n;0,0000\r\n"},
        {OutputOption::Option3, {false, false, false}, ";\r\n;\r\n;\r\n"},
        {OutputOption::Option1, {false, false, false}, "\r\n\r\n\r\n"},
    };
    for (const Case& c : cases) {
        request.option = c.option;
        request.planes = c.planes;
        run();
        EXPECT_EQ(output(), c.file) << static_cast<int>(c.option);
    }
}

TEST_F(ExportRun, MatchingFollowsCommandOrderCountsSelectedEntriesAndIsCaseSensitive) {
    host.open({fakes::feature("A", 0, {at(1, 0)}), fakes::not_a_feature(),
               fakes::feature("B", 0, {at(2, 0)}), fakes::feature("A", 0, {at(3, 0)}),
               fakes::feature("b", 0, {at(4, 0)})});
    request.option = OutputOption::Option2;
    select({"B", "A", "A", "B", "fehlt"}, {true, true, true, false, true});
    run();
    // A twice (two selected entries), B once (its second entry is not selected),
    // the second A twice where its command stands, "b" never.
    EXPECT_EQ(output(), "1,0000;0,0000\r\n1,0000;0,0000\r\n2,0000;0,0000\r\n"
                        "3,0000;0,0000\r\n3,0000;0,0000\r\n");
}

TEST_F(ExportRun, NothingSelectedGivesAnEmptyFileOrTheBareOption4Frame) {
    host.open({fakes::feature("A", 0, {at(1, 0)})});
    select({"A"}, {false});
    request.option = OutputOption::Option1;
    run();
    EXPECT_EQ(output(), "");
    request.option = OutputOption::Option4;
    run();
    EXPECT_EQ(output(), "Nummer\tPR\tPW\tTiefe\r\n\r\nBerechnung\tWinkel\tAbstand\r\n\r\n"
                        "\t\tMax\t\r\n\t\tMin\t\r\n\t\tMittelwert\t\r\n");
}

TEST_F(ExportRun, AFailedReadLeavesItsFieldsEmptyInsteadOfRepeatingThePreviousHit) {
    host.open({fakes::feature("A", 0, {at(1, 2), at(3, 4), at(5, 6)})});
    failures = fakes::failing({"Point#0.2.3 X", "Feature#0 GetHit(&3, 0, 3, 13, &\"\", 0)"});
    request.option = OutputOption::Option2;
    select({"A"});
    const ExportResult result = run();
    EXPECT_EQ(output(), "1,0000;2,0000\r\n;4,0000\r\n;\r\n");
    EXPECT_EQ(result.unread_values, 4); // X of hit 2; X, Y, Z of hit 3
}

TEST_F(ExportRun, AFeatureWhoseIdOrHitCountCannotBeReadWritesNothing) {
    host.open({fakes::feature("A", 0, {at(1, 0)}), fakes::feature("A", 0, {at(2, 0)}),
               fakes::feature("A", 0, {at(3, 0)})});
    failures = fakes::failing({"Feature#0 ID", "Feature#1 NumHits"});
    request.option = OutputOption::Option2;
    select({"A"});
    const ExportResult result = run();
    EXPECT_EQ(output(), "3,0000;0,0000\r\n");
    EXPECT_EQ(result.unread_values, 2);
}

TEST_F(ExportRun, AHostValueThatIsNoNumberIsMissingNotZero) {
    vormesa_sim::Command command = fakes::feature("A", 0, {at(3, 4)});
    command.hits[0].actual[0] = "abc";
    command.theo_diam = "zehn";
    host.open({command});
    request.option = OutputOption::Option1;
    request.planes = {true, false, false};
    select({"A"});
    const ExportResult result = run();
    EXPECT_EQ(output(), "\r\n");
    EXPECT_EQ(result.unread_values, 2);
}

// A failure at every call position: the run never throws, never reports a
// complete file when a value was lost, and never leaves a temporary file.
TEST_F(ExportRun, AFailureAtAnyCallPositionIsCountedOrHarmless) {
    host.open({fakes::feature("A", 10, {at(3, 4), at(4, 3)}), fakes::not_a_feature()});
    select({"A"});
    run();
    const std::string complete = output();
    const std::size_t call_count = host.calls.size();
    for (std::size_t position = 0; position < call_count; ++position) {
        failures = vormesa_sim::FailurePlan().fail_call(position, fakes::injected_failure());
        ExportResult result;
        ASSERT_NO_THROW(result = run()) << position;
        const std::string line = host.calls[position];
        ASSERT_EQ(result.status, ExportResult::Status::Written) << line;
        const bool harmless = line.find("IsFeature") != std::string::npos ||
                              line.find("Release") != std::string::npos;
        if (harmless)
            EXPECT_EQ(output(), complete) << line;
        else
            EXPECT_GT(result.unread_values, 0) << line;
        EXPECT_EQ(dir.file_count(), 1u) << line;
    }
}

// The host lost at any call position ends the run, whatever the call: only
// the enumerator's release comes after the last value. So does the user
// giving up a call the host leaves unanswered, and every report between calls.
TEST_F(ExportRun, TheHostDyingLeavesAnExistingFileUntouched) {
    host.open({fakes::feature("A", 10, {at(3, 4), at(4, 3)}), fakes::not_a_feature()});
    select({"A"});
    run();
    const std::vector<std::string> calls = host.calls;
    for (std::size_t position = 0; position < calls.size(); ++position) {
        if (calls[position] == "Enumerator Release")
            continue;
        fakes::write_file(dir / "out.xls", "vorher");
        failures = vormesa_sim::FailurePlan().fail_from(position, fakes::host_lost());
        const ExportResult result = run();
        EXPECT_EQ(result.status, ExportResult::Status::HostLost) << calls[position];
        EXPECT_EQ(output(), "vorher") << calls[position];
        EXPECT_EQ(dir.file_count(), 1u) << calls[position];

        failures = vormesa_sim::FailurePlan().hang_from(position);
        EXPECT_EQ(run().status, ExportResult::Status::Cancelled) << calls[position];
        EXPECT_EQ(output(), "vorher") << calls[position];
        EXPECT_EQ(dir.file_count(), 1u) << calls[position];
    }

    // Cancelled at the k-th report: 1 command walked, 1 feature, 2 hits, 1 more walk.
    struct CancelAt : host::RunProgress {
        int at;
        int seen = 0;
        explicit CancelAt(int report) : at(report) {}
        void check() {
            if (seen++ == at)
                throw host::RunCancelled();
        }
        void command_walked() override { check(); }
        void feature_started(std::string_view, int, int) override { check(); }
        void hit_started(double, double) override { check(); }
    };
    failures = {};
    for (int report = 0; report < 6; ++report) {
        fakes::write_file(dir / "out.xls", "vorher");
        CancelAt cancel(report);
        EXPECT_EQ(exporter::run_export(*commands(), request, dir / "out.xls", cancel).status,
                  ExportResult::Status::Cancelled)
            << report;
        EXPECT_EQ(output(), "vorher") << report;
        EXPECT_EQ(dir.file_count(), 1u) << report;
    }
}

TEST_F(ExportRun, ManyHitsAreAllWrittenAndSummarised) {
    std::vector<vormesa_sim::Hit> hits(600, at(3, 4));
    host.open({fakes::feature("G", 10, hits)});
    select({"G"});
    run();
    const std::string text = output();
    EXPECT_NE(text.find("\r\n600\t5,000\t359,4\t0,0000\r\n"), std::string::npos);
    EXPECT_NE(
        text.find(
            "\r\n\t179,4\t10\r\n\r\n\t\tMax\t10\r\n\t\tMin\t10\r\n\t\tMittelwert\t10,000\r\n"),
        std::string::npos);
}

// Near the largest double the radius, the radial deviation and the
// differences overflow: those fields stay empty and are counted.
TEST_F(ExportRun, AValueThatOverflowsStaysEmptyAndIsCounted) {
    host.open({fakes::feature("R", 10,
                              {fakes::hit({1e308, 1e308, 0}, {-1e308, -1e308, 0}),
                               fakes::hit({-1e308, -1e308, 0}, {1e308, 1e308, 0})})});
    select({"R"});
    struct Case {
        OutputOption option;
        const char* file;
    };
    const Case cases[] = {
        {OutputOption::Option1, "\r\n\r\n"},
        {OutputOption::Option3, ";\r\n;\r\n"},
        {OutputOption::Option4,
         "Nummer\tPR\tPW\tTiefe\r\n1\t\t0\t0,0000\r\n2\t\t180\t0,0000\r\n\r\n"
         "Berechnung\tWinkel\tAbstand\r\n\t0\t\r\n\r\n\t\tMax\t\r\n"
         "\t\tMin\t\r\n\t\tMittelwert\t\r\n"},
    };
    for (const Case& c : cases) {
        request.option = c.option;
        const ExportResult result = run();
        EXPECT_EQ(output(), c.file);
        EXPECT_EQ(result.uncomputed_values, c.option == OutputOption::Option3 ? 4 : 2);
        EXPECT_EQ(result.unread_values, 0);
    }
}

} // namespace
