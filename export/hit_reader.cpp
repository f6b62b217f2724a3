#include "export/hit_reader.h"

#include <array>
#include <cstdint>

namespace kastrel::exporter {
namespace {

constexpr std::int32_t actual_kind = 3;
constexpr std::int32_t nominal_kind = 2;

// The six GetHit arguments; one set serves all six calls of a hit, with the
// by-reference values set afresh before each call.
class GetHitArguments {
public:
    explicit GetHitArguments(double hit_number) : hit_number_(hit_number) {}

    std::span<host::Argument> for_data_kind(std::int32_t data_kind) {
        args_[0].value = host::Variant(hit_number_);
        args_[2].value = host::Variant(data_kind);
        args_[4].value = host::Variant(std::string());
        return args_;
    }

private:
    double hit_number_;
    std::array<host::Argument, 6> args_{{
        {host::Variant(0.0), true},
        {host::Variant(std::int32_t{0})},
        {host::Variant(std::int32_t{0})},
        {host::Variant(std::int32_t{13})},
        {host::Variant(std::string()), true},
        {host::Variant(std::int32_t{0})},
    }};
};

std::optional<double> read_coordinate(host::Dispatch& feature, GetHitArguments& args,
                                      std::int32_t data_kind, const char* axis, ReadLog& log) {
    try {
        const host::Object point =
            feature.call("GetHit", args.for_data_kind(data_kind)).to_object();
        if (!point)
            throw host::AutomationError(host::ErrorKind::ObjectNotSet, "GetHit");
        return point->get(axis).to_double();
    } catch (const host::AutomationError& error) {
        log.failed(error);
        return std::nullopt;
    }
}

Coordinates read_coordinates(host::Dispatch& feature, GetHitArguments& args, std::int32_t data_kind,
                             ReadLog& log) {
    Coordinates c;
    c.x = read_coordinate(feature, args, data_kind, "X", log);
    c.y = read_coordinate(feature, args, data_kind, "Y", log);
    c.z = read_coordinate(feature, args, data_kind, "Z", log);
    return c;
}

} // namespace

HitCoordinates read_hit(host::Dispatch& feature, double hit_number, ReadLog& log) {
    GetHitArguments args(hit_number);
    HitCoordinates hit;
    hit.actual = read_coordinates(feature, args, actual_kind, log);
    hit.nominal = read_coordinates(feature, args, nominal_kind, log);
    return hit;
}

} // namespace kastrel::exporter
