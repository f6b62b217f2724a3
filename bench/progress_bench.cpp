// The export through the stand-in host on the session bus, with the progress
// machinery (the window's run: reports, pumping, the bus link waiting in
// steps) against the same export without it, alternating in one run; the
// interval between pumps (where the window paints) during the 3,000-hit
// export; and how long a cancel takes while a host call hangs.
// Run under dbus-run-session: kastrel_progress_bench VORMESA_SIM
#include "app/run/progress_run.h"
#include "bench/bench_sim.h"
#include "export/export_run.h"
#include "host/dbus/dbus_connector.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using Clock = std::chrono::steady_clock;
using namespace kastrel;
using bench::commands_of;
using bench::start_sim;
using bench::stop_sim;

namespace {

constexpr int hits = 3000;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A window that only counts: where a toolkit would paint, the gaps between.
class CountingView : public app::ProgressView {
public:
    void begin_run(app::ProgressEvents& events) override {
        events_ = &events;
        last_ = Clock::now();
    }
    void end_run() override { events_ = nullptr; }
    void show_progress() override {}
    void set_progress(const std::string&, std::optional<double>) override {}
    void pump() override {
        const auto now = Clock::now();
        longest_ = std::max(longest_, std::chrono::duration<double>(now - last_).count());
        total_ += std::chrono::duration<double>(now - last_).count();
        ++pumps_;
        last_ = now;
        if (cancel_at_ && !cancelled_at_ && now >= *cancel_at_) {
            cancelled_at_ = now;
            events_->cancel_clicked();
        }
    }

    double longest_ = 0;
    double total_ = 0;
    int pumps_ = 0;
    std::optional<Clock::time_point> cancel_at_;
    std::optional<Clock::time_point> cancelled_at_;

private:
    app::ProgressEvents* events_ = nullptr;
    Clock::time_point last_;
};

std::filesystem::path write_part_program(const std::filesystem::path& folder) {
    const auto path = folder / "hits_3000.json";
    std::ofstream out(path);
    out << R"({"commands": [{"type": "feature", "id": "KRS1", "theoDiam": 50.0, "hits": [)";
    for (int j = 0; j < hits; ++j)
        out << (j ? "," : "") << "{\"actual\": [" << 25.001 + j * 1e-6 << ", " << j * 1e-3
            << ", -5.0], \"nominal\": [25.0, " << j * 1e-3 << ", -5.0]}";
    out << "]}]}\n";
    return path;
}

exporter::ExportRequest request() {
    exporter::ExportRequest wanted;
    wanted.entries = {"KRS1"};
    wanted.selected = {true};
    wanted.planes = {true, false, false};
    return wanted;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        std::fprintf(stderr, "usage (under dbus-run-session): %s VORMESA_SIM\n", argv[0]);
        return 2;
    }
    const auto folder = std::filesystem::temp_directory_path() /
                        ("kastrel-progress-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const auto program = write_part_program(folder);
    const auto target = folder / "out.xls";

    pid_t sim = start_sim(argv[1], {"--no-window", program.string()});
    {
        host::dbus::DbusConnector connector;
        const host::Object commands = commands_of(connector);
        double bare = 0, watched = 0;
        double bare_best = 1e9, watched_best = 1e9;
        CountingView view;
        constexpr int rounds = 6;
        for (int round = 0; round < rounds; ++round) {
            auto start = Clock::now();
            exporter::run_export(*commands, request(), target);
            bare += seconds_since(start);
            bare_best = std::min(bare_best, seconds_since(start));
            start = Clock::now();
            {
                app::ProgressRun run(app::ProgressRun::Kind::Export, view, connector);
                exporter::run_export(*commands, request(), target, run);
            }
            watched += seconds_since(start);
            watched_best = std::min(watched_best, seconds_since(start));
        }
        std::printf("export of %d hits through the stand-in, %d rounds each, alternating:\n", hits,
                    rounds);
        std::printf("  without progress machinery: %.0f hits/s\n", rounds * hits / bare);
        std::printf("  with progress machinery:    %.0f hits/s\n", rounds * hits / watched);
        std::printf("  ratio: %.3f (bar 0.95); best round each: %.3f\n", bare / watched,
                    bare_best / watched_best);
        std::printf("  window pumped every %.1f ms on average, at most %.1f ms apart\n",
                    1e3 * view.total_ / view.pumps_, 1e3 * view.longest_);
    }
    stop_sim(sim);

    // The host answers the listing's worth of calls, then nothing more.
    sim = start_sim(argv[1], {"--no-window", "--hang-after-calls", "100", program.string()});
    {
        host::dbus::DbusConnector connector;
        const host::Object commands = commands_of(connector);
        CountingView view;
        view.cancel_at_ = Clock::now() + std::chrono::seconds(1);
        exporter::ExportResult result;
        {
            app::ProgressRun run(app::ProgressRun::Kind::Export, view, connector);
            result = exporter::run_export(*commands, request(), target, run);
        }
        const double latency = view.cancelled_at_ ? seconds_since(*view.cancelled_at_) : -1;
        std::printf("cancel while a bus call hangs: run ended %.1f ms after the cancel (%s)\n",
                    latency * 1e3,
                    result.status == exporter::ExportResult::Status::Cancelled ? "cancelled"
                                                                               : "NOT cancelled");
    }
    stop_sim(sim);
    std::filesystem::remove_all(folder);
    return 0;
}
