#pragma once

#include "export/roundness/circle_fit.h"
#include "export/roundness/feature_block.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kastrel::exporter {

// The evaluation's columns A..N, titled as the sheet "Rundheit" titles them.
inline constexpr std::size_t roundness_columns = 14;
inline constexpr std::array<const char*, roundness_columns> roundness_titles = {
    "Merkmal",      "Ebene",           "Punkte",     "Mitte 1",  "Mitte 2",
    "Durchmesser",  "Nenndurchmesser", "Abweichung", "Rundheit", "Soll Mitte 1",
    "Soll Mitte 2", "Versatz 1",       "Versatz 2",  "Position"};

// A cell of the evaluation: nothing, a text (A, B) or a number (C..N).
using RoundnessCell = std::variant<std::monostate, std::string, double>;

// One evaluated feature block: where its bore is, how large and how round,
// and where it should be. Every presentation reads it through cell(), so that
// none can disagree with another.
struct RoundnessRow {
    std::string id;
    std::string plane;
    std::size_t points = 0; // the hits that entered the fit (C)
    std::optional<double> theo_diam;
    std::optional<CircleFit> circle;          // none where the hits define no circle
    std::optional<PlanePoint> nominal_centre; // only beside a circle
    std::vector<PlanePoint> hits;             // for the polar plot

    // Column `column` (0 for A .. 13 for N): empty exactly where the sheet's
    // cell is empty.
    RoundnessCell cell(std::size_t column) const;
};

// The centre of the nominal circle: the least-squares circle of the nominal
// points, or their one point if all coincide; nothing for fewer than 3 or
// where they define no circle.
std::optional<PlanePoint> nominal_centre(const std::vector<PlanePoint>& nominals);

// One row per block, in order; none when `plane` is empty (no plane switch
// on: nothing to evaluate).
std::vector<RoundnessRow> evaluate(const std::vector<FeatureBlock>& blocks,
                                   const std::string& plane);

} // namespace kastrel::exporter
