#pragma once

#include "app/main_window/frm_points.h"
#include "tests/support/fake_view.h"
#include "tests/support/sim_connector.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kastrel::fakes {

// The window lists, selects every entry and exports over `target`, which
// holds "vorher" before.
inline void list_and_export_over(app::FrmPoints& form, FakeView& view,
                                 const std::filesystem::path& target) {
    form.Form_Load();
    form.cmd_lesen_Click();
    form.cmd_allemarkieren_Click();
    write_file(target, "vorher");
    const std::u8string name = target.u8string();
    view.save_answers = {std::string(name.begin(), name.end())};
    form.cmd_schreiben_Click();
}

// Where the window's listing and export of a sample part program make the
// first call containing `what`, counted as the stand-ins count their calls:
// the model in process makes the same calls as the window through a transport.
inline std::size_t call_position(const char* part_program, const std::string& what) {
    SimConnector model;
    model.open(examples_folder() / part_program);
    FakeView view;
    app::FrmPoints form(view, model);
    TempDir dir;
    list_and_export_over(form, view, dir / "model.xls");
    const auto it = std::find_if(model.calls.begin(), model.calls.end(), [&](const auto& line) {
        return line.find(what) != std::string::npos;
    });
    return static_cast<std::size_t>(it - model.calls.begin());
}

// The part program of the exports whose host fails from their second hit on.
inline constexpr const char* second_hit_program = "bolt_circle_8.json";

// The stand-in's arguments for such an export: every call from the second
// hit on fails with `failure`. `program` is the part program's path as the
// stand-in takes it.
inline std::vector<std::string> failing_from_second_hit(const std::string& failure,
                                                        const std::string& program) {
    return {"--fail-from-call", std::to_string(call_position(second_hit_program, "GetHit(&2,")),
            "--fail-with", failure, program};
}

// Lists, then exports over "alt.xls" in `dir`, against a stand-in started
// with those arguments: the listing has gone through. Returns the target.
inline std::filesystem::path export_failing_from_second_hit(app::FrmPoints& form, FakeView& view,
                                                            const TempDir& dir) {
    const auto target = dir / "alt.xls";
    list_and_export_over(form, view, target);
    EXPECT_EQ(view.entries, (std::vector<std::string>{"LK1"}));
    return target;
}

// The platform's codes by which a call tells that the server is gone, as both
// stand-ins take them: RPC_S_SERVER_UNAVAILABLE, RPC_S_CALL_FAILED,
// RPC_S_CALL_FAILED_DNE, RPC_E_SERVER_DIED, RPC_E_SERVER_DIED_DNE,
// CO_E_OBJNOTCONNECTED, RPC_E_DISCONNECTED.
inline constexpr std::array<const char*, 7> host_lost_codes = {
    "0x800706BA", "0x800706BE", "0x800706BF", "0x80010007",
    "0x80010012", "0x800401FD", "0x80010108"};

// What the user is told when the host was lost during an export to `file`.
inline std::string export_host_lost_text(const std::string& file) {
    return "Vormesa antwortet nicht mehr.\nDie Ausgabe ist unvollständig und wurde nicht "
           "gespeichert; die Datei \"" +
           file + "\" ist unverändert.";
}

// The same when the part program was closed in the host during the export.
inline std::string export_program_closed_text(const std::string& file) {
    return "Das Teileprogramm wurde in Vormesa geschlossen.\nDie Ausgabe ist unvollständig und "
           "wurde nicht gespeichert; die Datei \"" +
           file + "\" ist unverändert.";
}

// Whether one of host_lost_codes says the object called was disconnected:
// CO_E_OBJNOTCONNECTED, RPC_E_DISCONNECTED.
inline bool says_program_closed(const std::string& code) {
    return code == "0x800401FD" || code == "0x80010108";
}

// After an export that lost the host, or whose part program was closed: only
// that message, the target as it was and nothing left beside it, the window
// still open.
inline void expect_host_lost_and_target_untouched(const FakeView& view, const TempDir& dir,
                                                  const std::filesystem::path& target,
                                                  bool program_closed = false) {
    const std::u8string name = target.u8string();
    const std::string file(name.begin(), name.end());
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{program_closed ? export_program_closed_text(file)
                                                       : export_host_lost_text(file)}));
    EXPECT_EQ(read_file(target), "vorher");
    EXPECT_EQ(dir.file_count(), 1u);
    EXPECT_FALSE(view.ended);
}

// After an export whose host failed some other way: a file written over the
// target, and one message saying it is incomplete.
inline void expect_incomplete_file(const FakeView& view, const std::filesystem::path& target) {
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("unvollständig: "), std::string::npos) << view.messages[0];
    EXPECT_NE(read_file(target), "vorher");
}

} // namespace kastrel::fakes
