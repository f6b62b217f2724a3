#pragma once

#include <cmath>
#include <optional>
#include <span>

namespace kastrel::exporter {

// The length of (dx, dy), the same to the last bit on every platform (the C
// libraries' hypot differ there), so that the AQDEF file that a value line
// continues reads alike from every build. The evaluation's lengths are far
// from overflow.
inline double plane_distance(double dx, double dy) {
    return std::sqrt(dx * dx + dy * dy);
}

// A point in the plane of the evaluation: its two coordinates, on the
// plane's first and second axis (X and Y for XY, X and Z for XZ, Y and Z for YZ).
struct PlanePoint {
    double first = 0;
    double second = 0;
};

// The least-squares reference circle of a set of points and their form
// deviation from it.
struct CircleFit {
    PlanePoint centre;
    double radius = 0;
    // The smallest and the largest radial deviation (a point's distance from
    // the centre minus the radius); RONt is their difference.
    double smallest_deviation = 0;
    double largest_deviation = 0;
    int iterations = 0; // Gauss-Newton steps taken

    double roundness() const noexcept { return largest_deviation - smallest_deviation; }
    double deviation(PlanePoint point) const;
};

// The circle that minimises the sum of the squared radial deviations, to full
// double precision; nothing for fewer than 3 points, for points that define no
// circle (all on one line) and when the iteration does not converge.
std::optional<CircleFit> fit_circle(std::span<const PlanePoint> points);

} // namespace kastrel::exporter
