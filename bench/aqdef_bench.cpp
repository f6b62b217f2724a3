// The AQDEF file against the text file, measured in one run:
// - through the stand-in host on the session bus (when a stand-in is named):
//   a 3,000-hit export to ".dfq" against the same export as text, alternating
//   rounds;
// - in process: a run that continues a file already holding 10,000 value
//   lines against the same run writing a new file.
// Run: kastrel_aqdef_bench [VORMESA_SIM] (with a stand-in under dbus-run-session)
#include "bench/bench_host.h"
#include "bench/bench_timing.h"
#include "bench/bore_on_the_bus.h"
#include "export/export_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <unistd.h>
#include <vector>

using namespace kastrel;
using Clock = std::chrono::steady_clock;

using bench::median;
using bench::seconds_of;

namespace {

exporter::ExportRequest all_of(std::size_t features) {
    exporter::ExportRequest request;
    for (std::size_t f = 0; f < features; ++f)
        request.entries.push_back("KRS" + std::to_string(f));
    request.selected.assign(features, true);
    request.planes.xy = true;
    return request;
}

void must_write(const exporter::ExportResult& result) {
    if (result.status != exporter::ExportResult::Status::Written) {
        std::printf("the export was not written (status %d)\n", static_cast<int>(result.status));
        std::exit(2);
    }
}

std::string content_of(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void through_the_bus(const char* sim, const std::filesystem::path& folder) {
    constexpr int hits = 3000;
    {
        bench::BoreOnTheBus bore(sim, folder, hits);
        host::Dispatch& commands = bore.commands();
        const auto request = all_of(1);
        // The machine is shared: each variant's median round, the two alternating.
        constexpr int rounds = 11;
        std::vector<double> text, aqdef;
        for (int round = 0; round < rounds; ++round) {
            text.push_back(seconds_of(
                [&] { must_write(exporter::run_export(commands, request, folder / "a.xls")); }));
            std::filesystem::remove(folder / "a.dfq"); // each round writes the same new file
            aqdef.push_back(seconds_of(
                [&] { must_write(exporter::run_export(commands, request, folder / "a.dfq")); }));
        }
        std::printf("through the stand-in, %d hits, median of %d alternating rounds:\n", hits,
                    rounds);
        std::printf("  text file:     %.0f hits/s\n", hits / median(text));
        std::printf("  AQDEF file:    %.0f hits/s\n", hits / median(aqdef));
        std::printf("  AQDEF / text:  %.3f (bar 0.98)\n\n", median(text) / median(aqdef));
    }
}

// 10 features of 100 hits: 50 characteristics, as a part's bores might give.
void continuing(const std::filesystem::path& folder) {
    constexpr int features = 10, hits = 100, lines = 10000;
    bench::BenchCommands commands(features, hits);
    auto request = all_of(features);
    request.part_number = "Flansch"; // whatever the file's name
    const auto seed = folder / "seed.dfq";
    must_write(exporter::run_export(commands, request, seed));
    const std::string first = content_of(seed);
    const std::size_t description_end = first.rfind("\r\n", first.size() - 3) + 2;
    const std::string line = first.substr(description_end);
    std::string full = first.substr(0, description_end);
    for (int k = 0; k < lines; ++k)
        full += line;

    constexpr int rounds = 11;
    std::vector<double> fresh, continued;
    for (int round = 0; round < rounds; ++round) {
        std::filesystem::remove(folder / "new.dfq");
        fresh.push_back(seconds_of(
            [&] { must_write(exporter::run_export(commands, request, folder / "new.dfq")); }));
        std::ofstream(folder / "full.dfq", std::ios::binary | std::ios::trunc) << full;
        continued.push_back(seconds_of(
            [&] { must_write(exporter::run_export(commands, request, folder / "full.dfq")); }));
    }
    std::printf("in process, %d features x %d hits (%d characteristics), median of %d rounds:\n",
                features, hits, features * 5, rounds);
    std::printf("  new file:                         %.2f ms\n", median(fresh) * 1e3);
    std::printf("  continuing %d value lines (%.1f MB): %.2f ms, %.2f ms more\n", lines,
                static_cast<double>(full.size()) / 1e6, median(continued) * 1e3,
                (median(continued) - median(fresh)) * 1e3);
}

} // namespace

int main(int argc, char** argv) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("kastrel-aqdef-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    if (argc > 1 && std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        through_the_bus(argv[1], folder);
    else
        std::printf("through the stand-in: name it and run under dbus-run-session\n\n");
    continuing(folder);
    std::filesystem::remove_all(folder);
    return 0;
}
