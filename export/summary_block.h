#pragma once

#include "export/field_texts.h"
#include "export/output_line.h"

#include <optional>
#include <string>
#include <vector>

namespace kastrel::exporter {

// The radius and angle tables of one run, indexed by hit number, and the
// summary block made from them: distances of opposite hits of the last
// feature written, then their maximum, minimum and mean.
class SummaryTables {
public:
    // Entry j of both tables; a later feature overwrites the entries up to its count.
    void record_hit(double hit_number, const std::string& radius_text, double hit_angle);
    // The hit count of the last feature written; nothing when it could not be read.
    void set_hit_count(std::optional<double> hit_count) { hit_count_ = hit_count; }

    // The block's lines, from the empty line before the heading to "Mittelwert".
    // A distance or mean that overflows stays empty and is counted in `fields`.
    std::vector<OutputLine> summary_lines(FieldTexts& fields) const;

private:
    struct Entry {
        std::string radius_text;
        std::optional<double> angle;
    };
    const Entry* entry(double number) const;

    std::vector<Entry> entries_; // entry j at index j - 1
    std::optional<double> hit_count_;
};

} // namespace kastrel::exporter
