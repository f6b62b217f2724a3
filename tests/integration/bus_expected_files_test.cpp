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

// One stand-in per part program serves all of its cases.
template <typename Case, std::size_t N>
std::map<std::string, std::vector<Case>> by_program(const std::array<Case, N>& cases) {
    std::map<std::string, std::vector<Case>> grouped;
    for (const Case& c : cases)
        grouped[c.part_program].push_back(c);
    return grouped;
}

TEST(ExpectedFilesOverTheBus, EveryListingIsTheCheckedInOne) {
    if (!fakes::have_session_bus())
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    for (const auto& [file, cases] : by_program(fakes::listing_cases)) {
        fakes::SimProcess sim({"--no-window", fakes::example(file.c_str())});
        host::dbus::DbusConnector connector;
        const host::Object program = active_program(connector);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            const auto ids = host::list_feature_ids(program, host::NumberTexts(c.separator));
            EXPECT_EQ(fakes::listing_text(ids),
                      fakes::read_file(fakes::expected_file(KASTREL_SOURCE_DIR, c)));
        }
    }
}

TEST(ExpectedFilesOverTheBus, EveryExportIsTheCheckedInFile) {
    if (!fakes::have_session_bus())
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    fakes::TempDir dir;
    for (const auto& [file, cases] : by_program(fakes::export_cases)) {
        fakes::SimProcess sim({"--no-window", fakes::example(file.c_str())});
        host::dbus::DbusConnector connector;
        const host::Object program = active_program(connector);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            const auto ids = host::list_feature_ids(program, host::NumberTexts(c.separator));
            const auto target = dir / (std::string(c.name) + ".xls");
            const auto result = exporter::run_export(*program->get("Commands").to_object(),
                                                     fakes::request_for(c, ids), target);
            ASSERT_EQ(result.status, exporter::ExportResult::Status::Written);
            EXPECT_EQ(result.unread_values, c.unread);
            EXPECT_EQ(fakes::read_file(target),
                      fakes::read_file(fakes::expected_file(KASTREL_SOURCE_DIR, c)));
        }
    }
}

} // namespace
