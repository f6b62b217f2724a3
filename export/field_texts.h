#pragma once

#include "host/number_text.h"

#include <cmath>
#include <optional>
#include <string>

namespace kastrel::exporter {

// The texts of the file's fields. A missing value gives an empty field; so
// does a value that had its inputs but is no finite number (an overflow, a
// result that is no number), and that one is counted: it could not be
// computed, and the run reports it like a value it could not read.
class FieldTexts {
public:
    explicit FieldTexts(const host::NumberTexts& texts) : texts_(texts) {}

    std::string four_decimals(std::optional<double> value) {
        return computed(value) ? texts_.four_decimals(*value) : std::string();
    }
    std::string three_decimals(std::optional<double> value) {
        return computed(value) ? texts_.three_decimals(*value) : std::string();
    }
    std::string general(std::optional<double> value) {
        return computed(value) ? texts_.general(*value) : std::string();
    }
    // Whether the value is there and finite; counts it when it is there but not finite.
    bool computed(std::optional<double> value) {
        if (!value)
            return false;
        if (std::isfinite(*value))
            return true;
        ++uncomputed_;
        return false;
    }

    const host::NumberTexts& numbers() const noexcept { return texts_; }
    int uncomputed() const noexcept { return uncomputed_; }

private:
    const host::NumberTexts& texts_;
    int uncomputed_ = 0;
};

} // namespace kastrel::exporter
