#pragma once

#include "export/roundness/circle_fit.h"

#include <span>
#include <vector>

namespace kastrel::exporter {

// A magnified polar plot of a form (ISO 4291) as plain x/y coordinates, for a
// chart that has no polar type: every point at its angle about the circle's
// centre, at the circle's radius plus its radial deviation times the
// magnification, about the origin: the plot shows form, not position.
struct PolarPlot {
    double magnification = 1;       // 1, 2 or 5 times a power of ten
    std::vector<PlanePoint> form;   // by angle, closed: the first point again at the end
    std::vector<PlanePoint> circle; // the reference circle (deviation 0), closed
    std::vector<PlanePoint> inner;  // the smallest deviation: the RONt zone's inner circle
    std::vector<PlanePoint> outer;  // the largest deviation: its outer circle
    double extent = 0;              // both axes from -extent to +extent
};

// The magnification is the largest round number that draws the largest
// deviation at no more than a quarter of the radius: the form is clearly
// seen, and never crosses the centre.
PolarPlot polar_plot(const CircleFit& fit, std::span<const PlanePoint> points);

} // namespace kastrel::exporter
