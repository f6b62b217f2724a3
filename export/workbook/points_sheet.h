#pragma once

#include "export/output_line.h"
#include "export/workbook/workbook_file.h"
#include "host/number_text.h"

#include <cstdint>
#include <vector>

namespace kastrel::exporter {

// The sheet "Messpunkte": the lines of the text file of the same run, one row
// per line from A1, one cell per field. A number is a number cell with the
// decimals of its text and the value the text shows, read back by the rules
// that wrote it; a text is a text cell; an empty field is no cell.
class PointsSheet {
public:
    PointsSheet(WorkbookFile& workbook, const host::NumberTexts& numbers);

    // The next row; throws FileError (Kind::TooManyRows) past the sheet's last row.
    void write(const OutputLine& line);
    // Columns as wide as their contents; with `header` the first row stays
    // in view while scrolling.
    void finish(bool header);

private:
    const host::NumberTexts& numbers_;
    lxw_worksheet* sheet_;
    lxw_format* four_decimals_;
    lxw_format* three_decimals_;
    std::uint32_t row_ = 0;
    std::vector<std::size_t> widths_; // characters, per column
};

} // namespace kastrel::exporter
