#pragma once

#include "export/export_request.h"
#include "export/field_texts.h"
#include "export/number_text.h"
#include "export/output_line.h"
#include "export/plane_block.h"

#include <string>

namespace kastrel::exporter {

// The Option 4 header: the column titles, TAB separated.
OutputLine option4_header();

// What the hit record and the Option 4 row need of one hit.
struct HitRecord {
    double hit_number = 0;   // j, from 1
    std::string radius_text; // polar radius, "###0.000"; empty when missing
    double angle_step = 0;   // 360 / N
    double hit_angle = 0;    // 360 / N * j - 360 / N
};

HitRecord hit_record(double hit_number, double hit_count, const PlaneValues& plane,
                     const NumberTexts& texts);

// The output line of one hit under the chosen option (not None).
OutputLine output_line(OutputOption option, const PlaneSwitches& planes, const HitCoordinates& hit,
                       const PlaneValues& plane, const HitRecord& record, FieldTexts& fields);

} // namespace kastrel::exporter
