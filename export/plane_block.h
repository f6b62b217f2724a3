#pragma once

#include "export/export_request.h"
#include "export/hit_reader.h"

#include <optional>

namespace kastrel::exporter {

// What one hit gives in the plane of the switch that is on. A value whose
// inputs are missing is missing too (an empty text in the file); with no
// switch on, nothing is computed. The output line makes the texts it needs.
struct PlaneValues {
    std::optional<double> polar_radius;
    std::optional<double> radial_deviation; // TheoDiam / 2 - polar radius
    std::optional<double> x_difference;     // actual - nominal
    std::optional<double> y_difference;
    std::optional<double> depth; // the nominal coordinate across the plane
};

// Each switch that is on is handled in the order XY, XZ, YZ; a later one
// overwrites what an earlier one set.
PlaneValues plane_block(const PlaneSwitches& planes, const HitCoordinates& hit,
                        std::optional<double> theo_diam);

} // namespace kastrel::exporter
