#include "host/number_text.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kastrel::host {
namespace {

// A formatted value and its text as written with a "," separator.
struct TextCase {
    double value;
    std::string text;
};

// The expected texts are written with ","; each separator replaces it.
std::string with_separator(const std::string& text, const std::string& separator) {
    std::string result;
    for (const char c : text) {
        if (c == ',') {
            result += separator;
        } else {
            result += c;
        }
    }
    return result;
}

// U+066B ARABIC DECIMAL SEPARATOR, two bytes in UTF-8.
const std::string arabic_separator = "\xD9\xAB";

class NumberTextsTest : public ::testing::TestWithParam<std::string> {
protected:
    NumberTexts texts{GetParam()};

    std::string expected(const std::string& comma_text) const {
        return with_separator(comma_text, GetParam());
    }

    // Each case's value, in the form `form` writes, is the case's text.
    void expect_texts(std::string (NumberTexts::*form)(double) const,
                      const std::vector<TextCase>& cases) const {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text);
            EXPECT_EQ((texts.*form)(c.value), expected(c.text));
        }
    }
};

std::string separator_name(const ::testing::TestParamInfo<std::string>& separator) {
    if (separator.param == ",") {
        return "Comma";
    }
    if (separator.param == ".") {
        return "Point";
    }
    return "MultiByte";
}

INSTANTIATE_TEST_SUITE_P(Separators, NumberTextsTest,
                         ::testing::Values(std::string(","), std::string("."), arabic_separator),
                         separator_name);

TEST_P(NumberTextsTest, FourDecimalsRoundsThe15DigitForm) {
    const std::vector<TextCase> cases = {
        // Binary values just below the half still round up from 15 digits.
        {12.34565, "12,3457"},   {2.00005, "2,0001"},
        {-12.34565, "-12,3457"}, {-0.00005, "-0,0001"},
        {0.00005, "0,0001"},     {0.000049999, "0,0000"},
        {1.23456789, "1,2346"},  {123456.789012345678, "123456,7890"},
    };
    expect_texts(&NumberTexts::four_decimals, cases);
}

TEST_P(NumberTextsTest, FourDecimalsLayout) {
    const std::vector<TextCase> cases = {
        {0.0123, "0,0123"},      {-0.0123, "-0,0123"},         {1234.5, "1234,5000"},
        {-1234.5, "-1234,5000"}, {1234567.89, "1234567,8900"}, {7.0, "7,0000"},
        {0.5, "0,5000"},
    };
    expect_texts(&NumberTexts::four_decimals, cases);
}

TEST_P(NumberTextsTest, FourDecimalsCarriesIntoHigherDigits) {
    const std::vector<TextCase> cases = {
        {9.99995, "10,0000"},         {0.99995, "1,0000"}, {-9.99995, "-10,0000"},
        {99999.99995, "100000,0000"}, {0.00995, "0,0100"},
    };
    expect_texts(&NumberTexts::four_decimals, cases);
}

TEST_P(NumberTextsTest, ZeroResultsHaveNoSign) {
    for (const double value : {0.0, -0.0, -0.00004, -0.000049999, -1e-300, -5e-324, 5e-324}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(texts.four_decimals(value), expected("0,0000"));
        EXPECT_EQ(texts.three_decimals(value), expected("0,000"));
    }
    EXPECT_EQ(texts.three_decimals(-0.0004), expected("0,000"));
    EXPECT_EQ(texts.general(-0.0), "0");
    EXPECT_EQ(texts.general(0.0), "0");
}

TEST_P(NumberTextsTest, FourDecimalsOfHugeValuesKeep15Digits) {
    EXPECT_EQ(texts.four_decimals(1e20), expected("100000000000000000000,0000"));
    EXPECT_EQ(texts.four_decimals(1.2345678901234567e20), expected("123456789012346000000,0000"));
    EXPECT_EQ(texts.four_decimals(-1e15), expected("-1000000000000000,0000"));
    EXPECT_EQ(texts.four_decimals(1e308), "1" + std::string(308, '0') + expected(",0000"));
    EXPECT_EQ(texts.three_decimals(-1e308), "-1" + std::string(308, '0') + expected(",000"));
}

TEST_P(NumberTextsTest, ThreeDecimals) {
    const std::vector<TextCase> cases = {
        {999.9995, "1000,000"}, {-999.9995, "-1000,000"}, {12.34565, "12,346"}, {2.0005, "2,001"},
        {0.0005, "0,001"},      {0.0123, "0,012"},        {1.0, "1,000"},       {-1.2345, "-1,235"},
        {1234.5, "1234,500"},   {0.9995, "1,000"},
    };
    expect_texts(&NumberTexts::three_decimals, cases);
}

TEST_P(NumberTextsTest, GeneralPlainForm) {
    const double step29 = 360.0 / 29;
    const double step7 = 360.0 / 7;
    const std::vector<TextCase> cases = {
        {step29 * 3 - step29, "24,8275862068965"},
        {0.5, "0,5"},
        {45.0, "45"},
        {-3.0, "-3"},
        {step7, "51,4285714285714"},
        {step7 * 2, "102,857142857143"},
        {1.0 / 3, "0,333333333333333"},
        {-2.0 / 3, "-0,666666666666667"},
        {0.1 + 0.2, "0,3"},
        {100.0, "100"},
        {1e14, "100000000000000"},
        {123456789012345.0, "123456789012345"},
        {0.00012345, "0,00012345"},
        {-1234.5, "-1234,5"},
    };
    expect_texts(&NumberTexts::general, cases);
}

TEST_P(NumberTextsTest, GeneralExponentForm) {
    const std::vector<TextCase> cases = {
        {1e-5, "1E-05"},
        {-2.5e-7, "-2,5E-07"},
        {1e100, "1E+100"},
        {-1e100, "-1E+100"},
        {1.23456789012346e15, "1,23456789012346E+15"},
        {1234567890123456.0, "1,23456789012346E+15"},
        {-0.00001234, "-1,234E-05"},
        {1e-300, "1E-300"},
        {5e-324, "4,94065645841247E-324"},
        {std::numeric_limits<double>::max(), "1,79769313486232E+308"},
        {std::numeric_limits<double>::lowest(), "-1,79769313486232E+308"},
    };
    expect_texts(&NumberTexts::general, cases);
}

// The form is chosen from the magnitude after rounding to 15 digits.
TEST_P(NumberTextsTest, GeneralFormThresholds) {
    const std::vector<TextCase> cases = {
        {0.0001, "0,0001"},
        {-0.0001, "-0,0001"},
        {0.000099999, "9,9999E-05"},
        {0.00009999999999999999, "0,0001"},
        {999999999999999.0, "999999999999999"},
        {999999999999999.4, "999999999999999"},
        {-999999999999999.4, "-999999999999999"},
        {999999999999999.6, "1E+15"},
        {1e15, "1E+15"},
        {-1e15, "-1E+15"},
    };
    expect_texts(&NumberTexts::general, cases);
}

TEST_P(NumberTextsTest, NonFiniteValuesGiveEmptyTexts) {
    for (const double value :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(texts.four_decimals(value), "");
        EXPECT_EQ(texts.three_decimals(value), "");
        EXPECT_EQ(texts.general(value), "");
    }
}

TEST_P(NumberTextsTest, ParseReadsGeneralTextsAt15Digits) {
    const double step7 = 360.0 / 7;
    const std::vector<std::pair<double, double>> cases = {
        {1.0 / 3, 0.333333333333333},
        {step7, 51.4285714285714},
        {12.34565, 12.34565},
        {-2.5e-7, -2.5e-7},
        {1e-5, 1e-5},
        {0.0001, 0.0001},
        {1.2345678901234567e15, 1.23456789012346e15},
        {999999999999999.4, 999999999999999.0},
        {1e100, 1e100},
        {5e-324, 5e-324},
        {-3.0, -3.0},
        {0.0, 0.0},
        // Written rounded up past the largest double; read back as that double.
        {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()},
        {std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()},
    };
    for (const auto& [value, rounded] : cases) {
        const std::string text = texts.general(value);
        SCOPED_TRACE(text);
        EXPECT_EQ(texts.parse(text), rounded);
    }
}

TEST_P(NumberTextsTest, ParseReadsFixedTextsAtTheirDecimals) {
    const std::vector<std::pair<double, double>> four = {
        {12.34565, 12.3457},
        {2.00005, 2.0001},
        {-9.99995, -10.0},
        {-0.00004, 0.0},
        {1e20, 1e20},
        {1234.5, 1234.5},
        {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()},
    };
    for (const auto& [value, rounded] : four) {
        const std::string text = texts.four_decimals(value);
        SCOPED_TRACE(text);
        EXPECT_EQ(texts.parse(text), rounded);
    }
    const std::vector<std::pair<double, double>> three = {
        {999.9995, 1000.0}, {-1.2345, -1.235}, {0.0123, 0.012}, {1e308, 1e308}};
    for (const auto& [value, rounded] : three) {
        const std::string text = texts.three_decimals(value);
        SCOPED_TRACE(text);
        EXPECT_EQ(texts.parse(text), rounded);
    }
}

TEST_P(NumberTextsTest, ParseAcceptsHandTypedForms) {
    const std::vector<std::pair<std::string, double>> cases = {
        {"7", 7.0},        {"-7", -7.0},
        {"007", 7.0},      {"1,5", 1.5},
        {"1,", 1.0},       {",5", 0.5},
        {"-,5", -0.5},     {"1e3", 1000.0},
        {"1E+03", 1000.0}, {"2,5E-07", 2.5e-7},
        {"1E0005", 1e5},   {"0,0000", 0.0},
        {"1E-400", 0.0},   {"12345678901234567890123", 1.2345678901234567890123e22},
        {"+1,5", 1.5},
    };
    for (const auto& [comma_text, value] : cases) {
        const std::string text = expected(comma_text);
        SCOPED_TRACE(text);
        EXPECT_EQ(texts.parse(text), value);
    }
    const std::optional<double> negative_zero = texts.parse("-0");
    ASSERT_TRUE(negative_zero.has_value());
    EXPECT_TRUE(std::signbit(*negative_zero));
}

TEST_P(NumberTextsTest, ParseRejectsWhatIsNoNumber) {
    const std::vector<std::string> cases = {
        "",      ",",     "-",     "-,",    " 1",     "1 ",
        "\t1",   "1\n",   "+-1",   "--1",   "1,2,3",  "1,,5",
        "1E",    "E5",    "e5",    "1e+",   "1e-",    "1E5,5",
        "1e5e5", "abc",   "1,5x",  "0x10",  "inf",    "-inf",
        "nan",   "1 000", "1'000", "1E400", "-1E400", "1E999999999999999999999",
    };
    for (const auto& comma_text : cases) {
        const std::string text = expected(comma_text);
        SCOPED_TRACE(text);
        EXPECT_EQ(texts.parse(text), std::nullopt);
    }
}

TEST(NumberTextsSeparatorTest, OtherSeparatorIsNoNumber) {
    EXPECT_EQ(NumberTexts(",").parse("1.5"), std::nullopt);
    EXPECT_EQ(NumberTexts(",").parse("."), std::nullopt);
    EXPECT_EQ(NumberTexts(".").parse("1,5"), std::nullopt);
    EXPECT_EQ(NumberTexts(arabic_separator).parse("1.5"), std::nullopt);
    // Only the first byte of the two-byte separator.
    EXPECT_EQ(NumberTexts(arabic_separator).parse("1\xD9"), std::nullopt);
    EXPECT_EQ(NumberTexts(arabic_separator)
                  .parse("1\xD9"
                         "5"),
              std::nullopt);
}

TEST(NumberTextsSeparatorTest, MultiByteSeparatorIsWrittenWhole) {
    const NumberTexts texts(arabic_separator);
    EXPECT_EQ(texts.four_decimals(12.34565), "12\xD9\xAB"
                                             "3457");
    EXPECT_EQ(texts.general(1.23456789012346e15), "1\xD9\xAB"
                                                  "23456789012346E+15");
    EXPECT_EQ(texts.parse("12\xD9\xAB"
                          "3457"),
              12.3457);
}

TEST(NumberTextsSeparatorTest, EmptySeparatorIsRefused) {
    EXPECT_THROW(NumberTexts(""), std::invalid_argument);
}

TEST(NumberTextsAngleListTest, SevenEqualStepsWithPoint) {
    const NumberTexts texts(".");
    const double step = 360.0 / 7;
    const std::vector<std::string> expected = {
        "0",
        "51.4285714285714",
        "102.857142857143",
        "154.285714285714",
        "205.714285714286",
        "257.142857142857",
        "308.571428571429",
    };
    for (int j = 1; j <= 7; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(texts.general(step * j - step), expected[static_cast<std::size_t>(j - 1)]);
    }
}

} // namespace
} // namespace kastrel::host
