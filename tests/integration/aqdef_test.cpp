// The AQDEF file for an SPC system, read back by our own reader
// (tests/support/aqdef_check.py) after runs against the stand-in's model.

#include "export/export_run.h"
#include "host/feature_listing.h"
#include "tests/support/aqdef_checker.h"
#include "tests/support/sim_connector.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

using namespace kastrel;
using exporter::ExportResult;

namespace {

// Every selected entry of `ids`, in the XY plane.
exporter::ExportRequest all_of(const std::vector<std::string>& ids) {
    exporter::ExportRequest request;
    request.entries = ids;
    request.selected.assign(ids.size(), true);
    request.planes = {true, false, false};
    return request;
}

ExportResult export_to(fakes::SimConnector& host, const exporter::ExportRequest& request,
                       const std::filesystem::path& target) {
    const host::Object commands = host.create_object(host::application_class)
                                      ->get("ActivePartProgram")
                                      .to_object()
                                      ->get("Commands")
                                      .to_object();
    return exporter::run_export(*commands, request, target);
}

std::vector<std::string> listed(fakes::SimConnector& host) {
    return host::list_feature_ids(
        host.create_object(host::application_class)->get("ActivePartProgram").to_object(),
        host::NumberTexts(","));
}

std::size_t value_lines(const std::string& file) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < file.size();) {
        count += file[at] != 'K' ? 1 : 0;
        const std::size_t end = file.find('\n', at);
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return count;
}

// The checked-in file is what Kastrel.exe writes under Wine, too.
TEST(Aqdef, TheSampleIsTheCheckedInFile) {
    fakes::TempDir dir;
    fakes::SimConnector host;
    host.open(fakes::examples_folder() / "roundness.json");
    const ExportResult result = export_to(host, all_of(listed(host)), dir / "roundness.dfq");
    ASSERT_EQ(result.status, ExportResult::Status::Written);
    EXPECT_EQ(fakes::check_aqdef(KASTREL_SOURCE_DIR, {"same", (dir / "roundness.dfq").string(),
                                                      std::string(KASTREL_SOURCE_DIR) +
                                                          "/tests/data/expected/roundness.dfq"}),
              "");
}

// A run adds its line after everything already there; a run that would
// describe other characteristics, or has none to describe, leaves the file
// as it was. An emptied file (as an upload service leaves it) begins anew.
TEST(Aqdef, EachRunContinuesTheFileThatDescribesItsCharacteristicsAndNoOther) {
    fakes::TempDir dir;
    fakes::SimConnector host;
    host.open(fakes::examples_folder() / "roundness.json");
    const std::vector<std::string> ids = listed(host);
    const auto target = dir / "Flansch.DFQ";

    ASSERT_EQ(export_to(host, all_of(ids), target).status, ExportResult::Status::Written);
    const std::string first = fakes::read_file(target);
    ASSERT_EQ(export_to(host, all_of(ids), target).status, ExportResult::Status::Written);
    const std::string second = fakes::read_file(target);
    EXPECT_TRUE(second.starts_with(first));
    EXPECT_EQ(value_lines(first), 1u);
    EXPECT_EQ(value_lines(second), 2u);
    EXPECT_EQ(fakes::check_aqdef(KASTREL_SOURCE_DIR, {"same", target.string(), target.string()}),
              "");

    exporter::ExportRequest fewer = all_of(ids);
    fewer.selected[0] = false;
    EXPECT_EQ(export_to(host, fewer, target).status, ExportResult::Status::OtherCharacteristics);
    exporter::ExportRequest other_part = all_of(ids);
    other_part.part_number = "Welle";
    EXPECT_EQ(export_to(host, other_part, target).status,
              ExportResult::Status::OtherCharacteristics);
    exporter::ExportRequest none = all_of(ids);
    none.selected.assign(ids.size(), false);
    EXPECT_EQ(export_to(host, none, target).status, ExportResult::Status::NothingEvaluated);
    EXPECT_EQ(fakes::read_file(target), second);
    EXPECT_EQ(dir.file_count(), 1u);

    fakes::write_file(dir / "fremd.dfq", "K0100 15\r\nnicht von uns\r\n");
    EXPECT_EQ(export_to(host, all_of(ids), dir / "fremd.dfq").status,
              ExportResult::Status::OtherCharacteristics);
    EXPECT_EQ(fakes::read_file(dir / "fremd.dfq"), "K0100 15\r\nnicht von uns\r\n");

    fakes::write_file(target, "");
    ASSERT_EQ(export_to(host, all_of(ids), target).status, ExportResult::Status::Written);
    EXPECT_EQ(value_lines(fakes::read_file(target)), 1u);
    EXPECT_EQ(dir.file_count(), 2u);
}

// An exact circle about (3, 4) whose nominal centre is (3, 4.5); the same ID
// again with two hits, which define no circle. The ID and the part number
// hold characters of Windows-1252 beyond ASCII and one it lacks.
TEST(Aqdef, TextsArriveInWindows1252AndAValueWithoutCircleHasAttribute255) {
    fakes::TempDir dir;
    fakes::SimConnector host;
    const std::string id = "Bohrung-üØ€→";
    host.open(
        {fakes::feature(id, 10,
                        {fakes::hit({8, 4, 0}, {8, 4.5, 0}), fakes::hit({3, 9, 0}, {3, 9.5, 0}),
                         fakes::hit({-2, 4, 0}, {-2, 4.5, 0}),
                         fakes::hit({3, -1, 0}, {3, -0.5, 0})}),
         fakes::feature(id, 10,
                        {fakes::hit({8, 4, 0}, {8, 4.5, 0}), fakes::hit({3, 9, 0}, {3, 9.5, 0})})});
    exporter::ExportRequest request = all_of({id});
    request.part_number = "Flansch-ä";
    ASSERT_EQ(export_to(host, request, dir / "teil.dfq").status, ExportResult::Status::Written);
    fakes::write_file(dir / "expected.json", R"json({
        "part": "Flansch-ä",
        "characteristics": [
            ["Bohrung-üØ€?.D", "Bohrung-üØ€? Durchmesser", 10],
            ["Bohrung-üØ€?.RON", "Bohrung-üØ€? Rundheit", 0],
            ["Bohrung-üØ€?.X", "Bohrung-üØ€? Versatz X", 0],
            ["Bohrung-üØ€?.Y", "Bohrung-üØ€? Versatz Y", 0],
            ["Bohrung-üØ€?.POS", "Bohrung-üØ€? Position", 0],
            ["Bohrung-üØ€?#2.D", "Bohrung-üØ€? Durchmesser", 10],
            ["Bohrung-üØ€?#2.RON", "Bohrung-üØ€? Rundheit", 0],
            ["Bohrung-üØ€?#2.X", "Bohrung-üØ€? Versatz X", 0],
            ["Bohrung-üØ€?#2.Y", "Bohrung-üØ€? Versatz Y", 0],
            ["Bohrung-üØ€?#2.POS", "Bohrung-üØ€? Position", 0]],
        "values": [[[10, 0], [0, 0], [0, 0], [-0.5, 0], [1, 0],
                    [null, 255], [null, 255], [null, 255], [null, 255], [null, 255]]]})json");
    EXPECT_EQ(fakes::check_aqdef(KASTREL_SOURCE_DIR, {"read", (dir / "teil.dfq").string(),
                                                      (dir / "expected.json").string()}),
              "");
}

} // namespace
