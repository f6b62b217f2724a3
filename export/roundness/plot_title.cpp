#include "export/roundness/plot_title.h"

#include <cmath>

namespace kastrel::exporter {
namespace {

std::string magnification_text(double magnification) {
    if (magnification >= 1)
        return std::to_string(std::llround(magnification)) + ":1";
    return "1:" + std::to_string(std::llround(1 / magnification));
}

} // namespace

std::string plot_title(const std::string& id, double roundness, double magnification,
                       const host::NumberTexts& numbers) {
    return id + " – Rundheit " + numbers.four_decimals(roundness) + " mm (Vergrößerung " +
           magnification_text(magnification) + ")";
}

} // namespace kastrel::exporter
