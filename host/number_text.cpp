#include "host/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace kastrel::host {

namespace {

// Every text starts from the value taken to 15 significant digits.
constexpr int significant_digits = 15;

// |value| = d0.d1d2...d14 * 10^exponent, or zero when all digits are '0'.
struct SignificantDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool all_zero(std::string_view digits) {
    return digits.find_first_not_of('0') == std::string_view::npos;
}

// std::to_chars, unlike printf, ignores the process locale, which the GUI
// toolkit sets from the environment.
SignificantDigits to_significant_digits(double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                            std::chars_format::scientific, significant_digits - 1);
    if (error != std::errc{}) {
        throw std::logic_error("number text buffer too small");
    }
    // Shape: [-]d.dddddddddddddde(+|-)dd[d]
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    SignificantDigits result;
    std::size_t pos = 0;
    if (text[pos] == '-') {
        result.negative = true;
        ++pos;
    }
    const std::size_t e_pos = text.find('e', pos);
    for (std::size_t i = pos; i < e_pos; ++i) {
        if (is_digit(text[i])) {
            result.digits += text[i];
        }
    }
    std::size_t exponent_start = e_pos + 1;
    if (text[exponent_start] == '+') {
        ++exponent_start;
    }
    std::from_chars(text.data() + exponent_start, text.data() + text.size(), result.exponent);
    return result;
}

// The magnitude scaled by 10^decimals and rounded to a whole number (halves
// away from zero), as a decimal digit string without leading zeros.
std::string round_to_decimals(const SignificantDigits& number, int decimals) {
    // Digits kept: those down to the 10^-decimals place.
    const int kept = number.exponent + decimals + 1;
    if (kept < 0) {
        return "0";
    }
    std::string scaled = number.digits.substr(0, static_cast<std::size_t>(kept));
    if (kept < static_cast<int>(number.digits.size())) {
        if (number.digits[static_cast<std::size_t>(kept)] >= '5') {
            // The digit string is exact, so a first dropped digit of 5 or more
            // means at least a half.
            auto digit = scaled.rbegin();
            for (; digit != scaled.rend() && *digit == '9'; ++digit) {
                *digit = '0';
            }
            if (digit == scaled.rend()) {
                scaled.insert(scaled.begin(), '1');
            } else {
                ++*digit;
            }
        }
    } else {
        scaled.append(static_cast<std::size_t>(kept) - number.digits.size(), '0');
    }
    const std::size_t first = scaled.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : scaled.substr(first);
}

std::string fixed_text(double value, int decimals, const std::string& separator) {
    if (!std::isfinite(value)) {
        return {};
    }
    const SignificantDigits number = to_significant_digits(value);
    std::string scaled = round_to_decimals(number, decimals);
    const auto width = static_cast<std::size_t>(decimals) + 1;
    if (scaled.size() < width) {
        scaled.insert(0, width - scaled.size(), '0');
    }
    std::string text;
    if (number.negative && !all_zero(scaled)) {
        text += '-';
    }
    const std::size_t integer_digits = scaled.size() - static_cast<std::size_t>(decimals);
    text.append(scaled, 0, integer_digits);
    text += separator;
    text.append(scaled, integer_digits);
    return text;
}

// The parts of a number text, without the separator and with the exponent as
// a number.
struct NumberParts {
    bool negative = false;
    std::string_view integer;
    std::string_view fraction;
    long long exponent = 0;
};

// Exponents this far out are beyond every double whatever the digits are;
// the cap keeps the arithmetic below from overflowing.
constexpr long long exponent_cap = 1'000'000'000;

// One tenth of the largest magnitude the formatters write: the largest double
// taken to 15 significant digits. That text is just above the largest double,
// so from_chars calls it out of range.
constexpr double largest_written_tenth = 1.79769313486232e307;

// Where the first significant digit sits, as a power of ten (1 for 1..9).
long long leading_power(const NumberParts& parts) {
    const std::size_t integer_start = parts.integer.find_first_not_of('0');
    if (integer_start != std::string_view::npos) {
        return static_cast<long long>(parts.integer.size() - integer_start) + parts.exponent;
    }
    const std::size_t fraction_start = parts.fraction.find_first_not_of('0');
    return -static_cast<long long>(fraction_start == std::string_view::npos ? parts.fraction.size()
                                                                            : fraction_start) +
           parts.exponent;
}

// Reads parts * 10^shift with from_chars, which ignores the locale.
std::from_chars_result read_scaled(const NumberParts& parts, long long shift, double& value) {
    std::string text = parts.negative ? "-" : "";
    text.append(parts.integer.empty() ? std::string_view("0") : parts.integer);
    if (!parts.fraction.empty()) {
        text += '.';
        text.append(parts.fraction);
    }
    text += 'e';
    text += std::to_string(parts.exponent + shift);
    const char* const end = text.data() + text.size();
    std::from_chars_result result = std::from_chars(text.data(), end, value);
    if (result.ec == std::errc{} && result.ptr != end) {
        result.ec = std::errc::invalid_argument;
    }
    return result;
}

std::optional<double> to_double(const NumberParts& parts) {
    double value = 0.0;
    const std::errc error = read_scaled(parts, 0, value).ec;
    if (error == std::errc{}) {
        return value;
    }
    if (error != std::errc::result_out_of_range) {
        return std::nullopt;
    }
    if (leading_power(parts) <= 0) {
        // Too small for a double: it reads as zero.
        return parts.negative ? -0.0 : 0.0;
    }
    // The largest double is written rounded up past itself; read that back
    // as the largest double rather than refusing it.
    double tenth = 0.0;
    if (read_scaled(parts, -1, tenth).ec == std::errc{} &&
        std::abs(tenth) <= largest_written_tenth) {
        const double largest = std::numeric_limits<double>::max();
        return parts.negative ? -largest : largest;
    }
    return std::nullopt;
}

} // namespace

NumberTexts::NumberTexts(std::string decimal_separator) : separator_(std::move(decimal_separator)) {
    if (separator_.empty()) {
        // Without a separator the decimals could not be read back.
        throw std::invalid_argument("decimal separator must not be empty");
    }
}

std::string NumberTexts::four_decimals(double value) const {
    return fixed_text(value, 4, separator_);
}

std::string NumberTexts::three_decimals(double value) const {
    return fixed_text(value, 3, separator_);
}

std::string NumberTexts::general(double value) const {
    if (!std::isfinite(value)) {
        return {};
    }
    if (value == 0.0) {
        return "0";
    }
    const SignificantDigits number = to_significant_digits(value);
    const std::string_view digits =
        std::string_view(number.digits).substr(0, number.digits.find_last_not_of('0') + 1);

    std::string text = number.negative ? "-" : "";
    if (number.exponent < -4 || number.exponent >= significant_digits) {
        text += digits[0];
        if (digits.size() > 1) {
            text += separator_;
            text.append(digits.substr(1));
        }
        text += 'E';
        text += number.exponent < 0 ? '-' : '+';
        const std::string exponent = std::to_string(std::abs(number.exponent));
        if (exponent.size() < 2) {
            text += '0';
        }
        text += exponent;
    } else if (number.exponent < 0) {
        text += '0';
        text += separator_;
        text.append(static_cast<std::size_t>(-number.exponent - 1), '0');
        text.append(digits);
    } else {
        const auto integer_digits = static_cast<std::size_t>(number.exponent) + 1;
        if (digits.size() <= integer_digits) {
            text.append(digits);
            text.append(integer_digits - digits.size(), '0');
        } else {
            text.append(digits.substr(0, integer_digits));
            text += separator_;
            text.append(digits.substr(integer_digits));
        }
    }
    return text;
}

std::optional<double> NumberTexts::parse(std::string_view text) const {
    std::size_t pos = 0;
    const auto take = [&](char c) {
        const bool found = pos < text.size() && text[pos] == c;
        if (found) {
            ++pos;
        }
        return found;
    };
    const auto take_digits = [&] {
        const std::size_t start = pos;
        while (pos < text.size() && is_digit(text[pos])) {
            ++pos;
        }
        return text.substr(start, pos - start);
    };

    NumberParts parts;
    parts.negative = take('-');
    if (!parts.negative) {
        take('+');
    }
    parts.integer = take_digits();
    if (text.substr(pos).starts_with(separator_)) {
        pos += separator_.size();
        parts.fraction = take_digits();
    }
    if (parts.integer.empty() && parts.fraction.empty()) {
        return std::nullopt;
    }
    if (take('E') || take('e')) {
        const bool exponent_negative = take('-');
        if (!exponent_negative) {
            take('+');
        }
        const std::string_view digits = take_digits();
        if (digits.empty()) {
            return std::nullopt;
        }
        for (const char c : digits) {
            parts.exponent = std::min(parts.exponent * 10 + (c - '0'), exponent_cap);
        }
        if (exponent_negative) {
            parts.exponent = -parts.exponent;
        }
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return to_double(parts);
}

} // namespace kastrel::host
