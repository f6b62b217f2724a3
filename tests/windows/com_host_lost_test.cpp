// Every code by which a COM call tells that the server is gone ends the
// export at once, with the target untouched and the host-lost message; a
// failure that means something else leaves an incomplete file.

#include "tests/support/window_run.h"
#include "tests/windows/com_test.h"
#include "tests/windows/server_process.h"

namespace kastrel::wintest {
namespace {

constexpr const char* program_file = "bolt_circle_8.json";

std::string code_name(const ::testing::TestParamInfo<const char*>& info) {
    return info.param;
}

struct FailingFromTheSecondHit : ComTest, ::testing::WithParamInterface<const char*> {
    fakes::FakeView view;
    fakes::TempDir dir;

    // Lists, then exports over an existing file while the server returns the
    // code from Invoke for every call from the second hit on.
    std::filesystem::path export_over_existing_file() {
        ServerProcess server({"--fail-from-call",
                              std::to_string(fakes::call_position(program_file, "GetHit(&2,")),
                              "--fail-with", GetParam(), example(program_file)});
        EXPECT_TRUE(server.ready());
        app::FrmPoints form(view, connector_);
        const auto target = dir / "alt.xls";
        fakes::list_and_export_over(form, view, target);
        EXPECT_EQ(view.entries, (std::vector<std::string>{"LK1"}));
        return target;
    }
};

using LostHost = FailingFromTheSecondHit;

TEST_P(LostHost, EndsTheExportAtOnceAndLeavesTheTargetUntouched) {
    const auto target = export_over_existing_file();
    fakes::expect_host_lost_and_target_untouched(view, dir, target);
}

// RPC_S_SERVER_UNAVAILABLE, RPC_S_CALL_FAILED, RPC_S_CALL_FAILED_DNE,
// RPC_E_SERVER_DIED, RPC_E_SERVER_DIED_DNE, CO_E_OBJNOTCONNECTED, RPC_E_DISCONNECTED.
INSTANTIATE_TEST_SUITE_P(Codes, LostHost,
                         ::testing::Values("0x800706BA", "0x800706BE", "0x800706BF", "0x80010007",
                                           "0x80010012", "0x800401FD", "0x80010108"),
                         code_name);

using NotALostHost = FailingFromTheSecondHit;

TEST_P(NotALostHost, LeavesAnIncompleteFileThatSaysSo) {
    fakes::expect_incomplete_file(view, export_over_existing_file());
}

// E_FAIL, DISP_E_EXCEPTION without details, RPC_E_SERVERFAULT.
INSTANTIATE_TEST_SUITE_P(Codes, NotALostHost,
                         ::testing::Values("0x80004005", "0x80020009", "0x80010105"), code_name);

} // namespace
} // namespace kastrel::wintest
