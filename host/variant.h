#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace kastrel::host {

class Dispatch;
class NumberTexts;
// A late-bound host object. An empty pointer is the "no object" value.
using Object = std::shared_ptr<Dispatch>;

// One automation value as the host hands it over.
class Variant {
public:
    enum class Kind { Empty, Null, Boolean, Int32, Double, Text, ObjectRef };

    Variant() = default;
    static Variant null();
    Variant(bool value) : value_(value) {}
    Variant(std::int32_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(const char* value) : value_(std::string(value)) {}
    Variant(Object value) : value_(std::move(value)) {}

    Kind kind() const noexcept { return static_cast<Kind>(value_.index()); }
    bool operator==(const Variant& other) const;

    // Conversions follow the host platform's habits, with numbers and texts
    // under the user's regional settings (`numbers`). Each throws an
    // AutomationError when the value cannot be converted; it never invents 0.
    bool to_bool(const NumberTexts& numbers) const; // null counts as false
    // Empty is 0; a text must hold a number in the regional form.
    double to_double(const NumberTexts& numbers) const;
    // Empty is ""; a number gives its general number text ("1,5", "1E+20").
    std::string to_text(const NumberTexts& numbers) const;
    Object to_object() const&; // empty gives no object
    Object to_object() &&;     // the same, taking the reference over

    // Only meaningful for Kind::Boolean etc.; used by backends that encode values.
    const auto& raw() const noexcept { return value_; }

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    std::variant<std::monostate, NullTag, bool, std::int32_t, double, std::string, Object> value_;
};

// Human-readable kind name, for error messages and logs.
const char* kind_name(Variant::Kind kind);

} // namespace kastrel::host
