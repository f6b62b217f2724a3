#pragma once

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
HitCoordinates read_hit(host::Dispatch& feature, double hit_number, ReadLog& log);

} // namespace kastrel::exporter
