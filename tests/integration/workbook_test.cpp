#include "export/export_run.h"
#include "export/workbook/workbook_output.h"
#include "host/feature_listing.h"
#include "tests/support/export_cases.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/sim_connector.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged_user.h"
#include "tests/support/workbook_checker.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <numbers>
#include <sys/stat.h>

using namespace kastrel;
using exporter::ExportResult;

namespace {

host::Object active_program(fakes::SimConnector& host, const std::filesystem::path& file) {
    host.open(file);
    return host.create_object(host::application_class)->get("ActivePartProgram").to_object();
}

ExportResult export_to(const host::Object& program, const exporter::ExportRequest& request,
                       const std::filesystem::path& target) {
    const host::Object commands = program->get("Commands").to_object();
    return exporter::run_export(*commands, request, target);
}

// The C library's number formatting set to a decimal comma, as the GUI
// toolkit sets it from a German environment, where the system has the locale.
class GermanNumbers {
public:
    GermanNumbers() : previous_(std::setlocale(LC_NUMERIC, nullptr)) {
        active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~GermanNumbers() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    bool active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

// Every checked-in export, written as a workbook, holds the text file's
// fields as cells: numbers as numbers with the text's value and decimals.
TEST(Workbook, EveryExpectedExportHasTheTextFilesFieldsAsCells) {
    const GermanNumbers german;
    if (!german.active())
        std::fprintf(stderr, "de_DE.UTF-8 not installed: the locale's part is not tried\n");
    fakes::TempDir dir;
    std::vector<std::string> arguments{"cells"};
    for (const fakes::ExportCase& c : fakes::export_cases) {
        fakes::SimConnector host;
        const host::Object program =
            active_program(host, fakes::examples_folder() / c.part_program);
        const auto request =
            fakes::request_for(c, host::list_feature_ids(program, host::NumberTexts(c.separator)));
        const auto target = dir / (std::string(c.name) + ".xlsx");
        const ExportResult result = export_to(program, request, target);
        ASSERT_EQ(result.status, ExportResult::Status::Written) << c.name;
        EXPECT_EQ(result.unread_values, c.unread) << c.name;
        arguments.insert(
            arguments.end(),
            {c.separator, fakes::expected_file(KASTREL_SOURCE_DIR, c).string(), target.string()});
    }
    EXPECT_EQ(fakes::check_workbooks(KASTREL_SOURCE_DIR, arguments), "");
    // Nothing but the workbooks: no temporary file of the run or the library.
    EXPECT_EQ(dir.file_count(), fakes::export_cases.size());
}

// A feature with 12 hits in three lobes (r = 10 + 0.05 cos 3t) in the XZ
// plane, written twice; one whose TheoDiam cannot be read; one with two hits;
// one with three hits of which one has an unread coordinate. Every hit's
// nominal is the origin, as a host that gives the feature's nominal centre.
std::string roundness_program() {
    std::string lobed;
    std::string plain;
    for (int k = 0; k < 12; ++k) {
        const double t = 2 * std::numbers::pi * k / 12;
        const double r = 10 + 0.05 * std::cos(3 * t);
        char point[160];
        std::snprintf(point, sizeof point,
                      "{\"actual\": [%.17g, 1.5, %.17g], \"nominal\": [0, 0, 0]},",
                      30 + r * std::cos(t), -20 + r * std::sin(t));
        lobed += point;
        std::snprintf(point, sizeof point,
                      "{\"actual\": [%.17g, 0, %.17g], \"nominal\": [0, 0, 0]},", 5 * std::cos(t),
                      5 * std::sin(t));
        plain += point;
    }
    lobed.pop_back();
    plain.pop_back();
    const std::string two =
        R"({"actual": [1, 0, 0], "nominal": [0, 0, 0]}, {"actual": [0, 0, 1], "nominal": [0, 0, 0]})";
    return R"({"commands": [
        {"type": "feature", "id": "KRS1", "theoDiam": 20, "hits": [)" +
           lobed + R"(]},
        {"type": "feature", "id": "KRS2", "theoDiam": 10, "fail": ["TheoDiam"], "hits": [)" +
           plain + R"(]},
        {"type": "feature", "id": "KRS3", "theoDiam": 4, "hits": [)" +
           two + R"(]},
        {"type": "feature", "id": "KRS4", "theoDiam": 4, "hits": [)" +
           two + R"(, {"actual": [-1, 0, 0], "nominal": [0, 0, 0], "fail": ["actual.Z"]}]}]})";
}

TEST(Workbook, RoundnessSheetHasARowPerWrittenBlockAndAChartPerCircle) {
    fakes::TempDir dir;
    fakes::write_file(dir / "rund.json", roundness_program());
    fakes::write_file(dir / "expected.json", R"json({
        "rows": [
            ["KRS1", "XZ", 12, 30, -20, 20, 20, 0, 0.1, 0, 0, 30, -20, 72.111025509],
            ["KRS1", "XZ", 12, 30, -20, 20, 20, 0, 0.1, 0, 0, 30, -20, 72.111025509],
            ["KRS2", "XZ", 12, 0, 0, 10, null, null, 0, 0, 0, 0, 0, 0],
            ["KRS3", "XZ", 2, null, null, null, null, null, null, null, null, null, null, null],
            ["KRS4", "XZ", 2, null, null, null, null, null, null, null, null, null, null, null]],
        "charts": [
            "KRS1 – Rundheit 0,1000 mm (Vergrößerung 50:1)",
            "KRS1 – Rundheit 0,1000 mm (Vergrößerung 50:1)",
            "KRS2 – Rundheit 0,0000 mm (Vergrößerung 1:1)"]})json");
    fakes::SimConnector host;
    const host::Object program = active_program(host, dir / "rund.json");
    exporter::ExportRequest request;
    request.entries = {"KRS1", "KRS1", "KRS2", "KRS3", "KRS4"};
    request.selected.assign(request.entries.size(), true);
    request.option = exporter::OutputOption::Option1;
    request.planes = {false, true, false};
    const ExportResult result = export_to(program, request, dir / "rund.xlsx");
    ASSERT_EQ(result.status, ExportResult::Status::Written);
    EXPECT_EQ(fakes::check_workbooks(KASTREL_SOURCE_DIR, {"roundness", (dir / "rund.xlsx").string(),
                                                          (dir / "expected.json").string()}),
              "");
}

// IDs the bus cannot carry but COM can: every part stays well-formed XML,
// the cells hold the IDs in Excel's _xHHHH_ form, the charts' titles hold
// U+FFFD for what XML cannot hold; a literal _xHHHH_ stays a text.
TEST(Workbook, IdsWithCharactersXmlCannotHoldLeaveEveryPartWellFormed) {
    fakes::TempDir dir;
    const std::string ids = R"(["K\u0000X", "K\ufffeX", "K\uffffX", "K_x0041_X"])";
    std::string commands;
    for (const char* id : {"K\\u0000X", "K\\ufffeX", "K\\uffffX", "K_x0041_X"})
        commands += std::string(commands.empty() ? "" : ",") + R"({"type": "feature", "id": ")" +
                    id + R"(", "theoDiam": 2, "hits": [
                        {"actual": [1, 0, 0], "nominal": [1, 0, 0]},
                        {"actual": [0, 1, 0], "nominal": [0, 1, 0]},
                        {"actual": [-1, 0, 0], "nominal": [-1, 0, 0]}]})";
    fakes::write_file(dir / "ids.json", ids);
    fakes::write_file(dir / "teileprogramm.json", R"({"commands": [)" + commands + "]}");
    fakes::SimConnector host;
    const host::Object program = active_program(host, dir / "teileprogramm.json");
    exporter::ExportRequest request;
    request.entries = host::list_feature_ids(program, host::NumberTexts(","));
    ASSERT_EQ(request.entries.size(), 4u);
    request.selected.assign(request.entries.size(), true);
    request.planes.xy = true;
    const ExportResult result = export_to(program, request, dir / "ids.xlsx");
    ASSERT_EQ(result.status, ExportResult::Status::Written);
    EXPECT_EQ(fakes::check_workbooks(KASTREL_SOURCE_DIR, {"wellformed", (dir / "ids.xlsx").string(),
                                                          (dir / "ids.json").string()}),
              "");
}

exporter::ExportRequest selecting(const std::string& id) {
    exporter::ExportRequest request;
    request.entries = {id};
    request.selected = {true};
    return request;
}

// The file failures below leave "alt.xlsx" as it was, and nothing beside it.
void expect_only_the_old_target(const fakes::TempDir& dir) {
    EXPECT_EQ(fakes::read_file(dir / "alt.xlsx"), "alt");
    EXPECT_EQ(dir.file_count(), 1u);
}

// A read-only workbook is refused as a read-only text file is.
TEST(Workbook, AReadOnlyTargetIsRefusedAndKeptAsItWas) {
    fakes::TempDir dir;
    const std::string report = fakes::as_unprivileged_user(dir, [&] {
        fakes::write_file(dir / "alt.xlsx", "alt");
        ::chmod((dir / "alt.xlsx").c_str(), 0444);
        fakes::SimConnector host;
        const host::Object program =
            active_program(host, fakes::examples_folder() / "bolt_circle_8.json");
        const ExportResult result = export_to(program, selecting("LK1"), dir / "alt.xlsx");
        if (result.status != ExportResult::Status::FileFailed ||
            result.file_failure.kind != exporter::FileFailure::Kind::ReadOnly)
            return std::string("not refused as read-only");
        return std::string();
    });
    EXPECT_EQ(report, "");
    expect_only_the_old_target(dir);
}

// The library's failure (here: its files cannot grow, as on a full disk) is
// a file failure.
TEST(Workbook, TheLibrarysFailureIsAFileFailureAndTheTargetStays) {
    fakes::TempDir dir;
    fakes::write_file(dir / "alt.xlsx", "alt");
    fakes::SimConnector host;
    const host::Object program = active_program(host, fakes::examples_folder() / "hits_600.json");
    ExportResult result;
    {
        const fakes::FileSizeLimit full(4096);
        result = export_to(program, selecting("SCAN1"), dir / "alt.xlsx");
    }
    EXPECT_EQ(result.status, ExportResult::Status::FileFailed);
    EXPECT_EQ(result.file_failure.kind, exporter::FileFailure::Kind::Workbook);
    expect_only_the_old_target(dir);
}

// Past the sheet's last row the run ends as a file failure, nothing of the
// workbook left.
TEST(Workbook, MoreRowsThanASheetHoldsIsAFileFailure) {
    fakes::TempDir dir;
    fakes::write_file(dir / "alt.xlsx", "alt");
    exporter::ExportRequest request;
    try {
        exporter::ExportFile file(dir / "alt.xlsx");
        exporter::WorkbookOutput output(file, request);
        const exporter::OutputLine empty;
        for (int row = 0; row < 1'048'576; ++row)
            output.write_line(empty);
        output.write_line(empty);
        ADD_FAILURE() << "row 1,048,577 was taken";
    } catch (const exporter::FileError& error) {
        EXPECT_EQ(error.failure().kind, exporter::FileFailure::Kind::TooManyRows);
    }
    expect_only_the_old_target(dir);
}

} // namespace
