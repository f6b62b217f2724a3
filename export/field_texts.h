#pragma once

#include "export/output_line.h"
#include "host/number_text.h"

#include <cmath>
#include <optional>
#include <string>

namespace kastrel::exporter {

// The fields of the file, made from values. A missing value gives an empty
// field; so does a value that had its inputs but is no finite number (an
// overflow, a result that is no number), and that one is counted: it could
// not be computed, and the run reports it like a value it could not read.
class FieldTexts {
public:
    explicit FieldTexts(const host::NumberTexts& texts) : texts_(texts) {}

    Field four_decimals(std::optional<double> value) {
        return computed(value) ? number(Field::Kind::FourDecimals, texts_.four_decimals(*value))
                               : Field(Field::Kind::FourDecimals);
    }
    Field three_decimals(std::optional<double> value) {
        return computed(value) ? number(Field::Kind::ThreeDecimals, texts_.three_decimals(*value))
                               : Field(Field::Kind::ThreeDecimals);
    }
    Field general(std::optional<double> value) {
        return computed(value) ? number(Field::Kind::General, texts_.general(*value))
                               : Field(Field::Kind::General);
    }
    // A number field from a text made by `kind`'s rule.
    Field number(Field::Kind kind, std::string text) const { return Field(kind, std::move(text)); }
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
