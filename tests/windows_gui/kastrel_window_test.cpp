// Kastrel.exe driven from outside as a user would, against the stand-in host.

#include "app/win32/evaluation_window.h"
#include "app/win32/frm_points_layout.h"
#include "tests/support/temp_dir.h"
#include "tests/windows_gui/kastrel_session.h"
#include "tests/windows_gui/registry_override.h"

#include <array>
#include <commctrl.h>
#include <filesystem>
#include <fstream>

namespace kastrel::wintest {
namespace {

using namespace app;
using namespace app::win32;
using KastrelWindow = KastrelSession;

// The listing and export cases against each declaration of the host's type
// library (--members-as properties and methods).
class KastrelWindowWithHost : public KastrelSession,
                              public ::testing::WithParamInterface<const char*> {
protected:
    void start_host(const std::string& part_program) {
        start({"--members-as", GetParam(), example(part_program)});
    }
};
INSTANTIATE_TEST_SUITE_P(Declarations, KastrelWindowWithHost,
                         ::testing::Values("properties", "methods"),
                         [](const auto& declaration) { return std::string(declaration.param); });

constexpr const wchar_t* international = L"Control Panel\\International";

std::filesystem::path expected_file(const std::string& name) {
    return std::filesystem::path(KASTREL_SOURCE_DIR) / "tests/data/expected" / (name + ".xls");
}

// Which of Check1..3 or Option1..4 are checked.
template <std::size_t N> std::array<bool, N> checked(HWND window, Control (*numbered)(int)) {
    std::array<bool, N> states{};
    for (std::size_t i = 0; i < N; ++i)
        states[i] = is_checked(GetDlgItem(window, control_id(numbered(static_cast<int>(i) + 1))));
    return states;
}

std::array<bool, 3> planes(HWND window) {
    return checked<check_count>(window, check_control);
}

std::array<bool, 4> options(HWND window) {
    return checked<option_count>(window, option_control);
}

TEST_F(KastrelWindow, StartsInTheStateTheLoadStepLeaves) {
    ASSERT_NO_FATAL_FAILURE(start({example("bolt_circle_8.json")}));
    EXPECT_EQ(window_text(window_), kastrel_caption);
    EXPECT_TRUE(IsWindowEnabled(control(Control::cmd_lesen)));
    for (Control button : {Control::cmd_schreiben, Control::cmd_allemarkieren,
                           Control::cmd_alledemarkieren, Control::cmd_auswerten})
        EXPECT_FALSE(IsWindowEnabled(control(button))) << frm_points_form()[button].name;
    EXPECT_EQ(SendMessageW(control(Control::List1), LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(options(window_), (std::array{false, false, false, true}));
    EXPECT_EQ(planes(window_), (std::array{true, false, false}));

    const auto list_style = GetWindowLongW(control(Control::List1), GWL_STYLE);
    EXPECT_TRUE(list_style & LBS_EXTENDEDSEL);
    EXPECT_FALSE(list_style & LBS_SORT);
    const auto window_style = GetWindowLongW(window_, GWL_STYLE);
    EXPECT_TRUE(window_style & WS_THICKFRAME);
    EXPECT_TRUE(window_style & WS_MINIMIZEBOX);
    EXPECT_TRUE(window_style & WS_MAXIMIZEBOX);
}

TEST_P(KastrelWindowWithHost, ListsInHostOrderSelectsAllAndNone) {
    ASSERT_NO_FATAL_FAILURE(start_host("failures.json"));
    HWND list = control(Control::List1);
    ASSERT_NO_FATAL_FAILURE(list_features(6));
    const std::vector<std::wstring> listed = {L"OK1", L"FAIL1", L"NH1", L"42", L"F1", L"F2"};
    EXPECT_EQ(list_entries(list), listed);
    EXPECT_EQ(selected_count(list), 0);

    click(control(Control::cmd_allemarkieren));
    EXPECT_TRUE(wait_until(ui_timeout, [&] { return selected_count(list) == 6; }));
    click(control(Control::cmd_alledemarkieren));
    EXPECT_TRUE(wait_until(ui_timeout, [&] { return selected_count(list) == 0; }));

    // Reading again replaces the listing, selection and all; it does not add to it.
    SendMessageW(list, LB_SETSEL, TRUE, 0);
    click(control(Control::cmd_lesen));
    EXPECT_TRUE(wait_until(ui_timeout, [&] {
        return selected_count(list) == 0 && SendMessageW(list, LB_GETCOUNT, 0, 0) == 6;
    }));
    round_trip(window_);
    EXPECT_EQ(list_entries(list), listed);
}

// The clipboard's text, as another program pastes it.
std::wstring clipboard_text() {
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    CloseClipboard();
    return text;
}

TEST_F(KastrelWindow, AuswertungAnzeigenOpensTheWindowWithTheRows) {
    ASSERT_NO_FATAL_FAILURE(start({example("roundness.json")}));
    ASSERT_NO_FATAL_FAILURE(list_features(3));
    EXPECT_TRUE(IsWindowEnabled(control(Control::cmd_auswerten)));
    click(control(Control::cmd_allemarkieren));
    ASSERT_TRUE(
        wait_until(ui_timeout, [&] { return selected_count(control(Control::List1)) == 3; }));
    click(control(Control::cmd_auswerten));
    HWND evaluation = app_->wait_for_window(L"Auswertung", ui_timeout);
    ASSERT_NE(evaluation, nullptr);
    HWND table = find_descendant(evaluation, evaluation_table_id, nullptr);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_FALSE(IsWindowEnabled(window_));

    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    PostMessageW(evaluation, WM_COMMAND, evaluation_copy_id, 0);
    ASSERT_TRUE(wait_until(ui_timeout, [] { return !clipboard_text().empty(); }));
    // The rows of --evaluate, as shown: four decimals, the point count whole.
    std::wstring text = clipboard_text();
    for (wchar_t& c : text)
        if (c == L',')
            c = L'.';
    EXPECT_EQ(text.substr(0, text.find(L'\r')),
              L"Merkmal\tEbene\tPunkte\tMitte 1\tMitte 2\tDurchmesser\tNenndurchmesser\t"
              L"Abweichung\tRundheit\tSoll Mitte 1\tSoll Mitte 2\tVersatz 1\tVersatz 2\tPosition");
    EXPECT_NE(text.find(L"\r\nKRS3\tXY\t36\t120.4999\t80.2500\t20.0022\t20.0000\t0.0022\t"
                        L"0.0008\t120.5000\t80.2500\t-0.0001\t0.0000\t0.0001\r\n"),
              std::wstring::npos)
        << to_utf8(text);

    PostMessageW(evaluation, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(wait_until(ui_timeout, [&] { return !IsWindowVisible(evaluation); }));
    EXPECT_TRUE(wait_until(ui_timeout, [&] { return IsWindowEnabled(window_) != FALSE; }));
    EXPECT_EQ(selected_count(control(Control::List1)), 3);
}

TEST_F(KastrelWindow, TabVisitsTheControlsInTheirOrder) {
    ASSERT_NO_FATAL_FAILURE(start({example("bolt_circle_8.json")}));
    ASSERT_NO_FATAL_FAILURE(list_features(1));
    // The option group is entered at its checked button, Option4.
    const std::vector<int> expected = {control_id(Control::cmd_schreiben),
                                       control_id(Control::List1),
                                       control_id(Control::cmd_allemarkieren),
                                       control_id(Control::cmd_alledemarkieren),
                                       control_id(Control::Option4),
                                       control_id(Control::Check1),
                                       control_id(Control::Check2),
                                       control_id(Control::Check3),
                                       control_id(Control::cmd_auswerten),
                                       control_id(Control::cmd_lesen)};
    std::vector<int> visited;
    HWND at = control(Control::cmd_lesen);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        at = GetNextDlgTabItem(window_, at, FALSE);
        visited.push_back(at != nullptr ? GetDlgCtrlID(at) : 0);
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(KastrelWindow, PlaneSwitchesExcludeEachOtherAndOptionsAreOneGroup) {
    ASSERT_NO_FATAL_FAILURE(start({example("bolt_circle_8.json")}));
    struct Step {
        int check;
        std::array<bool, 3> after;
    };
    // Checking one clears the others; clearing one leaves the rest alone.
    const Step steps[] = {
        {2, {false, true, false}}, {3, {false, false, true}}, {3, {false, false, false}},
        {1, {true, false, false}}, {2, {false, true, false}}, {2, {false, false, false}},
    };
    for (const Step& step : steps) {
        click(control(check_control(step.check)));
        EXPECT_TRUE(wait_until(ui_timeout, [&] { return planes(window_) == step.after; }))
            << "after clicking Check" << step.check;
    }

    for (int option : {2, 1, 3, 4}) {
        click(control(option_control(option)));
        std::array<bool, 4> expected{};
        expected[static_cast<std::size_t>(option - 1)] = true;
        EXPECT_TRUE(wait_until(ui_timeout, [&] { return options(window_) == expected; }))
            << "after clicking Option" << option;
    }
}

// The user's decimal symbol goes into the file; the prefix's is set for each run.
TEST_P(KastrelWindowWithHost, Option4ExportWritesTheCheckedInFileAndAsksBeforeOverwriting) {
    RegistryOverride separator(international, L"sDecimal", L",");
    ASSERT_NO_FATAL_FAILURE(start_host("bolt_circle_8.json"));
    ASSERT_NO_FATAL_FAILURE(list_features(1));
    click(control(Control::cmd_allemarkieren));
    ASSERT_TRUE(
        wait_until(ui_timeout, [&] { return selected_count(control(Control::List1)) == 1; }));

    fakes::TempDir dir;
    const auto target = dir / "bolt8.xls";
    EXPECT_EQ(export_to(target.wstring(), L"", false),
              L"Alle selektierten Merkmale in Datei geschrieben");
    EXPECT_EQ(fakes::read_file(target), fakes::read_file(expected_file("bolt8_opt4_xy_de")));

    // The dialog proposes the last name (its folder opened, the name in the
    // field); the file is there, so it asks first.
    std::filesystem::remove(target);
    std::ofstream(target) << "old";
    EXPECT_EQ(export_to(target.wstring(), target.filename().wstring(), true),
              L"Alle selektierten Merkmale in Datei geschrieben");
    EXPECT_EQ(fakes::read_file(target), fakes::read_file(expected_file("bolt8_opt4_xy_de")));
}

TEST_P(KastrelWindowWithHost, Option2ExportWritesTheCheckedInFile) {
    RegistryOverride separator(international, L"sDecimal", L".");
    ASSERT_NO_FATAL_FAILURE(start_host("bolt_circle_8.json"));
    ASSERT_NO_FATAL_FAILURE(list_features(1));
    SendMessageW(control(Control::List1), LB_SETSEL, TRUE, 0);
    click(control(option_control(2)));
    ASSERT_TRUE(wait_until(ui_timeout, [&] { return is_checked(control(option_control(2))); }));

    fakes::TempDir dir;
    // A name typed without extension is used as typed.
    const auto target = dir / "bolt8_opt2";
    EXPECT_EQ(export_to(target.wstring(), L"", false),
              L"Alle selektierten Merkmale in Datei geschrieben");
    EXPECT_EQ(fakes::read_file(target), fakes::read_file(expected_file("bolt8_opt2_en")));
    EXPECT_EQ(dir.file_count(), 1u);
}

TEST_F(KastrelWindow, CancellingTheSaveDialogWritesNothingAndKeepsTheWindow) {
    ASSERT_NO_FATAL_FAILURE(start({example("bolt_circle_8.json")}));
    ASSERT_NO_FATAL_FAILURE(list_features(1));
    click(control(Control::cmd_schreiben));
    HWND dialog = wait_for_dialog(window_, app_id());
    ASSERT_NE(dialog, nullptr);
    press_dialog_button(dialog, IDCANCEL);
    ASSERT_TRUE(wait_until(ui_timeout, [&] { return !IsWindow(dialog); }));
    round_trip(window_);
    EXPECT_FALSE(has_dialog(window_, app_id()));
    EXPECT_TRUE(IsWindowEnabled(window_));
    EXPECT_TRUE(IsWindowEnabled(control(Control::cmd_schreiben)));

    // Closed by the user, the program ends normally.
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(app_->wait_for_exit(ui_timeout), std::optional<DWORD>(0));
}

TEST_F(KastrelWindow, WithoutTheHostsWindowItSaysSoAndEndsWithCode1) {
    ASSERT_NO_FATAL_FAILURE(start({"--no-window", example("bolt_circle_8.json")}));
    click(control(Control::cmd_lesen));
    EXPECT_EQ(to_utf8(answer_message_box()), "Vormesa muß gestartet werden");
    EXPECT_EQ(app_->wait_for_exit(ui_timeout), std::optional<DWORD>(1));
}

} // namespace
} // namespace kastrel::wintest
