#include "export/export_run.h"
#include "host/feature_listing.h"
#include "tests/support/export_cases.h"
#include "tests/support/sim_connector.h"
#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace kastrel;

namespace {

std::filesystem::path expected_file(const fakes::ExportCase& c) {
    return std::filesystem::path(KASTREL_SOURCE_DIR) / "tests/data/expected" /
           (std::string(c.name) + ".xls");
}

exporter::ExportRequest request_for(const fakes::ExportCase& c, std::vector<std::string> ids) {
    exporter::ExportRequest request;
    request.entries = std::move(ids);
    if (c.selection == fakes::Selection::Twice) {
        const auto once = request.entries;
        request.entries.insert(request.entries.end(), once.begin(), once.end());
    }
    request.selected.assign(request.entries.size(), c.selection != fakes::Selection::None);
    request.option = c.option;
    request.planes = c.planes;
    request.decimal_separator = c.separator;
    return request;
}

class ExpectedFiles : public ::testing::TestWithParam<fakes::ExportCase> {};

// Every checked-in export file is what the engine writes for its case, byte
// for byte. KASTREL_UPDATE_EXPECTED=1 writes them anew (to be reviewed).
TEST_P(ExpectedFiles, ExportMatchesTheCheckedInFile) {
    const fakes::ExportCase& c = GetParam();
    fakes::SimConnector host;
    host.open(fakes::examples_folder() / c.part_program);
    const host::Object program =
        host.create_object(host::application_class)->get("ActivePartProgram").to_object();
    const auto request = request_for(c, host::list_feature_ids(program));

    fakes::TempDir dir;
    const host::Object commands = program->get("Commands").to_object();
    const auto result = exporter::run_export(*commands, request, dir / "out.xls");
    ASSERT_EQ(result.status, exporter::ExportResult::Status::Written);
    EXPECT_EQ(result.unread_values, 0);
    const std::string written = fakes::read_file(dir / "out.xls");

    if (std::getenv("KASTREL_UPDATE_EXPECTED")) {
        fakes::write_file(expected_file(c), written);
        GTEST_SKIP() << "written " << expected_file(c);
    }
    ASSERT_TRUE(std::filesystem::exists(expected_file(c))) << expected_file(c);
    EXPECT_EQ(written, fakes::read_file(expected_file(c))) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ExpectedFiles, ::testing::ValuesIn(fakes::export_cases),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
