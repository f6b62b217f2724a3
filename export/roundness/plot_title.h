#pragma once

#include "host/number_text.h"

#include <string>

namespace kastrel::exporter {

// A polar plot's title, as the workbook's chart and the window both show it:
// the feature's ID, its roundness and the plot's magnification.
std::string plot_title(const std::string& id, double roundness, double magnification,
                       const host::NumberTexts& numbers);

} // namespace kastrel::exporter
