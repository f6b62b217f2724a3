#pragma once

#include "export/export_request.h"
#include "export/hit_reader.h"
#include "export/number_text.h"

#include <optional>
#include <string>

namespace kastrel::exporter {

// What one hit gives in the plane of the switch that is on. A value whose
// inputs are missing is missing too (an empty text); with no switch on,
// nothing is computed.
struct PlaneValues {
    std::optional<double> polar_radius;
    std::string radial_deviation_text; // TheoDiam / 2 - polar radius
    std::string x_difference_text;     // actual - nominal
    std::string y_difference_text;
    std::string depth_text; // the nominal coordinate across the plane
};

// Each switch that is on is handled in the order XY, XZ, YZ; a later one
// overwrites what an earlier one set.
PlaneValues plane_block(const PlaneSwitches& planes, const HitCoordinates& hit,
                        std::optional<double> theo_diam, const NumberTexts& texts);

// A number's "###0.0000" text, or empty when the number is missing.
std::string four_decimals_or_empty(std::optional<double> value, const NumberTexts& texts);

} // namespace kastrel::exporter
