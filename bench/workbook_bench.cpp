// The workbook against the text file, measured in one run:
// - in process (no host): the workbook writer's throughput for 500,000 hits
//   against the text file's, and each run's peak memory (in a child of its own);
// - the fit of 100,000 points;
// - through the stand-in host on the session bus (when a stand-in is named):
//   a 3,000-hit export as a workbook against the same export as text, and
//   the workbook with its roundness evaluation against the workbook without,
//   and with the nominal fit (where each bore should be) against without it,
//   alternating rounds.
// Run: kastrel_workbook_bench [VORMESA_SIM] (with a stand-in under dbus-run-session)
#include "bench/bench_host.h"
#include "bench/bench_timing.h"
#include "bench/bore_on_the_bus.h"
#include "export/export_run.h"
#include "export/roundness/circle_fit.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace kastrel;
using Clock = std::chrono::steady_clock;

using bench::seconds_of;

namespace {

// This process's processor time: what the host's and the bus's scheduling on
// a shared machine adds to the wall clock is not in it.
double processor_seconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

exporter::ExportRequest all_of(std::size_t features, exporter::OutputOption option) {
    exporter::ExportRequest request;
    for (std::size_t f = 0; f < features; ++f)
        request.entries.push_back("KRS" + std::to_string(f));
    request.selected.assign(features, true);
    request.option = option;
    request.planes.xy = true;
    return request;
}

// The work in a child process of its own: its time and its peak memory.
struct Measured {
    double seconds = 0;
    long peak_kib = 0;
};
Measured in_child(const std::function<void()>& work) {
    int report[2];
    if (::pipe(report) != 0)
        std::exit(2);
    const pid_t child = ::fork();
    if (child == 0) {
        const double seconds = seconds_of(work);
        [[maybe_unused]] auto written = ::write(report[1], &seconds, sizeof seconds);
        ::_exit(0);
    }
    ::close(report[1]);
    Measured measured;
    [[maybe_unused]] auto got = ::read(report[0], &measured.seconds, sizeof measured.seconds);
    ::close(report[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    measured.peak_kib = usage.ru_maxrss;
    return measured;
}

void in_process(const std::filesystem::path& folder) {
    constexpr int features = 1000, hits = 500;
    const auto request = all_of(features, exporter::OutputOption::Option4);
    const auto run = [&](const char* name) {
        return in_child([&] {
            bench::BenchCommands commands(features, hits);
            exporter::run_export(commands, request, folder / name);
        });
    };
    // Alternating, the best of three each.
    Measured text{1e9, 0}, book{1e9, 0};
    for (int round = 0; round < 3; ++round) {
        const Measured t = run("bench.xls");
        const Measured b = run("bench.xlsx");
        text = {std::min(text.seconds, t.seconds), std::max(text.peak_kib, t.peak_kib)};
        book = {std::min(book.seconds, b.seconds), std::max(book.peak_kib, b.peak_kib)};
    }
    const double total = double(features) * hits;
    std::printf("in process, %d features x %d hits = %.0f hits, Option 4:\n", features, hits,
                total);
    std::printf("  text file: %8.0f hits/s, peak memory %6.1f MiB, %6.1f MB\n",
                total / text.seconds, text.peak_kib / 1024.0,
                std::filesystem::file_size(folder / "bench.xls") / 1e6);
    std::printf("  workbook:  %8.0f hits/s, peak memory %6.1f MiB, %6.1f MB\n",
                total / book.seconds, book.peak_kib / 1024.0,
                std::filesystem::file_size(folder / "bench.xlsx") / 1e6);
    std::printf("  workbook / text throughput: %.2f\n", text.seconds / book.seconds);
    std::printf("  (the program and its host model alone: see the text run's memory)\n\n");

    std::vector<exporter::PlanePoint> points;
    for (int k = 0; k < 100'000; ++k) {
        const double t = 2 * 3.141592653589793 * k / 100'000;
        const double r = 10 + 0.006 * std::cos(3 * t) + 0.0005 * std::sin(17 * t);
        points.push_back({120.5 + r * std::cos(t), 80.25 + r * std::sin(t)});
    }
    std::optional<exporter::CircleFit> fit;
    double best = 1e9;
    for (int round = 0; round < 5; ++round)
        best = std::min(best, seconds_of([&] { fit = exporter::fit_circle(points); }));
    std::printf("least-squares circle of 100,000 points: %.1f ms (%d Gauss-Newton steps), "
                "RONt %.6f\n\n",
                best * 1e3, fit ? fit->iterations : -1, fit ? fit->roundness() : -1.0);
}

void through_the_bus(const char* sim, const std::filesystem::path& folder) {
    constexpr int hits = 3000;
    {
        bench::BoreOnTheBus bore(sim, folder, hits);
        host::Dispatch& commands = bore.commands();
        auto request = all_of(1, exporter::OutputOption::Option4);
        auto bare = request;
        bare.evaluate_roundness = false;
        auto unplaced = request;
        unplaced.evaluate_position = false;
        // The machine is shared: each variant's median round, the four alternating.
        constexpr int rounds = 9;
        std::vector<double> text, book, unevaluated, without_nominal;
        std::vector<double> book_processor, without_nominal_processor;
        for (int round = 0; round < rounds; ++round) {
            text.push_back(
                seconds_of([&] { exporter::run_export(commands, request, folder / "a.xls"); }));
            double processor = processor_seconds();
            book.push_back(
                seconds_of([&] { exporter::run_export(commands, request, folder / "a.xlsx"); }));
            book_processor.push_back(processor_seconds() - processor);
            unevaluated.push_back(
                seconds_of([&] { exporter::run_export(commands, bare, folder / "b.xlsx"); }));
            processor = processor_seconds();
            without_nominal.push_back(
                seconds_of([&] { exporter::run_export(commands, unplaced, folder / "c.xlsx"); }));
            without_nominal_processor.push_back(processor_seconds() - processor);
        }
        const auto median = [](std::vector<double> times) {
            std::sort(times.begin(), times.end());
            return times[times.size() / 2];
        };
        std::printf("through the stand-in, %d hits, median of %d alternating rounds:\n", hits,
                    rounds);
        std::printf("  text file:                     %.0f hits/s\n", hits / median(text));
        std::printf("  workbook:                      %.0f hits/s\n", hits / median(book));
        std::printf("  workbook without evaluation:   %.0f hits/s\n", hits / median(unevaluated));
        std::printf("  workbook without nominal fit:  %.0f hits/s\n",
                    hits / median(without_nominal));
        std::printf("  workbook / text: %.3f (bar 0.95)\n", median(text) / median(book));
        std::printf("  with / without evaluation: %.3f (bar 0.98)\n",
                    median(unevaluated) / median(book));
        std::printf("  with / without nominal fit: %.3f, in processor time %.3f (bar 0.98)\n",
                    median(without_nominal) / median(book),
                    median(without_nominal_processor) / median(book_processor));
    }
}

} // namespace

int main(int argc, char** argv) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("kastrel-workbook-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    in_process(folder);
    if (argc > 1 && std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        through_the_bus(argv[1], folder);
    else
        std::printf("through the stand-in: name it and run under dbus-run-session\n");
    std::filesystem::remove_all(folder);
    return 0;
}
