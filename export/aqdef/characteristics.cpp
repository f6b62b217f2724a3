#include "export/aqdef/characteristics.h"

#include <array>
#include <unordered_map>
#include <unordered_set>

namespace kastrel::exporter {
namespace {

// The sheet's columns the values come from.
constexpr std::size_t diameter_column = 5;
constexpr std::size_t roundness_column = 8;
constexpr std::size_t first_offset_column = 11;
constexpr std::size_t second_offset_column = 12;
constexpr std::size_t position_column = 13;

std::array<std::string, 2> plane_axes(const std::string& plane) {
    if (plane.size() == 2)
        return {std::string(1, plane[0]), std::string(1, plane[1])};
    return {"1", "2"};
}

std::optional<double> value_of(const RoundnessRow& row, std::size_t column) {
    const RoundnessCell cell = row.cell(column);
    if (const double* value = std::get_if<double>(&cell))
        return *value;
    return std::nullopt;
}

} // namespace

std::vector<Characteristic> characteristics(const std::vector<RoundnessRow>& rows) {
    std::vector<Characteristic> all;
    all.reserve(rows.size() * 5);
    std::unordered_map<std::string, int> taken; // per ID, the last suffix given
    std::unordered_set<std::string> numbers;
    for (const RoundnessRow& row : rows) {
        int& occurrence = taken[row.id];
        std::string number = ++occurrence == 1 ? row.id : row.id + "#" + std::to_string(occurrence);
        // An ID that itself reads "A#2" must not meet the second "A".
        while (!numbers.insert(number).second)
            number = row.id + "#" + std::to_string(++occurrence);
        const auto [first, second] = plane_axes(row.plane);
        all.push_back({number + ".D", row.id + " Durchmesser", row.theo_diam,
                       value_of(row, diameter_column)});
        all.push_back(
            {number + ".RON", row.id + " Rundheit", 0.0, value_of(row, roundness_column)});
        all.push_back({number + "." + first, row.id + " Versatz " + first, 0.0,
                       value_of(row, first_offset_column)});
        all.push_back({number + "." + second, row.id + " Versatz " + second, 0.0,
                       value_of(row, second_offset_column)});
        all.push_back({number + ".POS", row.id + " Position", 0.0, value_of(row, position_column)});
    }
    return all;
}

} // namespace kastrel::exporter
