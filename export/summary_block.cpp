#include "export/summary_block.h"

#include <cmath>

namespace kastrel::exporter {
namespace {

// Halves go to the even neighbour.
double round_half_even(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1;
}

} // namespace

void SummaryTables::record_hit(double hit_number, const std::string& radius_text,
                               double hit_angle) {
    if (hit_number < 1 || hit_number != std::floor(hit_number))
        return;
    const auto index = static_cast<std::size_t>(hit_number) - 1;
    if (index >= entries_.size())
        entries_.resize(index + 1);
    entries_[index] = Entry{radius_text, hit_angle};
}

const SummaryTables::Entry* SummaryTables::entry(double number) const {
    if (number < 1 || number != std::floor(number) || number > static_cast<double>(entries_.size()))
        return nullptr;
    return &entries_[static_cast<std::size_t>(number) - 1];
}

std::vector<OutputLine> SummaryTables::summary_lines(FieldTexts& fields) const {
    const host::NumberTexts& texts = fields.numbers();
    std::vector<OutputLine> lines(2);
    lines[1].add_text("Berechnung").add_text("Winkel").add_text("Abstand");

    std::optional<double> maximum;
    std::optional<double> minimum;
    std::string running_sum = "0"; // kept as text: rounded to 15 digits after every addition
    bool sum_overflowed = false;
    int counted = 0;

    const double half = hit_count_ ? *hit_count_ / 2 : 0.0;
    for (double i = 1; i <= half; ++i) {
        const double partner = round_half_even(half + i);
        const Entry* own = entry(i);
        const Entry* opposite = entry(partner);

        std::optional<double> distance;
        if (own && opposite) {
            const auto r1 = texts.parse(own->radius_text);
            const auto r2 = texts.parse(opposite->radius_text);
            if (r1 && r2)
                distance = *r1 + *r2;
        }
        OutputLine& row = lines.emplace_back();
        row.add_text("");
        row.add(fields.number(Field::Kind::General,
                              own && own->angle ? texts.general(*own->angle) : std::string()));
        row.add(fields.general(distance));

        if (!distance || !std::isfinite(*distance))
            continue;
        ++counted;
        if (!maximum || *distance > *maximum)
            maximum = distance;
        if (!minimum || *distance < *minimum)
            minimum = distance;
        const double sum = texts.parse(running_sum).value_or(0.0) + *distance;
        if (std::isfinite(sum))
            running_sum = texts.general(sum);
        else
            sum_overflowed = true;
    }

    Field mean(Field::Kind::ThreeDecimals);
    if (counted > 0)
        mean = fields.three_decimals(
            sum_overflowed ? HUGE_VAL : texts.parse(running_sum).value_or(0.0) / counted);

    lines.emplace_back();
    const auto closing = [&](const char* label, Field value) {
        lines.emplace_back().add_text("").add_text("").add_text(label).add(std::move(value));
    };
    closing("Max", fields.number(Field::Kind::General, maximum ? texts.general(*maximum) : ""));
    closing("Min", fields.number(Field::Kind::General, minimum ? texts.general(*minimum) : ""));
    closing("Mittelwert", std::move(mean));
    return lines;
}

} // namespace kastrel::exporter
