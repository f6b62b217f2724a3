#include "app/evaluation/evaluation_table.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace kastrel::app {
namespace {

constexpr std::size_t points_column = 2;

template <typename Number>
std::string cell_text(const exporter::RoundnessRow& row, std::size_t column, Number number) {
    const exporter::RoundnessCell cell = row.cell(column);
    if (const auto* text = std::get_if<std::string>(&cell))
        return *text;
    if (const auto* value = std::get_if<double>(&cell))
        return number(*value);
    return {};
}

} // namespace

std::string shown_cell(const exporter::RoundnessRow& row, std::size_t column,
                       const host::NumberTexts& numbers) {
    return cell_text(row, column, [&](double value) {
        // A count, as the sheet shows it.
        if (column == points_column)
            return std::to_string(std::llround(value));
        return numbers.four_decimals(value);
    });
}

std::string exact_cell(const exporter::RoundnessRow& row, std::size_t column) {
    return cell_text(row, column, [](double value) {
        char text[32];
        const auto [end, error] = std::to_chars(text, text + sizeof text, value);
        return error == std::errc{} ? std::string(text, end) : std::string();
    });
}

std::string tab_separated(const std::vector<exporter::RoundnessRow>& rows,
                          const host::NumberTexts* numbers) {
    std::string text;
    for (std::size_t column = 0; column < exporter::roundness_columns; ++column) {
        if (column > 0)
            text += '\t';
        text += exporter::roundness_titles[column];
    }
    text += '\n';
    for (const exporter::RoundnessRow& row : rows) {
        for (std::size_t column = 0; column < exporter::roundness_columns; ++column) {
            if (column > 0)
                text += '\t';
            text += numbers ? shown_cell(row, column, *numbers) : exact_cell(row, column);
        }
        text += '\n';
    }
    return text;
}

} // namespace kastrel::app
