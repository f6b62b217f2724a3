#pragma once

#include "export/roundness/circle_fit.h"

#include <optional>
#include <string>
#include <vector>

namespace kastrel::exporter {

// One written feature block as the evaluation takes it from the run: the
// feature's ID as listed, its TheoDiam if read, and the actual coordinates of
// its hits in the plane of the evaluation (a hit with either unread is left out).
struct FeatureBlock {
    std::string id;
    std::optional<double> theo_diam;
    std::vector<PlanePoint> points;
    // One per point: the same hit's nominal coordinates in the plane, where
    // both were read.
    std::vector<std::optional<PlanePoint>> nominals;
};

} // namespace kastrel::exporter
