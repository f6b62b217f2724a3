#include "export/output_lines.h"

namespace kastrel::exporter {
namespace {

OutputLine option4_row(const PlaneSwitches& planes, const PlaneValues& plane,
                       const HitRecord& record, FieldTexts& fields) {
    OutputLine row('\t');
    if (!planes.xy && !planes.xz && !planes.yz)
        return row;
    // The angle is formed again from the same terms, so it prints the same digits.
    const double angle = record.angle_step * record.hit_number - record.angle_step;
    row.add(fields.general(record.hit_number));
    fields.computed(plane.polar_radius); // its text is the hit record's
    row.add(fields.number(Field::Kind::ThreeDecimals, record.radius_text));
    row.add(fields.general(angle));
    row.add(fields.four_decimals(plane.depth));
    return row;
}

OutputLine pair(Field first, Field second) {
    OutputLine line(';');
    line.add(std::move(first)).add(std::move(second));
    return line;
}

} // namespace

OutputLine option4_header() {
    OutputLine header('\t');
    header.add_text("Nummer").add_text("PR").add_text("PW").add_text("Tiefe");
    return header;
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

OutputLine output_line(OutputOption option, const PlaneSwitches& planes, const HitCoordinates& hit,
                       const PlaneValues& plane, const HitRecord& record, FieldTexts& fields) {
    switch (option) {
    case OutputOption::Option1:
        return OutputLine().add(fields.four_decimals(plane.radial_deviation));
    case OutputOption::Option2:
        return pair(fields.four_decimals(hit.actual.x), fields.four_decimals(hit.actual.y));
    case OutputOption::Option3:
        return pair(fields.four_decimals(plane.x_difference),
                    fields.four_decimals(plane.y_difference));
    case OutputOption::Option4:
        return option4_row(planes, plane, record, fields);
    case OutputOption::None:
        break;
    }
    return OutputLine();
}

} // namespace kastrel::exporter
