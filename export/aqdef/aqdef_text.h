#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kastrel::exporter {

// One characteristic of an AQDEF file: how it is described and, for this
// run, its measured value (none where the evaluation has none). Texts UTF-8.
struct Characteristic {
    std::string number;            // K2001
    std::string description;       // K2002
    std::optional<double> nominal; // K2101
    std::optional<double> value;
};

// The description's K-field lines, in Windows-1252, each ending in CR LF.
std::string description_lines(std::string_view part, const std::vector<Characteristic>& all);

// The run's value line: each characteristic's value, attribute and date/time
// (K0001, K0002, K0004), fields separated by 0x14, characteristics by 0x0F;
// ends in CR LF. `began` is local time.
std::string value_line(const std::vector<Characteristic>& all, const std::tm& began);

// The shortest text that reads back to the same double, with "." and without
// an exponent, whatever the regional settings.
std::string aqdef_number(double value);

// "DD.MM.YYYY/HH:MM:SS".
std::string aqdef_time(const std::tm& time);

} // namespace kastrel::exporter
