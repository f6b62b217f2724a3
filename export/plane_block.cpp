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
                     std::optional<double> theo_diam, const NumberTexts& texts,
                     PlaneValues& values) {
    values.polar_radius.reset();
    if (a && b)
        values.polar_radius = std::sqrt(*a * *a + *b * *b);
    std::optional<double> deviation;
    if (theo_diam && values.polar_radius)
        deviation = *theo_diam / 2 - *values.polar_radius;
    values.radial_deviation_text = four_decimals_or_empty(deviation, texts);
}

} // namespace

std::string four_decimals_or_empty(std::optional<double> value, const NumberTexts& texts) {
    return value ? texts.four_decimals(*value) : std::string();
}

PlaneValues plane_block(const PlaneSwitches& planes, const HitCoordinates& hit,
                        std::optional<double> theo_diam, const NumberTexts& texts) {
    const Coordinates& a = hit.actual;
    const Coordinates& n = hit.nominal;
    PlaneValues values;
    if (planes.xy) {
        radius_in_plane(a.y, a.x, theo_diam, texts, values);
        values.x_difference_text = four_decimals_or_empty(difference(a.x, n.x), texts);
        values.y_difference_text = four_decimals_or_empty(difference(a.y, n.y), texts);
        values.depth_text = four_decimals_or_empty(n.z, texts);
    }
    if (planes.xz) {
        radius_in_plane(a.x, a.z, theo_diam, texts, values);
        values.x_difference_text = four_decimals_or_empty(difference(a.x, n.x), texts);
        values.depth_text = four_decimals_or_empty(n.y, texts);
    }
    if (planes.yz) {
        radius_in_plane(a.y, a.z, theo_diam, texts, values);
        values.y_difference_text = four_decimals_or_empty(difference(a.y, n.y), texts);
        values.depth_text = four_decimals_or_empty(n.x, texts);
    }
    return values;
}

} // namespace kastrel::exporter
