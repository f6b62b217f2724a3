#include "export/plane_block.h"

#include <cmath>

namespace kastrel::exporter {
namespace {

std::optional<double> difference(std::optional<double> actual, std::optional<double> nominal) {
    if (!actual || !nominal)
        return std::nullopt;
    return *actual - *nominal;
}

// The plane's two actual coordinates a and b; the radius is measured from the
// origin of the host's coordinates, not from the feature's centre.
void radius_in_plane(std::optional<double> a, std::optional<double> b,
                     std::optional<double> theo_diam, PlaneValues& values) {
    values.polar_radius.reset();
    values.radial_deviation.reset();
    if (a && b)
        values.polar_radius = std::sqrt(*a * *a + *b * *b);
    if (theo_diam && values.polar_radius)
        values.radial_deviation = *theo_diam / 2 - *values.polar_radius;
}

} // namespace

PlaneValues plane_block(const PlaneSwitches& planes, const HitCoordinates& hit,
                        std::optional<double> theo_diam) {
    const Coordinates& a = hit.actual;
    const Coordinates& n = hit.nominal;
    PlaneValues values;
    if (planes.xy) {
        radius_in_plane(a.y, a.x, theo_diam, values);
        values.x_difference = difference(a.x, n.x);
        values.y_difference = difference(a.y, n.y);
        values.depth = n.z;
    }
    if (planes.xz) {
        radius_in_plane(a.x, a.z, theo_diam, values);
        values.x_difference = difference(a.x, n.x);
        values.depth = n.y;
    }
    if (planes.yz) {
        radius_in_plane(a.y, a.z, theo_diam, values);
        values.y_difference = difference(a.y, n.y);
        values.depth = n.x;
    }
    return values;
}

} // namespace kastrel::exporter
