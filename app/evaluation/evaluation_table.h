#pragma once

#include "export/roundness/roundness_row.h"
#include "host/number_text.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kastrel::app {

// A cell of the evaluation as the window shows it: lengths with four
// decimals and the user's separator, the point count whole, empty where the
// sheet's cell is empty.
std::string shown_cell(const exporter::RoundnessRow& row, std::size_t column,
                       const host::NumberTexts& numbers);

// The same cell for a program to read: "." and the shortest text that reads
// back to the same double.
std::string exact_cell(const exporter::RoundnessRow& row, std::size_t column);

// The titles, then one line per row, fields separated by TAB, each line
// ended by "\n": the window's clipboard text (`numbers` given) or the
// command line's (`numbers` null).
std::string tab_separated(const std::vector<exporter::RoundnessRow>& rows,
                          const host::NumberTexts* numbers);

} // namespace kastrel::app
