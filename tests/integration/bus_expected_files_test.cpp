// The checked-in listings and export files, byte for byte, through the stand-in
// host over the bus: the same values as in process, carried by the wire.

#include "export/export_run.h"
#include "host/dbus/dbus_connector.h"
#include "host/feature_listing.h"
#include "tests/integration/sim_process.h"
#include "tests/integration/through_the_bus.h"
#include "tests/support/export_cases.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <map>

using namespace kastrel;

namespace {

host::Object active_program(host::HostConnector& connector) {
    return connector.create_object(host::application_class)->get("ActivePartProgram").to_object();
}

// Checks every case against the active part program of a stand-in serving
// its file; one stand-in per file serves all of its cases.
template <typename Case, std::size_t N, typename Check>
void check_each(const std::array<Case, N>& cases, Check check) {
    std::map<std::string, std::vector<Case>> by_program;
    for (const Case& c : cases)
        by_program[c.part_program].push_back(c);
    for (const auto& [file, program_cases] : by_program) {
        fakes::SimProcess sim({"--no-window", fakes::example(file.c_str())});
        host::dbus::DbusConnector connector;
        const host::Object program = active_program(connector);
        for (const Case& c : program_cases) {
            SCOPED_TRACE(c.name);
            check(c, program, host::list_feature_ids(program, host::NumberTexts(c.separator)));
        }
    }
}

TEST(ExpectedFilesOverTheBus, EveryListingIsTheCheckedInOne) {
    if (!fakes::have_session_bus())
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    check_each(fakes::listing_cases, [](const auto& c, const host::Object&, const auto& ids) {
        EXPECT_EQ(fakes::listing_text(ids),
                  fakes::read_file(fakes::expected_file(KASTREL_SOURCE_DIR, c)));
    });
}

TEST(ExpectedFilesOverTheBus, EveryExportIsTheCheckedInFile) {
    if (!fakes::have_session_bus())
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    fakes::TempDir dir;
    check_each(fakes::export_cases,
               [&](const auto& c, const host::Object& program, const auto& ids) {
                   const auto target = dir / (std::string(c.name) + ".xls");
                   const auto result = exporter::run_export(*program->get("Commands").to_object(),
                                                            fakes::request_for(c, ids), target);
                   ASSERT_EQ(result.status, exporter::ExportResult::Status::Written);
                   EXPECT_EQ(result.unread_values, c.unread);
                   EXPECT_EQ(fakes::read_file(target),
                             fakes::read_file(fakes::expected_file(KASTREL_SOURCE_DIR, c)));
               });
}

} // namespace
