#include "export/number_text.h"
#include "export/summary_block.h"

#include <gtest/gtest.h>

using kastrel::exporter::FieldTexts;
using kastrel::exporter::NumberTexts;
using kastrel::exporter::SummaryTables;

namespace {

const NumberTexts point(".");

SummaryTables tables_with(const std::vector<std::string>& radii) {
    SummaryTables tables;
    const double n = static_cast<double>(radii.size());
    for (std::size_t k = 0; k < radii.size(); ++k) {
        const double j = static_cast<double>(k + 1);
        tables.record_hit(j, radii[k], 360 / n * j - 360 / n);
    }
    tables.set_hit_count(n);
    return tables;
}

std::vector<std::string> texts(const std::vector<kastrel::exporter::OutputLine>& lines) {
    std::vector<std::string> result;
    for (const auto& line : lines)
        result.push_back(line.text());
    return result;
}

std::vector<std::string> summary(const SummaryTables& tables) {
    FieldTexts fields(point);
    return texts(tables.summary_lines(fields));
}

std::vector<std::string> tail(const std::vector<std::string>& lines, std::size_t count) {
    return {lines.end() - static_cast<std::ptrdiff_t>(count), lines.end()};
}

TEST(SummaryBlock, EqualRadiiGiveWholeDistances) {
    const auto lines = summary(tables_with({"10.000", "10.000", "10.000", "10.000"}));
    EXPECT_EQ(lines, (std::vector<std::string>{"", "Berechnung\tWinkel\tAbstand", "\t0\t20",
                                               "\t90\t20", "", "\t\tMax\t20", "\t\tMin\t20",
                                               "\t\tMittelwert\t20.000"}));
}

TEST(SummaryBlock, MaximumIsComparedAsANumber) {
    const auto lines = summary(tables_with({"4.999", "5.001", "4.999", "5.001"}));
    EXPECT_EQ(tail(lines, 5),
              (std::vector<std::string>{"\t90\t10.002", "", "\t\tMax\t10.002", "\t\tMin\t9.998",
                                        "\t\tMittelwert\t10.000"}));
}

TEST(SummaryBlock, OddHitCountsPairWithTheEvenRoundedPartnerAndAverageTheRowsWritten) {
    // Partners of 1, 2, 3 for N = 7 are 4, 6, 6.
    const auto lines =
        summary(tables_with({"1.000", "2.000", "3.000", "4.000", "5.000", "6.000", "7.000"}));
    EXPECT_EQ(lines[2], "\t0\t5");
    EXPECT_EQ(lines[3], "\t51.4285714285714\t8");
    EXPECT_EQ(lines[4], "\t102.857142857143\t9");
    EXPECT_EQ(tail(lines, 3),
              (std::vector<std::string>{"\t\tMax\t9", "\t\tMin\t5", "\t\tMittelwert\t7.333"}));
}

TEST(SummaryBlock, TheMinimumIsNotCappedAt5000) {
    const auto lines = summary(tables_with({"3000.000", "3000.000"}));
    EXPECT_EQ(tail(lines, 3), (std::vector<std::string>{"\t\tMax\t6000", "\t\tMin\t6000",
                                                        "\t\tMittelwert\t6000.000"}));
}

TEST(SummaryBlock, WithoutDistancesTheValueColumnsStayEmpty) {
    const std::vector<std::string> frame{
        "", "Berechnung\tWinkel\tAbstand", "", "\t\tMax\t", "\t\tMin\t", "\t\tMittelwert\t"};
    EXPECT_EQ(summary(tables_with({"5.000"})), frame);
    EXPECT_EQ(summary(SummaryTables()), frame);
    // No plane switch on: the radius texts are empty, the rows carry no distance.
    const auto rows = summary(tables_with({"", "", "", ""}));
    EXPECT_EQ(rows[2], "\t0\t");
    EXPECT_EQ(tail(rows, 3), tail(frame, 3));
}

TEST(SummaryBlock, DescribesTheLastFeatureWritten) {
    SummaryTables tables =
        tables_with({"1.000", "1.000", "1.000", "1.000", "1.000", "1.000", "1.000", "1.000"});
    for (int j = 1; j <= 6; ++j)
        tables.record_hit(j, "2.000", 60.0 * j - 60.0);
    tables.set_hit_count(6);
    const auto lines = summary(tables);
    EXPECT_EQ(lines.size(), 2u + 3u + 4u);
    EXPECT_EQ(lines[4], "\t120\t4");
    tables.set_hit_count(std::nullopt); // its hit count could not be read
    EXPECT_EQ(summary(tables).size(), 6u);
}

TEST(SummaryBlock, TheRunningSumIsRoundedTo15DigitsAfterEveryAddition) {
    // 0.1 + 0.2 is 0.30000000000000004 in binary; the text sum keeps 0.3.
    SummaryTables tables;
    for (int j = 1; j <= 4; ++j)
        tables.record_hit(j, j % 2 ? "0.100" : "0.200", 0);
    tables.set_hit_count(4);
    EXPECT_EQ(summary(tables).back(), "\t\tMittelwert\t0.300");
}

// Near the largest double a distance or the running sum overflows: that
// field stays empty and is counted, the others are written.
TEST(SummaryBlock, ADistanceOrMeanThatOverflowsStaysEmptyAndIsCounted) {
    const std::string huge = point.three_decimals(1e308);
    const std::string large = point.three_decimals(6e307);
    FieldTexts fields(point);
    const auto lines = texts(tables_with({huge, large, huge, large}).summary_lines(fields));
    EXPECT_EQ(lines[2], "\t0\t");
    EXPECT_EQ(lines[3], "\t90\t1.2E+308");
    EXPECT_EQ(lines[5], "\t\tMax\t1.2E+308");
    EXPECT_EQ(fields.uncomputed(), 1);

    FieldTexts sum_fields(point);
    const auto sum_lines =
        texts(tables_with({large, large, large, large, large, large}).summary_lines(sum_fields));
    EXPECT_EQ(
        tail(sum_lines, 3),
        (std::vector<std::string>{"\t\tMax\t1.2E+308", "\t\tMin\t1.2E+308", "\t\tMittelwert\t"}));
    EXPECT_EQ(sum_fields.uncomputed(), 1);
}

} // namespace
