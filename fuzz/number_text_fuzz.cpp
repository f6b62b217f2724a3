// Formatting then reading back gives the value to the pattern's precision,
// and no input makes the number texts crash, reading arbitrary text included.
#include "host/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using kastrel::host::NumberTexts;

namespace {

const NumberTexts comma(",");
const NumberTexts point(".");

// The value taken to 15 significant digits, as the texts do first.
double fifteen_digits(double value) {
    char buffer[40];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14).ptr;
    double rounded = 0;
    if (std::from_chars(buffer, end, rounded).ec == std::errc::result_out_of_range)
        return std::copysign(HUGE_VAL, value);
    return rounded;
}

void check(bool condition) {
    if (!condition)
        std::abort();
}

void round_trip(const NumberTexts& texts, double value) {
    const std::string general = texts.general(value);
    const std::string four = texts.four_decimals(value);
    const std::string three = texts.three_decimals(value);
    if (!std::isfinite(value)) {
        check(general.empty() && four.empty() && three.empty());
        return;
    }
    const auto read_general = texts.parse(general);
    check(read_general.has_value());
    const double expected = fifteen_digits(value);
    // The largest doubles round up past the range; they read back as the limit.
    check(*read_general == expected || std::isinf(expected));

    const auto read_four = texts.parse(four);
    const auto read_three = texts.parse(three);
    check(read_four.has_value() && read_three.has_value());
    const double slack = std::abs(value) * 1e-14;
    if (std::abs(value) < 1e15) {
        check(std::abs(*read_four - value) <= 0.00005 + slack + 1e-12);
        check(std::abs(*read_three - value) <= 0.0005 + slack + 1e-12);
    }
    check(four.find(texts.decimal_separator()) != std::string::npos);
    check(four.rfind("-0" + texts.decimal_separator() + "0000", 0) == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        round_trip(comma, value);
        round_trip(point, value);
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)comma.parse(text);
    (void)point.parse(text);
    return 0;
}
