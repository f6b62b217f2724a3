#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kastrel::exporter {

// The number texts of the export file. Every number in the file is made here,
// with one set of rules, and read back here by the same rules. The separator
// is the user's regional decimal separator, as the bytes to be written.
// A value that is not finite gives an empty text: it could not be computed.
class NumberTexts {
public:
    explicit NumberTexts(std::string decimal_separator);

    // "###0.0000": four decimals, halves away from zero, after the value has
    // first been taken to 15 significant digits. A zero result has no sign.
    std::string four_decimals(double value) const;
    // "###0.000": the same with three decimals.
    std::string three_decimals(double value) const;
    // General number text: up to 15 significant digits, no trailing zeros,
    // exponent form below 1E-04 and from 1E15 on (1E-05, 1,23456789012346E+15).
    std::string general(double value) const;
    // A text made by the functions above (or typed by hand with the same
    // separator) read back as a number; nothing if it is no number.
    std::optional<double> parse(std::string_view text) const;

    const std::string& decimal_separator() const noexcept { return separator_; }

private:
    std::string separator_;
};

} // namespace kastrel::exporter
