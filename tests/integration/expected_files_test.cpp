#include "export/export_run.h"
#include "host/feature_listing.h"
#include "tests/support/export_cases.h"
#include "tests/support/sim_connector.h"
#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace kastrel;

namespace {

// The model in process with the sample part program active.
struct ModelHost {
    explicit ModelHost(const char* part_program) {
        host.open(fakes::examples_folder() / part_program);
        program = host.create_object(host::application_class)->get("ActivePartProgram").to_object();
    }
    fakes::SimConnector host;
    host::Object program;
};

class ExpectedFiles : public ::testing::TestWithParam<fakes::ExportCase> {};

// Every checked-in export file is what the engine writes for its case, byte
// for byte. KASTREL_UPDATE_EXPECTED=1 writes them anew (to be reviewed).
TEST_P(ExpectedFiles, ExportMatchesTheCheckedInFile) {
    const fakes::ExportCase& c = GetParam();
    const ModelHost model(c.part_program);
    const host::Object& program = model.program;
    const auto request =
        fakes::request_for(c, host::list_feature_ids(program, host::NumberTexts(c.separator)));

    fakes::TempDir dir;
    const host::Object commands = program->get("Commands").to_object();
    const auto result = exporter::run_export(*commands, request, dir / "out.xls");
    ASSERT_EQ(result.status, exporter::ExportResult::Status::Written);
    EXPECT_EQ(result.unread_values, c.unread);
    const std::string written = fakes::read_file(dir / "out.xls");

    const auto expected = fakes::expected_file(KASTREL_SOURCE_DIR, c);
    if (std::getenv("KASTREL_UPDATE_EXPECTED")) {
        fakes::write_file(expected, written);
        GTEST_SKIP() << "written " << expected;
    }
    ASSERT_TRUE(std::filesystem::exists(expected)) << expected;
    EXPECT_EQ(written, fakes::read_file(expected)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ExpectedFiles, ::testing::ValuesIn(fakes::export_cases),
                         [](const auto& test) { return std::string(test.param.name); });

class ExpectedListings : public ::testing::TestWithParam<fakes::ListingCase> {};

TEST_P(ExpectedListings, ListingMatchesTheCheckedInFile) {
    const fakes::ListingCase& c = GetParam();
    const ModelHost model(c.part_program);
    const auto ids = host::list_feature_ids(model.program, host::NumberTexts(c.separator));
    EXPECT_EQ(fakes::listing_text(ids),
              fakes::read_file(fakes::expected_file(KASTREL_SOURCE_DIR, c)));
}

INSTANTIATE_TEST_SUITE_P(Cases, ExpectedListings, ::testing::ValuesIn(fakes::listing_cases),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
