#include "vormesa-sim/win32/sim_dispatch.h"

#include "common/com/com_values.h"
#include "vormesa-sim/win32/member_names.h"
#include "vormesa-sim/win32/sim_enum_variant.h"
#include "vormesa-sim/win32/variant_codec.h"

#include <new>
#include <vector>

namespace vormesa_sim::win32 {

using kastrel::common::com::Bstr;

HRESULT report_failure(const HostError& error, EXCEPINFO* exception) {
    // A broken link is Invoke's own result, as a proxy reports a server that has gone.
    if (!exception || error.is_link_failure())
        return static_cast<HRESULT>(error.number());
    *exception = EXCEPINFO{};
    exception->scode = static_cast<SCODE>(error.number());
    exception->bstrSource = Bstr("Vormesa").detach();
    exception->bstrDescription = Bstr(error.description()).detach();
    return DISP_E_EXCEPTION;
}

IDispatch* SimDispatch::create(ServerContext& context, std::string path) {
    return new SimDispatch(context, std::move(path));
}

SimDispatch::SimDispatch(ServerContext& context, std::string path)
    : context_(context), lock_(context.lifetime), path_(std::move(path)) {}

HRESULT SimDispatch::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG SimDispatch::AddRef() {
    return ++references_;
}

ULONG SimDispatch::Release() {
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT SimDispatch::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT SimDispatch::GetTypeInfo(UINT /*index*/, LCID /*locale*/, ITypeInfo** info) {
    if (info)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT SimDispatch::GetIDsOfNames(REFIID /*iid*/, LPOLESTR* names, UINT count, LCID /*locale*/,
                                   DISPID* dispids) {
    if (!names || !dispids)
        return E_POINTER;
    for (UINT i = 0; i < count; ++i)
        dispids[i] = DISPID_UNKNOWN;
    if (count == 0)
        return S_OK;
    const auto dispid = dispid_of(names[0]);
    if (dispid)
        dispids[0] = *dispid;
    // Named arguments are not offered, so any further name is unknown.
    return dispid && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT SimDispatch::Invoke(DISPID dispid, REFIID /*iid*/, LCID /*locale*/, WORD flags,
                            DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                            UINT* argument_error) {
    if (!params)
        return E_POINTER;
    if (params->cNamedArgs > 0)
        return DISP_E_NONAMEDARGS;
    try {
        if (dispid == DISPID_NEWENUM) {
            if (params->cArgs > 0)
                return DISP_E_BADPARAMCOUNT;
            return new_enum(result);
        }
        const auto member = member_of(dispid);
        if (!member)
            return DISP_E_MEMBERNOTFOUND;
        if (flags & DISPATCH_METHOD)
            return call(*member, *params, result, argument_error);
        if (!(flags & DISPATCH_PROPERTYGET))
            return DISP_E_MEMBERNOTFOUND;
        if (params->cArgs > 0)
            return DISP_E_BADPARAMCOUNT;
        set_result(context_.host.get(path_, *member), result);
        return S_OK;
    } catch (const HostError& error) {
        return report_failure(error, exception);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception&) {
        return E_FAIL;
    }
}

HRESULT SimDispatch::call(std::string_view member, DISPPARAMS& params, VARIANT* result,
                          UINT* argument_error) {
    // Invoke hands the arguments over last first.
    const UINT count = params.cArgs;
    auto passed = [&](UINT i) -> VARIANT& { return params.rgvarg[count - 1 - i]; };
    std::vector<Argument> args(count);
    for (UINT i = 0; i < count; ++i) {
        auto value = value_of(passed(i));
        if (!value) {
            if (argument_error)
                *argument_error = count - 1 - i;
            return DISP_E_TYPEMISMATCH;
        }
        args[i] = Argument{std::move(*value), (V_VT(&passed(i)) & VT_BYREF) != 0};
    }
    InvokeResult outcome = context_.host.invoke(path_, member, std::move(args));
    const ObjectMaker make_object = [this](const std::string& path) {
        return SimDispatch::create(context_, path);
    };
    for (UINT i = 0; i < count && i < outcome.args_after.size(); ++i)
        if (outcome.args_after[i].by_ref)
            store_by_ref(outcome.args_after[i].value, passed(i), make_object);
    set_result(outcome.result, result);
    return S_OK;
}

HRESULT SimDispatch::new_enum(VARIANT* result) {
    std::string path = context_.host.new_enum(path_);
    IEnumVARIANT* items = SimEnumVariant::create(context_, std::move(path));
    if (!result) {
        items->Release();
        return S_OK;
    }
    V_VT(result) = VT_UNKNOWN;
    V_UNKNOWN(result) = items;
    return S_OK;
}

void SimDispatch::set_result(const Value& value, VARIANT* result) {
    if (!result)
        return;
    *result = variant_of(value, [this](const std::string& path) {
                  return SimDispatch::create(context_, path);
              }).detach();
}

} // namespace vormesa_sim::win32
