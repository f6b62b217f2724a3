#include "export/workbook/points_sheet.h"

#include <algorithm>

namespace kastrel::exporter {
namespace {

// Excel's standard column width, in characters.
constexpr double standard_width = 8.43;

} // namespace

PointsSheet::PointsSheet(WorkbookFile& workbook, const host::NumberTexts& numbers)
    : numbers_(numbers), sheet_(workbook.add_sheet("Messpunkte")),
      four_decimals_(workbook.number_format("0.0000")),
      three_decimals_(workbook.number_format("0.000")) {}

void PointsSheet::write(const OutputLine& line) {
    if (row_ >= LXW_ROW_MAX)
        throw FileError({FileFailure::Kind::TooManyRows,
                         FileFailure::CodeKind::Library,
                         static_cast<int>(LXW_ROW_MAX),
                         {}});
    if (widths_.size() < line.size())
        widths_.resize(line.size());
    lxw_col_t column = 0;
    for (const Field& field : line) {
        if (field.is_number()) {
            lxw_format* format = field.kind == Field::Kind::FourDecimals    ? four_decimals_
                                 : field.kind == Field::Kind::ThreeDecimals ? three_decimals_
                                                                            : nullptr;
            const double value = numbers_.parse(field.text).value_or(0.0);
            check(worksheet_write_number(sheet_, row_, column, value, format));
        } else if (!field.text.empty()) {
            write_text(sheet_, row_, column, field.text);
        }
        widths_[column] = std::max(widths_[column], field.text.size());
        ++column;
    }
    ++row_;
}

void PointsSheet::finish(bool header) {
    for (std::size_t column = 0; column < widths_.size(); ++column) {
        const double width = std::max(standard_width, static_cast<double>(widths_[column]) + 2);
        const auto col = static_cast<lxw_col_t>(column);
        check(worksheet_set_column(sheet_, col, col, width, nullptr));
    }
    if (header)
        worksheet_freeze_panes(sheet_, 1, 0);
}

} // namespace kastrel::exporter
