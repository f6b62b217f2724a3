#include "host/com/com_dispatch.h"

#include "common/win32/utf16.h"
#include "host/automation_error.h"
#include "host/com/com_error.h"
#include "host/com/com_variant.h"
#include "host/com/message_filter.h"

namespace kastrel::host::com {

using common::com::ComPtr;
using common::com::ExceptionInfo;
using common::com::UniqueVariant;

namespace {

// Makes the call; again while a busy host hands it back and the thread's
// message filter says to retry. A call the filter gave up is RunCancelled.
template <class Call> HRESULT taken_when_free(Call&& call) {
    const DWORD started = GetTickCount();
    HRESULT result = call();
    while (result == RPC_E_SERVERCALL_RETRYLATER && retry_rejected_call(GetTickCount() - started))
        result = call();
    // Only this program's filter cancels a call, when the run is given up.
    if (result == RPC_E_CALL_CANCELED)
        throw RunCancelled();
    return result;
}

// Walks the collection's IEnumVARIANT one item per call.
class ComEnumerator : public Enumerator {
public:
    explicit ComEnumerator(ComPtr<IEnumVARIANT> items) : items_(std::move(items)) {}

    std::optional<Variant> next() override {
        UniqueVariant item;
        ULONG fetched = 0;
        const HRESULT result =
            taken_when_free([&] { return items_->Next(1, item.put(), &fetched); });
        if (FAILED(result))
            throw automation_error(result);
        if (result == S_FALSE || fetched == 0)
            return std::nullopt;
        return to_host(*item.get());
    }

private:
    ComPtr<IEnumVARIANT> items_;
};

IUnknown* unknown_in(const VARIANT& value) {
    switch (V_VT(&value)) {
    case VT_UNKNOWN:
        return V_UNKNOWN(&value);
    case VT_DISPATCH:
        return V_DISPATCH(&value);
    default:
        throw AutomationError(ErrorKind::TypeMismatch);
    }
}

// How a late-bound client that cannot tell a property read from a method call
// invokes a member: servers accept it whichever way they declare the member.
constexpr WORD read_or_call = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

} // namespace

Object make_object(ComPtr<IDispatch> object) {
    if (!object)
        return nullptr;
    return std::make_shared<ComDispatch>(std::move(object));
}

DISPID ComDispatch::dispid_of(std::string_view member) {
    for (const auto& [name, dispid] : dispids_)
        if (name == member)
            return dispid;
    std::wstring name = common::to_utf16(member);
    LPOLESTR names[] = {name.data()};
    DISPID dispid = DISPID_UNKNOWN;
    const HRESULT result = taken_when_free(
        [&] { return object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid); });
    if (result == DISP_E_UNKNOWNNAME)
        throw AutomationError(ErrorKind::UnknownName, static_cast<std::int32_t>(result),
                              std::string(member), {});
    if (FAILED(result))
        throw automation_error(result);
    dispids_.emplace_back(std::string(member), dispid);
    return dispid;
}

UniqueVariant ComDispatch::invoke(DISPID dispid, DISPPARAMS& params) {
    UniqueVariant result;
    ExceptionInfo info;
    UINT argument_error = 0;
    const HRESULT outcome = taken_when_free([&] {
        return object_->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, read_or_call, &params,
                               result.get(), info.get(), &argument_error);
    });
    if (FAILED(outcome))
        throw automation_error(outcome, info);
    return result;
}

Variant ComDispatch::get(std::string_view member) {
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    return to_host(*invoke(dispid_of(member), params).get());
}

Variant ComDispatch::call(std::string_view member, std::span<Argument> args) {
    const DISPID dispid = dispid_of(member);
    // `values` own the arguments (for by-reference ones the place the host
    // writes to); `passed` are the variants as Invoke wants them, last first.
    std::vector<UniqueVariant> values;
    values.reserve(args.size());
    for (const Argument& arg : args)
        values.push_back(to_com(arg.value));
    std::vector<VARIANT> passed(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        VARIANT& slot = passed[args.size() - 1 - i];
        if (args[i].by_ref)
            refer_to(*values[i].get(), slot);
        else
            slot = *values[i].get();
    }
    DISPPARAMS params{passed.data(), nullptr, static_cast<UINT>(passed.size()), 0};
    Variant result = to_host(*invoke(dispid, params).get());
    for (std::size_t i = 0; i < args.size(); ++i)
        if (args[i].by_ref)
            args[i].value = to_host(*values[i].get());
    return result;
}

std::unique_ptr<Enumerator> ComDispatch::enumerate() {
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    const UniqueVariant result = invoke(DISPID_NEWENUM, params);
    IUnknown* unknown = unknown_in(*result.get());
    if (!unknown)
        throw AutomationError(ErrorKind::ObjectNotSet);
    ComPtr<IEnumVARIANT> items;
    const HRESULT queried =
        unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(items.put()));
    if (FAILED(queried))
        throw automation_error(queried);
    return std::make_unique<ComEnumerator>(std::move(items));
}

} // namespace kastrel::host::com
