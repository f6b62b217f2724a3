// "Auswertung anzeigen" against the export to a text file, as the window's
// logic runs both, through the stand-in host on the session bus: 3,000 hits
// of one bore, the time from the click until the window's rows are ready
// against the time from the chosen file until the export's message,
// alternating rounds. Bar: 1.02.
// Run: dbus-run-session -- kastrel_evaluation_bench VORMESA_SIM
#include "app/main_window/frm_points.h"
#include "bench/bench_sim.h"
#include "bench/bench_timing.h"
#include "host/dbus/dbus_connector.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using Clock = std::chrono::steady_clock;
using namespace kastrel;

using bench::median;

namespace {

constexpr int hits = 3000;

class SilentProgress : public app::ProgressView {
public:
    void begin_run(app::ProgressEvents&) override {}
    void end_run() override {}
    void show_progress() override {}
    void set_progress(const std::string&, std::optional<double>) override {}
    void pump() override {}
};

// A window without widgets: everything selected, XY on, Option 4; notes when
// the export's message or the evaluation's rows arrive.
class BenchWindow : public app::MainWindowView {
public:
    std::filesystem::path file;
    Clock::time_point done;
    std::size_t rows = 0;

    void set_caption(const std::string&) override {}
    void clear_entries() override { entries_.clear(); }
    void add_entry(const std::string& text) override { entries_.push_back(text); }
    int entry_count() const override { return static_cast<int>(entries_.size()); }
    std::string entry_text(int index) const override {
        return entries_.at(static_cast<std::size_t>(index));
    }
    bool entry_selected(int) const override { return true; }
    void set_all_selected(bool) override {}
    bool option_value(int option) const override { return option == 4; }
    void set_option_value(int, bool) override {}
    int check_value(int check) const override { return check == 1 ? 1 : 0; }
    void set_check_value(int, int) override {}
    void set_enabled(app::CommandButton, bool) override {}
    void set_pointer(app::Pointer) override {}
    void show_message(const std::string&) override { done = Clock::now(); }
    std::optional<std::string> show_save_dialog(const app::SaveDialogRequest&) override {
        return file.string();
    }
    void show_evaluation(const std::vector<exporter::RoundnessRow>& evaluated) override {
        done = Clock::now();
        rows = evaluated.size();
    }
    void end_program() override { std::exit(2); }
    std::string decimal_separator() const override { return ","; }
    app::ProgressView& progress_view() override { return progress_; }

private:
    std::vector<std::string> entries_;
    SilentProgress progress_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        std::printf("name the stand-in and run under dbus-run-session\n");
        return 2;
    }
    const auto folder = std::filesystem::temp_directory_path() /
                        ("kastrel-evaluation-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    // The listing looks for the host's window; no display is needed for it.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const pid_t sim = bench::start_sim(argv[1], {bench::write_bore(folder, hits).string()});
    {
        host::dbus::DbusConnector connector;
        bench::commands_of(connector); // the stand-in is up
        BenchWindow window;
        window.file = folder / "a.xls";
        app::FrmPoints form(window, connector);
        form.cmd_lesen_Click();
        // The machine is shared: each variant's median round, the two alternating.
        constexpr int rounds = 7;
        std::vector<double> exported, evaluated;
        const auto timed = [&](void (app::FrmPoints::*click)(), std::vector<double>& times) {
            const auto start = Clock::now();
            (form.*click)();
            times.push_back(std::chrono::duration<double>(window.done - start).count());
        };
        for (int round = 0; round < rounds; ++round) {
            // Each first in every other round: neither gains from going second.
            if (round % 2 == 0) {
                timed(&app::FrmPoints::cmd_schreiben_Click, exported);
                timed(&app::FrmPoints::cmd_auswerten_Click, evaluated);
            } else {
                timed(&app::FrmPoints::cmd_auswerten_Click, evaluated);
                timed(&app::FrmPoints::cmd_schreiben_Click, exported);
            }
            if (window.rows != 1)
                return 2;
        }
        std::printf("through the stand-in, %d hits, median of %d alternating rounds:\n", hits,
                    rounds);
        std::printf("  export to a text file:  %.1f ms\n", median(exported) * 1e3);
        std::printf("  Auswertung anzeigen:    %.1f ms until the rows are ready\n",
                    median(evaluated) * 1e3);
        std::printf("  evaluation / export: %.3f (bar 1.02)\n",
                    median(evaluated) / median(exported));
    }
    bench::stop_sim(sim);
    std::filesystem::remove_all(folder);
    return 0;
}
