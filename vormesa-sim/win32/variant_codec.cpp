#include "vormesa-sim/win32/variant_codec.h"

#include "common/com/com_values.h"

namespace vormesa_sim::win32 {

using kastrel::common::com::Bstr;
using kastrel::common::com::UniqueVariant;

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

} // namespace vormesa_sim::win32
