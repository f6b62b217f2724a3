#include "export/hit_reader.h"

#include <array>
#include <cstdint>

namespace kastrel::exporter {
namespace {

constexpr std::int32_t actual_kind = 3;
constexpr std::int32_t nominal_kind = 2;

// The six GetHit arguments; one set serves all six calls of a hit. The
// by-reference values are as they were set before each call: a host may
// have written into them. Each is set again only when it differs, which
// costs less than setting it.
class GetHitArguments {
public:
    explicit GetHitArguments(double hit_number) : hit_number_(hit_number) {}

    std::span<host::Argument> for_data_kind(std::int32_t data_kind) {
        set(args_[0].value, hit_number_);
        set(args_[2].value, data_kind);
        if (const auto* text = std::get_if<std::string>(&args_[4].value.raw());
            !text || !text->empty())
            args_[4].value = host::Variant(std::string());
        return args_;
    }

private:
    template <typename T> static void set(host::Variant& slot, T value) {
        if (const T* held = std::get_if<T>(&slot.raw()); !held || *held != value)
            slot = host::Variant(value);
    }

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

// The six reads of one hit, each a GetHit call and its coordinate.
class HitReading {
public:
    HitReading(host::Dispatch& feature, double hit_number, const NumberTexts& numbers, ReadLog& log)
        : feature_(feature), args_(hit_number), numbers_(numbers), log_(log) {}

    Coordinates coordinates(std::int32_t data_kind) {
        Coordinates c;
        c.x = coordinate(data_kind, "X");
        c.y = coordinate(data_kind, "Y");
        c.z = coordinate(data_kind, "Z");
        return c;
    }

private:
    std::optional<double> coordinate(std::int32_t data_kind, const char* axis) {
        try {
            const host::Object point =
                feature_.call("GetHit", args_.for_data_kind(data_kind)).to_object();
            if (!point)
                throw host::AutomationError(host::ErrorKind::ObjectNotSet, "GetHit");
            return point->get(axis).to_double(numbers_);
        } catch (const host::AutomationError& error) {
            log_.failed(error);
            return std::nullopt;
        }
    }

    host::Dispatch& feature_;
    GetHitArguments args_;
    const NumberTexts& numbers_;
    ReadLog& log_;
};

} // namespace

HitCoordinates read_hit(host::Dispatch& feature, double hit_number, const NumberTexts& numbers,
                        ReadLog& log) {
    HitReading reading(feature, hit_number, numbers, log);
    HitCoordinates hit;
    hit.actual = reading.coordinates(actual_kind);
    hit.nominal = reading.coordinates(nominal_kind);
    return hit;
}

} // namespace kastrel::exporter
