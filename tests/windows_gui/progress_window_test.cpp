// Long runs through the real windows: the progress window, cancel, a hung and
// a busy host.

#include "app/win32/progress_window.h"
#include "tests/support/temp_dir.h"
#include "tests/windows_gui/kastrel_session.h"
#include "tests/windows_gui/registry_override.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kastrel::wintest {
namespace {

using app::Control;
using app::win32::ProgressWindow;
using Clock = std::chrono::steady_clock;

struct LongRun : KastrelSession {
    HWND progress() const {
        for (HWND window : top_level_windows(app_id()))
            if (class_name(window) == L"KastrelProgress" && IsWindowVisible(window))
                return window;
        return nullptr;
    }
    HWND wait_for_progress() const {
        HWND found = nullptr;
        if (!wait_until(ui_timeout, [&] { return (found = progress()) != nullptr; }))
            for (HWND window : top_level_windows(app_id()))
                ADD_FAILURE() << "only " << to_utf8(class_name(window)) << " \""
                              << to_utf8(window_text(window)) << "\""
                              << (IsWindowVisible(window) ? " (visible)" : "");
        return found;
    }
    static std::string line(HWND window) {
        return to_utf8(window_text(GetDlgItem(window, ProgressWindow::line_id)));
    }
    // Escape as the user presses it; how long until the window has gone.
    std::chrono::milliseconds cancel(HWND window) const {
        HWND button = GetDlgItem(window, ProgressWindow::cancel_id);
        const auto pressed = Clock::now();
        PostMessageW(button, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(button, WM_KEYUP, VK_ESCAPE, 0);
        EXPECT_TRUE(wait_until(ui_timeout, [&] { return !IsWindow(window); }));
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - pressed);
    }
    // Starts the stand-in with `server_args`, lists and selects its one
    // feature and exports it to `target` (an existing one `overwrite`s): the
    // progress window, once it shows.
    HWND export_with_progress(const std::vector<std::string>& server_args,
                              const std::filesystem::path& target, bool overwrite = false) {
        start(server_args);
        if (testing::Test::HasFatalFailure())
            return nullptr;
        list_features(1);
        if (testing::Test::HasFatalFailure())
            return nullptr;
        SendMessageW(control(Control::List1), LB_SETSEL, TRUE, 0);
        if (!choose_export_file(target.wstring(), L"", overwrite))
            return nullptr;
        return wait_for_progress();
    }
    static std::string cancelled_text(const std::filesystem::path& target) {
        return "Ausgabe abgebrochen. Die Datei \"" + to_utf8(target.wstring()) +
               "\" ist unverändert.";
    }
};

std::filesystem::path expected_file(const std::string& name) {
    return std::filesystem::path(KASTREL_SOURCE_DIR) / "tests/data/expected" / (name + ".xls");
}

constexpr const wchar_t* international = L"Control Panel\\International";

TEST_F(LongRun, SlowExportShowsItsProgressAndEscapeLeavesNoFile) {
    fakes::TempDir dir;
    const auto target = dir / "langsam.xls";
    HWND window = export_with_progress({"--call-delay-ms", "1", example("hits_600.json")}, target);
    ASSERT_NE(window, nullptr) << "no progress window";
    EXPECT_EQ(window_text(window), L"Sarvinet");
    EXPECT_FALSE(IsWindowEnabled(window_)) << "the main window takes input during the run";
    ASSERT_TRUE(wait_until(ui_timeout, [&] {
        return line(window).find("Messpunkt") != std::string::npos;
    })) << line(window);
    const std::string first = line(window);
    EXPECT_TRUE(wait_until(ui_timeout, [&] { return line(window) != first; })) << first;
    EXPECT_EQ(first.substr(0, 23), "Merkmal SCAN1 (1 von 1)");
    cancel(window);
    EXPECT_EQ(to_utf8(answer_message_box()), cancelled_text(target));
    EXPECT_EQ(dir.file_count(), 0u);
    EXPECT_TRUE(IsWindowEnabled(window_));
}

TEST_F(LongRun, AHungHostIsSaidAndEscapeEndsTheRunWithinTheBound) {
    fakes::TempDir dir;
    const auto target = dir / "haengt.xls";
    HWND window =
        export_with_progress({"--hang-after-calls", "200", example("hits_600.json")}, target);
    ASSERT_NE(window, nullptr) << "no progress window";
    EXPECT_TRUE(wait_until(ui_timeout, [&] { return line(window) == "Vormesa antwortet nicht …"; }))
        << line(window);
    // The call still waits for its answer: the run walks away from it.
    const auto took = cancel(window);
    std::printf("cancel while a COM call hangs: window gone after %lld ms\n",
                static_cast<long long>(took.count()));
    EXPECT_LE(took, std::chrono::milliseconds(500)) << "the bound is 200 ms, on a quiet machine";
    round_trip(window_);
    EXPECT_EQ(to_utf8(answer_message_box()), cancelled_text(target));
    EXPECT_EQ(dir.file_count(), 0u);
    // The call the run walked away from does not keep the program from ending.
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app_->wait_for_exit(std::chrono::seconds(5))) << "Kastrel still runs";
}

// The session ends (log-off, shut-down) during an export over an existing
// file, as the system tells the window: the run gives up, then the program
// ends, with the target as it was and nothing beside it.
TEST_F(LongRun, TheSessionEndingEndsTheRunAndThenTheProgram) {
    fakes::TempDir dir;
    const auto target = dir / "alt.xls";
    fakes::write_file(target, "vorher");
    HWND window =
        export_with_progress({"--call-delay-ms", "1", example("hits_600.json")}, target, true);
    ASSERT_NE(window, nullptr) << "no progress window";
    DWORD_PTR may_end = FALSE;
    EXPECT_TRUE(SendMessageTimeoutW(window_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    5000, &may_end));
    EXPECT_EQ(may_end, static_cast<DWORD_PTR>(TRUE));
    SendMessageTimeoutW(window_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                        nullptr);
    EXPECT_TRUE(app_->wait_for_exit(std::chrono::seconds(5))) << "Kastrel still runs";
    EXPECT_EQ(fakes::read_file(target), "vorher");
    EXPECT_EQ(dir.file_count(), 1u);
}

TEST_F(LongRun, ABusyHostIsWaitedForAndTheFileIsExact) {
    RegistryOverride separator(international, L"sDecimal", L",");
    fakes::TempDir dir;
    const auto target = dir / "bolt8.xls";
    HWND window = export_with_progress(
        {"--busy-after-calls", "60", "--busy-ms", "3000", example("bolt_circle_8.json")}, target);
    ASSERT_NE(window, nullptr) << "no progress window";
    // Every line the window shows until it goes, so that a miss says what was there.
    std::string seen;
    wait_until(ui_timeout, [&] {
        const std::string now = IsWindow(window) ? line(window) : "(gone)";
        if (seen.size() < now.size() || seen.compare(seen.size() - now.size(), now.size(), now))
            seen += (seen.empty() ? "" : " | ") + now;
        return now == "Vormesa ist beschäftigt …" || now == "(gone)";
    });
    EXPECT_NE(seen.find("Vormesa ist beschäftigt …"), std::string::npos) << seen;
    EXPECT_EQ(to_utf8(answer_message_box()), "Alle selektierten Merkmale in Datei geschrieben");
    EXPECT_EQ(fakes::read_file(target), fakes::read_file(expected_file("bolt8_opt4_xy_de")));
    EXPECT_EQ(dir.file_count(), 1u);
}

} // namespace
} // namespace kastrel::wintest
