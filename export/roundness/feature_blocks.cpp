#include "export/roundness/feature_blocks.h"

namespace kastrel::exporter {
namespace {

// The plane of the evaluation: the switch that is on (the last one, in the
// order XY, XZ, YZ, as in the plane block, should several be).
const char* plane_name(const PlaneSwitches& planes) {
    if (planes.yz)
        return "YZ";
    if (planes.xz)
        return "XZ";
    if (planes.xy)
        return "XY";
    return "";
}

// The coordinates on the plane's two axes, when both were read.
std::optional<PlanePoint> in_plane(const PlaneSwitches& planes, const Coordinates& c) {
    std::optional<double> first, second;
    if (planes.yz) {
        first = c.y;
        second = c.z;
    } else if (planes.xz) {
        first = c.x;
        second = c.z;
    } else if (planes.xy) {
        first = c.x;
        second = c.y;
    }
    if (!first || !second)
        return std::nullopt;
    return PlanePoint{*first, *second};
}

} // namespace

FeatureBlocks::FeatureBlocks(const PlaneSwitches& planes, bool nominals)
    : planes_(planes), nominals_(nominals), plane_(plane_name(planes)) {}

void FeatureBlocks::begin_feature(const std::string& id, std::optional<double> theo_diam) {
    blocks_.push_back({id, theo_diam, {}, {}});
}

void FeatureBlocks::hit_read(const HitCoordinates& hit) {
    if (blocks_.empty())
        return;
    const auto point = in_plane(planes_, hit.actual);
    if (!point)
        return;
    FeatureBlock& block = blocks_.back();
    block.points.push_back(*point);
    block.nominals.push_back(nominals_ ? in_plane(planes_, hit.nominal) : std::nullopt);
}

} // namespace kastrel::exporter
