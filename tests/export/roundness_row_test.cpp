#include "export/roundness/feature_blocks.h"
#include "export/roundness/roundness_row.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

using namespace kastrel::exporter;

namespace {

// `n` points at even angles on a circle about (cu, cv).
std::vector<PlanePoint> circle(double cu, double cv, double r, int n) {
    std::vector<PlanePoint> points;
    for (int k = 0; k < n; ++k) {
        const double t = 2 * std::numbers::pi * k / n;
        points.push_back({cu + r * std::cos(t), cv + r * std::sin(t)});
    }
    return points;
}

// Coordinates with `p` on the plane's two axes and a depth on the third.
Coordinates in_space(const std::string& plane, PlanePoint p) {
    const double depth = -7.5;
    if (plane == "XY")
        return {p.first, p.second, depth};
    if (plane == "XZ")
        return {p.first, depth, p.second};
    return {depth, p.first, p.second};
}

PlaneSwitches switch_for(const std::string& plane) {
    return {plane == "XY", plane == "XZ", plane == "YZ"};
}

double number(const RoundnessRow& row, std::size_t column) {
    const RoundnessCell cell = row.cell(column);
    EXPECT_TRUE(std::holds_alternative<double>(cell)) << roundness_titles[column];
    return std::holds_alternative<double>(cell) ? std::get<double>(cell) : NAN;
}

bool empty_from(const RoundnessRow& row, std::size_t column) {
    for (std::size_t c = column; c < roundness_columns; ++c)
        if (!std::holds_alternative<std::monostate>(row.cell(c)))
            return false;
    return true;
}

// A three-lobed bore 0.03 off its nominal circle on the first axis and -0.04
// on the second: the position deviation is 0.1, in whichever plane.
TEST(RoundnessRow, AShiftedBoreHasItsOffsetsAndPositionInEachPlane) {
    for (const std::string plane : {"XY", "XZ", "YZ"}) {
        FeatureBlocks blocks(switch_for(plane));
        blocks.begin_feature("B1", 16.0);
        for (const PlanePoint& n : circle(50.5, -20.25, 8, 24)) {
            const double t = std::atan2(n.second + 20.25, n.first - 50.5);
            const double form = 0.002 * std::cos(3 * t);
            const PlanePoint actual{n.first + 0.03 + form * std::cos(t),
                                    n.second - 0.04 + form * std::sin(t)};
            blocks.hit_read({in_space(plane, actual), in_space(plane, n)});
        }
        const auto rows = evaluate(blocks.blocks(), blocks.plane());
        ASSERT_EQ(rows.size(), 1u);
        const RoundnessRow& row = rows[0];
        EXPECT_EQ(row.cell(1), RoundnessCell(plane));
        EXPECT_EQ(number(row, 2), 24);
        EXPECT_NEAR(number(row, 3), 50.53, 1e-9) << plane;
        EXPECT_NEAR(number(row, 4), -20.29, 1e-9) << plane;
        EXPECT_NEAR(number(row, 8), 0.004, 1e-9) << plane;
        EXPECT_NEAR(number(row, 9), 50.5, 1e-9) << plane;
        EXPECT_NEAR(number(row, 10), -20.25, 1e-9) << plane;
        EXPECT_NEAR(number(row, 11), 0.03, 1e-9) << plane;
        EXPECT_NEAR(number(row, 12), -0.04, 1e-9) << plane;
        EXPECT_NEAR(number(row, 13), 0.1, 1e-9) << plane;
    }
}

// The nominal centre: one point that all nominals coincide in; the circle of
// the nominals that were read, the hit with an unread one still counted in C;
// nothing (J to N empty, D to I kept) for nominals on one line or fewer than
// three, nor anything after D without an actual circle.
TEST(RoundnessRow, NominalCentresFromOnePointFromTheReadNominalsAndNoneFromALine) {
    FeatureBlocks blocks(switch_for("XY"));
    const auto actual = circle(10, 20, 5, 8);
    const auto feature = [&](const char* id, const auto& nominal_of) {
        blocks.begin_feature(id, std::nullopt);
        for (std::size_t k = 0; k < actual.size(); ++k)
            blocks.hit_read({in_space("XY", actual[k]), nominal_of(k)});
    };
    feature("EINS", [](std::size_t) { return Coordinates{10.25, 19.5, 0}; });
    const auto nominal = circle(10.1, 20, 5, 8);
    // The unread coordinate's partner would pull the centre far off were it taken.
    feature("UNGELESEN", [&](std::size_t k) {
        return k == 3 ? Coordinates{999, std::nullopt, 0} : in_space("XY", nominal[k]);
    });
    feature("LINIE", [](std::size_t k) { return Coordinates{double(k), 2.0 * double(k), 0}; });
    feature("ZWEI", [&](std::size_t k) {
        return k < 2 ? in_space("XY", nominal[k]) : Coordinates{std::nullopt, 1, 0};
    });
    blocks.begin_feature("KEIN KREIS", 4.0);
    blocks.hit_read({in_space("XY", {0, 0}), in_space("XY", {0, 0})});

    const auto rows = evaluate(blocks.blocks(), blocks.plane());
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(number(rows[0], 9), 10.25);
    EXPECT_EQ(number(rows[0], 10), 19.5);
    EXPECT_NEAR(number(rows[0], 13), 2 * std::hypot(0.25, 0.5), 1e-9);

    EXPECT_EQ(number(rows[1], 2), 8);
    EXPECT_NEAR(number(rows[1], 9), 10.1, 1e-9);
    EXPECT_NEAR(number(rows[1], 11), -0.1, 1e-9);
    EXPECT_NEAR(number(rows[1], 13), 0.2, 1e-9);

    for (const RoundnessRow& row : {rows[2], rows[3]}) {
        EXPECT_NEAR(number(row, 5), 10, 1e-9) << row.id;
        EXPECT_TRUE(empty_from(row, 9)) << row.id;
    }
    EXPECT_EQ(rows[4].cell(0), RoundnessCell("KEIN KREIS"));
    EXPECT_EQ(number(rows[4], 2), 1);
    EXPECT_TRUE(empty_from(rows[4], 3));

    EXPECT_TRUE(evaluate(blocks.blocks(), "").empty());
}

} // namespace
