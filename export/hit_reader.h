#pragma once

#include "export/number_text.h"
#include "export/read_log.h"
#include "host/dispatch.h"

#include <optional>

namespace kastrel::exporter {

struct Coordinates {
    std::optional<double> x, y, z; // missing when the host could not deliver it
};

struct HitCoordinates {
    Coordinates actual;  // data kind 3
    Coordinates nominal; // data kind 2
};

// Reads one hit with the six GetHit calls the host expects: data kind 3 for
// X, Y, Z, then data kind 2 for X, Y, Z, each point object read once and dropped.
// A coordinate given as text is read by the regional rules of `numbers`.
HitCoordinates read_hit(host::Dispatch& feature, double hit_number, const NumberTexts& numbers,
                        ReadLog& log);

} // namespace kastrel::exporter
