#include "host/variant.h"

#include "host/automation_error.h"
#include "host/number_text.h"

#include <array>
#include <cctype>
#include <cmath>
#include <type_traits>

namespace kastrel::host {
namespace {

[[noreturn]] void type_mismatch() {
    throw AutomationError(ErrorKind::TypeMismatch);
}

[[noreturn]] void invalid_null() {
    throw AutomationError(ErrorKind::InvalidUseOfNull);
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// A text that is no number in the regional form is not a number, never 0.
double number_of_text(const std::string& text, const NumberTexts& numbers) {
    const std::optional<double> value = numbers.parse(text);
    if (!value || !std::isfinite(*value))
        type_mismatch();
    return *value;
}

} // namespace

Variant Variant::null() {
    Variant v;
    v.value_ = NullTag{};
    return v;
}

bool Variant::operator==(const Variant& other) const {
    return value_ == other.value_;
}

bool Variant::to_bool(const NumberTexts& numbers) const {
    switch (kind()) {
    case Kind::Empty:
    case Kind::Null:
        return false;
    case Kind::Boolean:
        return std::get<bool>(value_);
    case Kind::Int32:
        return std::get<std::int32_t>(value_) != 0;
    case Kind::Double:
        return std::get<double>(value_) != 0.0;
    case Kind::Text: {
        const auto& text = std::get<std::string>(value_);
        std::string lower;
        for (char c : trim(text))
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower == "true")
            return true;
        if (lower == "false")
            return false;
        return number_of_text(text, numbers) != 0.0;
    }
    case Kind::ObjectRef:
        break;
    }
    type_mismatch();
}

double Variant::to_double(const NumberTexts& numbers) const {
    switch (kind()) {
    case Kind::Empty:
        return 0.0;
    case Kind::Null:
        invalid_null();
    case Kind::Boolean:
        return std::get<bool>(value_) ? -1.0 : 0.0;
    case Kind::Int32:
        return std::get<std::int32_t>(value_);
    case Kind::Double: {
        const double value = std::get<double>(value_);
        if (!std::isfinite(value))
            type_mismatch();
        return value;
    }
    case Kind::Text:
        return number_of_text(std::get<std::string>(value_), numbers);
    case Kind::ObjectRef:
        break;
    }
    type_mismatch();
}

std::string Variant::to_text(const NumberTexts& numbers) const {
    switch (kind()) {
    case Kind::Empty:
        return {};
    case Kind::Null:
        invalid_null();
    case Kind::Boolean:
        return std::get<bool>(value_) ? "True" : "False";
    case Kind::Int32:
        return std::to_string(std::get<std::int32_t>(value_));
    case Kind::Double: {
        const double value = std::get<double>(value_);
        if (!std::isfinite(value))
            type_mismatch();
        return numbers.general(value);
    }
    case Kind::Text:
        return std::get<std::string>(value_);
    case Kind::ObjectRef:
        break;
    }
    type_mismatch();
}

Object Variant::to_object() const& {
    switch (kind()) {
    case Kind::Empty:
    case Kind::Null:
        return nullptr;
    case Kind::ObjectRef:
        return std::get<Object>(value_);
    default:
        throw AutomationError(ErrorKind::ObjectRequired);
    }
}

Object Variant::to_object() && {
    if (kind() == Kind::ObjectRef)
        return std::move(std::get<Object>(value_));
    return static_cast<const Variant&>(*this).to_object();
}

const char* kind_name(Variant::Kind kind) {
    // By kind, which is the index of the value's alternative.
    static constexpr std::array names = {"Empty",  "Null",   "Boolean", "Long",
                                         "Double", "String", "Object"};
    static_assert(names.size() ==
                  std::variant_size_v<std::remove_cvref_t<decltype(Variant().raw())>>);
    const auto index = static_cast<std::size_t>(kind);
    return index < names.size() ? names[index] : "?";
}

} // namespace kastrel::host
