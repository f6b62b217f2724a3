#pragma once

#include "export/export_request.h"
#include "export/hit_reader.h"
#include "export/roundness/feature_block.h"

#include <optional>
#include <string>
#include <vector>

namespace kastrel::exporter {

// The written feature blocks with their hits in the plane of the evaluation,
// as any output collects them from the run's begin_feature() and hit_read().
class FeatureBlocks {
public:
    // `nominals`: whether the hits' nominal points are kept; off only to
    // measure what the nominal evaluation costs.
    explicit FeatureBlocks(const PlaneSwitches& planes, bool nominals = true);

    void begin_feature(const std::string& id, std::optional<double> theo_diam);
    void hit_read(const HitCoordinates& hit);

    const std::vector<FeatureBlock>& blocks() const noexcept { return blocks_; }
    // "XY", "XZ" or "YZ" for the plane switch that is on; empty for none.
    const std::string& plane() const noexcept { return plane_; }

private:
    PlaneSwitches planes_;
    bool nominals_;
    std::string plane_;
    std::vector<FeatureBlock> blocks_;
};

} // namespace kastrel::exporter
