#include "export/workbook/workbook_output.h"

#include "host/number_text.h"

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

// The hit's actual coordinates on the plane's two axes, when both were read.
std::optional<PlanePoint> in_plane(const PlaneSwitches& planes, const HitCoordinates& hit) {
    const Coordinates& a = hit.actual;
    std::optional<double> first, second;
    if (planes.yz) {
        first = a.y;
        second = a.z;
    } else if (planes.xz) {
        first = a.x;
        second = a.z;
    } else if (planes.xy) {
        first = a.x;
        second = a.y;
    }
    if (!first || !second)
        return std::nullopt;
    return PlanePoint{*first, *second};
}

} // namespace

WorkbookOutput::WorkbookOutput(ExportFile& file, const ExportRequest& request)
    : file_(file), request_(request), numbers_(request.decimal_separator),
      workbook_(scratch_, request.creator), points_(workbook_, numbers_) {
    if (request.evaluate_roundness)
        roundness_.emplace(workbook_, plane_name(request.planes));
}

void WorkbookOutput::write_line(const OutputLine& line) {
    const CNumbers::Scope c(c_numbers_);
    points_.write(line);
}

void WorkbookOutput::begin_feature(const std::string& id, std::optional<double> theo_diam) {
    if (roundness_)
        blocks_.push_back({id, theo_diam, {}});
}

void WorkbookOutput::hit_read(const HitCoordinates& hit) {
    if (blocks_.empty())
        return;
    if (const auto point = in_plane(request_.planes, hit))
        blocks_.back().points.push_back(*point);
}

void WorkbookOutput::commit() {
    {
        const CNumbers::Scope c(c_numbers_);
        points_.finish(request_.option == OutputOption::Option4);
        if (roundness_)
            roundness_->write(blocks_, numbers_);
        workbook_.close();
    }
    scratch_.read([this](std::string_view bytes) { file_.write_bytes(bytes); });
    file_.commit();
}

} // namespace kastrel::exporter
