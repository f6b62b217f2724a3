#include "host/com/com_variant.h"

#include "host/automation_error.h"
#include "host/com/com_dispatch.h"
#include "host/com/com_error.h"

namespace kastrel::host::com {

using common::com::Bstr;
using common::com::ComPtr;
using common::com::UniqueVariant;
using common::com::utf8_of;

namespace {

[[noreturn]] void type_mismatch() {
    throw AutomationError(ErrorKind::TypeMismatch);
}

// Converts to `type` into a fresh variant; false when the value does not fit.
bool change_type(const VARIANT& value, VARTYPE type, UniqueVariant& out) {
    return SUCCEEDED(VariantChangeType(out.put(), const_cast<VARIANT*>(&value), 0, type));
}

Variant object_of(IUnknown* unknown, const std::shared_ptr<CallThread>& thread) {
    if (!unknown)
        return Object();
    ComPtr<IDispatch> dispatch;
    const HRESULT result =
        unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put()));
    if (FAILED(result))
        type_mismatch();
    return make_object(thread, std::move(dispatch));
}

} // namespace

Variant to_host(const VARIANT& value, const std::shared_ptr<CallThread>& thread) {
    if (V_VT(&value) & VT_BYREF) {
        UniqueVariant copy;
        const HRESULT result = VariantCopyInd(copy.get(), const_cast<VARIANT*>(&value));
        if (FAILED(result))
            throw automation_error(result);
        return to_host(*copy.get(), thread);
    }
    UniqueVariant converted;
    switch (V_VT(&value)) {
    case VT_EMPTY:
        return Variant();
    case VT_NULL:
        return Variant::null();
    case VT_BOOL:
        return Variant(V_BOOL(&value) != VARIANT_FALSE);
    case VT_I4:
        return Variant(static_cast<std::int32_t>(V_I4(&value)));
    case VT_R8:
        return Variant(V_R8(&value));
    case VT_R4:
        return Variant(static_cast<double>(V_R4(&value)));
    case VT_BSTR:
        return Variant(utf8_of(V_BSTR(&value)));
    case VT_DISPATCH:
        return make_object(thread, ComPtr<IDispatch>::share(V_DISPATCH(&value)));
    case VT_UNKNOWN:
        return object_of(V_UNKNOWN(&value), thread);
    case VT_I1:
    case VT_I2:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
        if (change_type(value, VT_I4, converted))
            return Variant(static_cast<std::int32_t>(V_I4(converted.get())));
        [[fallthrough]];
    case VT_CY:
    case VT_DATE:
    case VT_DECIMAL:
        if (change_type(value, VT_R8, converted))
            return Variant(V_R8(converted.get()));
        break;
    default:
        break;
    }
    type_mismatch();
}

UniqueVariant to_com(const Variant& value) {
    UniqueVariant result;
    VARIANT& out = *result.get();
    switch (value.kind()) {
    case Variant::Kind::Empty:
        break;
    case Variant::Kind::Null:
        V_VT(&out) = VT_NULL;
        break;
    case Variant::Kind::Boolean:
        V_VT(&out) = VT_BOOL;
        V_BOOL(&out) = std::get<bool>(value.raw()) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case Variant::Kind::Int32:
        V_VT(&out) = VT_I4;
        V_I4(&out) = std::get<std::int32_t>(value.raw());
        break;
    case Variant::Kind::Double:
        V_VT(&out) = VT_R8;
        V_R8(&out) = std::get<double>(value.raw());
        break;
    case Variant::Kind::Text:
        V_VT(&out) = VT_BSTR;
        V_BSTR(&out) = Bstr(std::get<std::string>(value.raw())).detach();
        break;
    case Variant::Kind::ObjectRef: {
        const Object& object = std::get<Object>(value.raw());
        IDispatch* dispatch = nullptr;
        if (object) {
            const auto* com_object = dynamic_cast<const ComDispatch*>(object.get());
            if (!com_object)
                type_mismatch();
            dispatch = com_object->interface_pointer();
            dispatch->AddRef();
        }
        V_VT(&out) = VT_DISPATCH;
        V_DISPATCH(&out) = dispatch;
        break;
    }
    }
    return result;
}

void refer_to(VARIANT& target, VARIANT& reference) {
    VariantInit(&reference);
    switch (V_VT(&target)) {
    case VT_BOOL:
        V_BOOLREF(&reference) = &V_BOOL(&target);
        break;
    case VT_I4:
        V_I4REF(&reference) = &V_I4(&target);
        break;
    case VT_R8:
        V_R8REF(&reference) = &V_R8(&target);
        break;
    case VT_BSTR:
        V_BSTRREF(&reference) = &V_BSTR(&target);
        break;
    case VT_DISPATCH:
        V_DISPATCHREF(&reference) = &V_DISPATCH(&target);
        break;
    default:
        // Empty and null travel as a reference to a variant the host may fill.
        V_VT(&reference) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&reference) = &target;
        return;
    }
    V_VT(&reference) = static_cast<VARTYPE>(VT_BYREF | V_VT(&target));
}

} // namespace kastrel::host::com
