#pragma once

#include "export/aqdef/aqdef_text.h"
#include "export/roundness/roundness_row.h"

#include <vector>

namespace kastrel::exporter {

// Five characteristics per evaluated row, in the rows' order: diameter,
// roundness, the offsets on the plane's two axes, position. A row whose ID
// an earlier row had takes "#2", "#3", … after the ID in its numbers, so
// that every number is unique.
std::vector<Characteristic> characteristics(const std::vector<RoundnessRow>& rows);

} // namespace kastrel::exporter
