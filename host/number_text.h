#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kastrel::host {

// Numbers as text under the user's regional settings, as the host platform
// converts them: every number the export writes and every host value that is
// taken as text or read from text goes through here, with one set of rules.
// The separator is the user's regional decimal separator, as bytes.
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
    // A number in the regional form read back: optional sign, digits, the
    // separator and digits, optional exponent ("-1,5E+01"). Nothing for any
    // other text: no spaces, no grouping, no other separator.
    std::optional<double> parse(std::string_view text) const;

    const std::string& decimal_separator() const noexcept { return separator_; }

private:
    std::string separator_;
};

} // namespace kastrel::host
