#include "export/hit_reader.h"

#include <array>
#include <cstdint>

namespace kastrel::exporter {
namespace {

constexpr std::int32_t actual_kind = 3;
constexpr std::int32_t nominal_kind = 2;

std::optional<double> read_coordinate(host::Dispatch& feature, double hit_number,
                                      std::int32_t data_kind, const char* axis, ReadLog& log) {
    using host::Argument;
    using host::Variant;
    try {
        std::array<Argument, 6> args{{
            {Variant(hit_number), true},
            {Variant(std::int32_t{0})},
            {Variant(data_kind)},
            {Variant(std::int32_t{13})},
            {Variant(std::string()), true},
            {Variant(std::int32_t{0})},
        }};
        const host::Object point = feature.call("GetHit", args).to_object();
        if (!point)
            throw host::AutomationError(host::error_number::object_not_set,
                                        "Vormesa hat keinen Messpunkt geliefert");
        return point->get(axis).to_double();
    } catch (const host::AutomationError& error) {
        log.failed(error);
        return std::nullopt;
    }
}

Coordinates read_coordinates(host::Dispatch& feature, double hit_number, std::int32_t data_kind,
                             ReadLog& log) {
    Coordinates c;
    c.x = read_coordinate(feature, hit_number, data_kind, "X", log);
    c.y = read_coordinate(feature, hit_number, data_kind, "Y", log);
    c.z = read_coordinate(feature, hit_number, data_kind, "Z", log);
    return c;
}

} // namespace

HitCoordinates read_hit(host::Dispatch& feature, double hit_number, ReadLog& log) {
    HitCoordinates hit;
    hit.actual = read_coordinates(feature, hit_number, actual_kind, log);
    hit.nominal = read_coordinates(feature, hit_number, nominal_kind, log);
    return hit;
}

} // namespace kastrel::exporter
