#include "export/output_lines.h"

namespace kastrel::exporter {
namespace {

std::string option4_row(const PlaneSwitches& planes, const PlaneValues& plane,
                        const HitRecord& record, const NumberTexts& texts) {
    if (!planes.xy && !planes.xz && !planes.yz)
        return {};
    // The angle is formed again from the same terms, so it prints the same digits.
    const double angle = record.angle_step * record.hit_number - record.angle_step;
    std::string row = texts.general(record.hit_number);
    row.reserve(48);
    row += '\t';
    row += record.radius_text;
    row += '\t';
    row += texts.general(angle);
    row += '\t';
    row += four_decimals_or_empty(plane.depth, texts);
    return row;
}

} // namespace

std::string option4_header() {
    return "Nummer\tPR\tPW\tTiefe";
}

HitRecord hit_record(double hit_number, double hit_count, const PlaneValues& plane,
                     const NumberTexts& texts) {
    HitRecord record;
    record.hit_number = hit_number;
    if (plane.polar_radius)
        record.radius_text = texts.three_decimals(*plane.polar_radius);
    record.angle_step = 360 / hit_count;
    // W - step, not (j - 1) * step: the order shows in the last printed digit.
    const double w = record.angle_step * hit_number;
    record.hit_angle = w - record.angle_step;
    return record;
}

std::string output_line(OutputOption option, const PlaneSwitches& planes, const HitCoordinates& hit,
                        const PlaneValues& plane, const HitRecord& record,
                        const NumberTexts& texts) {
    switch (option) {
    case OutputOption::Option1:
        return four_decimals_or_empty(plane.radial_deviation, texts);
    case OutputOption::Option2:
        return four_decimals_or_empty(hit.actual.x, texts) + ';' +
               four_decimals_or_empty(hit.actual.y, texts);
    case OutputOption::Option3:
        return four_decimals_or_empty(plane.x_difference, texts) + ';' +
               four_decimals_or_empty(plane.y_difference, texts);
    case OutputOption::Option4:
        return option4_row(planes, plane, record, texts);
    case OutputOption::None:
        break;
    }
    return {};
}

} // namespace kastrel::exporter
