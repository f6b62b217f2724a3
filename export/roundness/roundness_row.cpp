#include "export/roundness/roundness_row.h"

#include <algorithm>
#include <cmath>

namespace kastrel::exporter {

RoundnessCell RoundnessRow::cell(std::size_t column) const {
    switch (column) {
    case 0:
        return id;
    case 1:
        return plane;
    case 2:
        return static_cast<double>(points);
    default:
        break;
    }
    if (!circle)
        return {};
    const double diameter = 2 * circle->radius;
    switch (column) {
    case 3:
        return circle->centre.first;
    case 4:
        return circle->centre.second;
    case 5:
        return diameter;
    case 6:
        return theo_diam ? RoundnessCell(*theo_diam) : RoundnessCell();
    case 7:
        return theo_diam ? RoundnessCell(diameter - *theo_diam) : RoundnessCell();
    case 8:
        return circle->roundness();
    default:
        break;
    }
    if (!nominal_centre)
        return {};
    const double offset_first = circle->centre.first - nominal_centre->first;
    const double offset_second = circle->centre.second - nominal_centre->second;
    switch (column) {
    case 9:
        return nominal_centre->first;
    case 10:
        return nominal_centre->second;
    case 11:
        return offset_first;
    case 12:
        return offset_second;
    case 13:
        // The position zone's diameter about the nominal centre (ISO 1101).
        return 2 * plane_distance(offset_first, offset_second);
    default:
        return {};
    }
}

std::optional<PlanePoint> nominal_centre(const std::vector<PlanePoint>& nominals) {
    if (nominals.size() < 3)
        return std::nullopt;
    // A host may give the feature's nominal centre as every hit's nominal.
    const PlanePoint& first = nominals.front();
    if (std::all_of(nominals.begin(), nominals.end(), [&](const PlanePoint& p) {
            return p.first == first.first && p.second == first.second;
        }))
        return first;
    const auto fit = fit_circle(nominals);
    if (!fit)
        return std::nullopt;
    return fit->centre;
}

std::vector<RoundnessRow> evaluate(const std::vector<FeatureBlock>& blocks,
                                   const std::string& plane) {
    std::vector<RoundnessRow> rows;
    if (plane.empty())
        return rows;
    rows.reserve(blocks.size());
    std::vector<PlanePoint> nominals;
    for (const FeatureBlock& block : blocks) {
        RoundnessRow& row = rows.emplace_back();
        row.id = block.id;
        row.plane = plane;
        row.points = block.points.size();
        row.theo_diam = block.theo_diam;
        row.circle = fit_circle(block.points);
        if (!row.circle)
            continue;
        row.hits = block.points;
        nominals.clear();
        for (const auto& nominal : block.nominals)
            if (nominal)
                nominals.push_back(*nominal);
        row.nominal_centre = nominal_centre(nominals);
    }
    return rows;
}

} // namespace kastrel::exporter
