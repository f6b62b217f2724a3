// Listing and export through COM and the stand-in server give what the model
// gives in process, and the checked-in export files byte for byte.

#include "app/texts/messages.h"
#include "export/export_run.h"
#include "host/feature_listing.h"
#include "tests/support/export_cases.h"
#include "tests/support/temp_dir.h"
#include "tests/windows/com_test.h"
#include "tests/windows/server_process.h"

#include <map>

namespace kastrel::wintest {
namespace {

using Ids = std::vector<std::string>;

host::Object active_program(host::HostConnector& connector) {
    return connector.create_object(host::application_class)->get("ActivePartProgram").to_object();
}

const host::NumberTexts german(",");

// The listing as the model gives it without a transport, as on Linux.
Ids model_listing(const std::string& file) {
    fakes::SimConnector model;
    model.open(fakes::examples_folder() / file);
    return host::list_feature_ids(active_program(model), german);
}

// An export through the model in process, as on Linux.
exporter::ExportResult model_export(const fakes::ExportCase& c,
                                    const std::filesystem::path& target) {
    fakes::SimConnector model;
    model.open(fakes::examples_folder() / c.part_program);
    const host::Object program = active_program(model);
    return exporter::run_export(*program->get("Commands").to_object(),
                                fakes::request_for(c, host::list_feature_ids(program, german)),
                                target);
}

// Failing GetHit calls and unreadable values are counted, not written, the
// same through COM as in process.
const fakes::ExportCase failing_hits{
    "failures", "failures.json", exporter::OutputOption::Option4, {true, false, false}, ","};

using ComListing = ComTest;

TEST_F(ComListing, EveryListingIsTheCheckedInOne) {
    for (const auto& c : fakes::listing_cases) {
        SCOPED_TRACE(c.name);
        ServerProcess server({"--no-window", example(c.part_program)});
        ASSERT_TRUE(server.ready());
        const Ids ids =
            host::list_feature_ids(active_program(connector_), host::NumberTexts(c.separator));
        EXPECT_EQ(fakes::listing_text(ids),
                  fakes::read_file(fakes::expected_file(KASTREL_SOURCE_DIR, c)));
    }
}

using ComListingAndExport = EveryDeclaration;
KASTREL_FOR_EVERY_DECLARATION(ComListingAndExport);

// One server per sample program serves its listing and all of its exports:
// the listing is the model's, each case writes its checked-in file.
TEST_P(ComListingAndExport, SampleProgramsListAndExportAsTheModelAndTheCheckedInFiles) {
    // A few spelled out, so a fault shared by model and server shows too.
    const std::map<std::string, Ids> known = {
        {"bolt_circle_8.json", {"LK1"}},
        {"same_id_twice.json", {"BOHR1", "BOHR1"}},
        {"empty_id.json", {"KRS1", "KRS3"}},
        {"failures.json", {"OK1", "FAIL1", "NH1", "42", "F1", "F2"}},
    };
    std::map<std::string, std::vector<fakes::ExportCase>> by_program;
    for (const auto& c : fakes::export_cases)
        by_program[c.part_program].push_back(c);
    fakes::TempDir dir;
    std::size_t files = 0;
    std::size_t exported = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fakes::examples_folder())) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".json")
            continue;
        SCOPED_TRACE(name);
        ++files;
        ServerProcess server(server_args({example(name)}));
        ASSERT_TRUE(server.ready());
        const host::Object program = active_program(connector_);
        const Ids listed = host::list_feature_ids(program, german);
        EXPECT_EQ(listed, model_listing(name));
        if (const auto it = known.find(name); it != known.end()) {
            EXPECT_EQ(listed, it->second);
        }

        for (const auto& c : by_program[name]) {
            SCOPED_TRACE(c.name);
            ++exported;
            const host::Object commands = program->get("Commands").to_object();
            const auto target = dir / (std::string(c.name) + ".xls");
            const Ids ids = host::list_feature_ids(program, host::NumberTexts(c.separator));
            const auto result = exporter::run_export(*commands, fakes::request_for(c, ids), target);
            ASSERT_EQ(result.status, exporter::ExportResult::Status::Written)
                << app::export_outcome_text(result, target.string());
            EXPECT_EQ(result.unread_values, c.unread);
            const auto expected = fakes::expected_file(KASTREL_SOURCE_DIR, c);
            ASSERT_TRUE(std::filesystem::exists(expected)) << expected;
            EXPECT_EQ(fakes::read_file(target), fakes::read_file(expected));
        }

        if (name == failing_hits.part_program) {
            const auto result =
                exporter::run_export(*program->get("Commands").to_object(),
                                     fakes::request_for(failing_hits, listed), dir / "c.xls");
            const auto model_result = model_export(failing_hits, dir / "m.xls");
            ASSERT_EQ(result.status, exporter::ExportResult::Status::Written);
            EXPECT_GT(result.unread_values, 0);
            EXPECT_EQ(result.unread_values, model_result.unread_values);
            EXPECT_EQ(fakes::read_file(dir / "c.xls"), fakes::read_file(dir / "m.xls"));
        }
    }
    EXPECT_GE(files, 9u);
    EXPECT_EQ(exported, fakes::export_cases.size());
}

} // namespace
} // namespace kastrel::wintest
