// How many member reads per second COM carries to the stand-in server; printed,
// not checked, as it depends on the machine.

#include "host/number_text.h"
#include "tests/windows/com_test.h"
#include "tests/windows/server_process.h"

#include <chrono>
#include <cstdio>

namespace kastrel::wintest {
namespace {

using ComCallRate = ComTest;

TEST_F(ComCallRate, ReadsOfIdPerSecond) {
    constexpr int reads = 10000;
    ServerProcess server({"--no-window", example("bolt_circle_8.json")});
    ASSERT_TRUE(server.ready());
    const host::Object commands =
        application()->get("ActivePartProgram").to_object()->get("Commands").to_object();
    host::Object feature;
    auto items = commands->enumerate();
    while (!feature) {
        auto item = items->next();
        ASSERT_TRUE(item);
        feature = item->to_object()->get("FeatureCommand").to_object();
    }
    const host::NumberTexts numbers(",");
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < reads; ++i)
        ASSERT_EQ(feature->get("ID").to_text(numbers), "LK1");
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("[ rate     ] %d reads of ID through COM in %.2f s: %.0f calls/s\n", reads,
                took.count(), reads / took.count());
    RecordProperty("calls_per_second", static_cast<int>(reads / took.count()));
}

} // namespace
} // namespace kastrel::wintest
