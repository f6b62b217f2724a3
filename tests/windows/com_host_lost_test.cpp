// Every code by which a COM call tells that the server is gone, or that the
// object called was disconnected as its part program was closed, ends the
// export at once, with the target untouched and the message that says which;
// a failure that means something else leaves an incomplete file.

#include "tests/support/window_run.h"
#include "tests/windows/com_test.h"
#include "tests/windows/server_process.h"

namespace kastrel::wintest {
namespace {

std::string code_name(const ::testing::TestParamInfo<const char*>& info) {
    return info.param;
}

struct FailingFromTheSecondHit : ComTest, ::testing::WithParamInterface<const char*> {
    fakes::FakeView view;
    fakes::TempDir dir;

    // Lists, then exports over an existing file while the server returns the
    // code from Invoke for every call from the second hit on.
    std::filesystem::path export_over_existing_file() {
        ServerProcess server(
            fakes::failing_from_second_hit(GetParam(), example(fakes::second_hit_program)));
        EXPECT_TRUE(server.ready());
        app::FrmPoints form(view, connector_);
        return fakes::export_failing_from_second_hit(form, view, dir);
    }
};

using LostHost = FailingFromTheSecondHit;

TEST_P(LostHost, EndsTheExportAtOnceAndLeavesTheTargetUntouched) {
    const auto target = export_over_existing_file();
    fakes::expect_host_lost_and_target_untouched(view, dir, target,
                                                 fakes::says_program_closed(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Codes, LostHost, ::testing::ValuesIn(fakes::host_lost_codes), code_name);

using NotALostHost = FailingFromTheSecondHit;

TEST_P(NotALostHost, LeavesAnIncompleteFileThatSaysSo) {
    fakes::expect_incomplete_file(view, export_over_existing_file());
}

// E_FAIL, DISP_E_EXCEPTION without details, RPC_E_SERVERFAULT.
INSTANTIATE_TEST_SUITE_P(Codes, NotALostHost,
                         ::testing::Values("0x80004005", "0x80020009", "0x80010105"), code_name);

// The part program closed in the server as the export reads its second hit:
// its objects answer RPC_E_DISCONNECTED from then on.
TEST_F(ComTest, APartProgramClosedMidExportLeavesTheTargetUntouched) {
    fakes::FakeView view;
    fakes::TempDir dir;
    ServerProcess server(
        {"--close-program-at-call",
         std::to_string(fakes::call_position(fakes::second_hit_program, "GetHit(&2,")),
         example(fakes::second_hit_program)});
    ASSERT_TRUE(server.ready());
    app::FrmPoints form(view, connector_);
    const auto target = fakes::export_failing_from_second_hit(form, view, dir);
    fakes::expect_host_lost_and_target_untouched(view, dir, target, true);
}

} // namespace
} // namespace kastrel::wintest
