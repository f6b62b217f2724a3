#include "export/output_lines.h"

namespace kastrel::exporter {
namespace {

std::string option4_row(const PlaneSwitches& planes, const PlaneValues& plane,
                        const HitRecord& record, FieldTexts& fields) {
    if (!planes.xy && !planes.xz && !planes.yz)
        return {};
    // The angle is formed again from the same terms, so it prints the same digits.
    const double angle = record.angle_step * record.hit_number - record.angle_step;
    std::string row = fields.general(record.hit_number);
    row.reserve(48);
    row += '\t';
    fields.computed(plane.polar_radius); // its text is the hit record's
    row += record.radius_text;
    row += '\t';
    row += fields.general(angle);
    row += '\t';
    row += fields.four_decimals(plane.depth);
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
                        const PlaneValues& plane, const HitRecord& record, FieldTexts& fields) {
    switch (option) {
    case OutputOption::Option1:
        return fields.four_decimals(plane.radial_deviation);
    case OutputOption::Option2:
        return fields.four_decimals(hit.actual.x) + ';' + fields.four_decimals(hit.actual.y);
    case OutputOption::Option3:
        return fields.four_decimals(plane.x_difference) + ';' +
               fields.four_decimals(plane.y_difference);
    case OutputOption::Option4:
        return option4_row(planes, plane, record, fields);
    case OutputOption::None:
        break;
    }
    return {};
}

} // namespace kastrel::exporter
