#include "vormesa-sim/win32/variant_codec.h"

#include "common/com/com_values.h"

namespace vormesa_sim::win32 {

using kastrel::common::com::Bstr;
using kastrel::common::com::UniqueVariant;
using kastrel::common::com::utf8_of;

std::optional<Value> value_of(const VARIANT& argument) {
    if (V_VT(&argument) == (VT_BYREF | VT_VARIANT))
        return value_of(*V_VARIANTREF(&argument));
    const bool by_ref = (V_VT(&argument) & VT_BYREF) != 0;
    switch (V_VT(&argument) & ~VT_BYREF) {
    case VT_EMPTY:
        return Value{};
    case VT_NULL:
        return NullValue{};
    case VT_BOOL:
        return (by_ref ? *V_BOOLREF(&argument) : V_BOOL(&argument)) != VARIANT_FALSE;
    case VT_I4:
        return static_cast<std::int32_t>(by_ref ? *V_I4REF(&argument) : V_I4(&argument));
    // Basic passes small literals as 16-bit integers.
    case VT_I2:
        return static_cast<std::int32_t>(by_ref ? *V_I2REF(&argument) : V_I2(&argument));
    case VT_UI1:
        return static_cast<std::int32_t>(by_ref ? *V_UI1REF(&argument) : V_UI1(&argument));
    case VT_R8:
        return by_ref ? *V_R8REF(&argument) : V_R8(&argument);
    case VT_R4:
        return static_cast<double>(by_ref ? *V_R4REF(&argument) : V_R4(&argument));
    case VT_BSTR:
        return utf8_of(by_ref ? *V_BSTRREF(&argument) : V_BSTR(&argument));
    default:
        return std::nullopt;
    }
}

UniqueVariant variant_of(const Value& value, const ObjectMaker& make_object) {
    UniqueVariant result;
    VARIANT& out = *result.get();
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, NullValue>) {
                V_VT(&out) = VT_NULL;
            } else if constexpr (std::is_same_v<T, bool>) {
                V_VT(&out) = VT_BOOL;
                V_BOOL(&out) = v ? VARIANT_TRUE : VARIANT_FALSE;
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                V_VT(&out) = VT_I4;
                V_I4(&out) = v;
            } else if constexpr (std::is_same_v<T, double>) {
                V_VT(&out) = VT_R8;
                V_R8(&out) = v;
            } else if constexpr (std::is_same_v<T, std::string>) {
                V_VT(&out) = VT_BSTR;
                V_BSTR(&out) = Bstr(v).detach();
            } else if constexpr (std::is_same_v<T, ObjectRef>) {
                V_VT(&out) = VT_DISPATCH;
                V_DISPATCH(&out) = v.path == "/" ? nullptr : make_object(v.path);
            }
        },
        value);
    return result;
}

bool store_by_ref(const Value& value, VARIANT& reference, const ObjectMaker& make_object) {
    switch (V_VT(&reference)) {
    case VT_BYREF | VT_VARIANT:
        VariantClear(V_VARIANTREF(&reference));
        *V_VARIANTREF(&reference) = variant_of(value, make_object).detach();
        return true;
    case VT_BYREF | VT_R8:
        if (const auto* number = std::get_if<double>(&value)) {
            *V_R8REF(&reference) = *number;
            return true;
        }
        return false;
    case VT_BYREF | VT_I4:
        if (const auto* number = std::get_if<std::int32_t>(&value)) {
            *V_I4REF(&reference) = *number;
            return true;
        }
        return false;
    case VT_BYREF | VT_BOOL:
        if (const auto* flag = std::get_if<bool>(&value)) {
            *V_BOOLREF(&reference) = *flag ? VARIANT_TRUE : VARIANT_FALSE;
            return true;
        }
        return false;
    case VT_BYREF | VT_BSTR:
        if (const auto* text = std::get_if<std::string>(&value)) {
            SysFreeString(*V_BSTRREF(&reference));
            *V_BSTRREF(&reference) = Bstr(*text).detach();
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace vormesa_sim::win32
