#include "host/com/com_dispatch.h"

#include "common/win32/utf16.h"
#include "host/automation_error.h"
#include "host/com/com_error.h"
#include "host/com/com_variant.h"

#include <string>
#include <utility>
#include <vector>

namespace kastrel::host::com {

using common::com::ComPtr;
using common::com::ExceptionInfo;
using common::com::UniqueVariant;

namespace {

// Makes the call once; a busy host's refusal goes to the caller's wait,
// which decides whether it is made again.
template <class Call> HRESULT taken_unless_busy(Call&& call) {
    const HRESULT result = call();
    if (result == RPC_E_SERVERCALL_RETRYLATER)
        throw HostBusy();
    return result;
}

// Walks the collection's IEnumVARIANT one item per call.
class ComEnumerator : public Enumerator {
public:
    ComEnumerator(std::shared_ptr<CallThread> thread, std::shared_ptr<ComPtr<IEnumVARIANT>> items)
        : thread_(std::move(thread)), items_(std::move(items)) {}

    std::optional<Variant> next() override {
        return thread_->run([thread = thread_, items = items_]() -> std::optional<Variant> {
            UniqueVariant item;
            ULONG fetched = 0;
            const HRESULT result =
                taken_unless_busy([&] { return (*items)->Next(1, item.put(), &fetched); });
            if (FAILED(result))
                throw automation_error(result);
            if (result == S_FALSE || fetched == 0)
                return std::nullopt;
            return to_host(*item.get(), thread);
        });
    }

private:
    std::shared_ptr<CallThread> thread_;
    std::shared_ptr<ComPtr<IEnumVARIANT>> items_;
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

// What of the object lives on the call thread: its interface pointer and
// the DISPIDs asked so far (fixed for the object's lifetime, so each is asked
// once).
struct ComDispatch::Remote {
    ComPtr<IDispatch> object;
    std::vector<std::pair<std::string, DISPID>> dispids;

    DISPID dispid_of(const std::string& member) {
        for (const auto& [name, dispid] : dispids)
            if (name == member)
                return dispid;
        std::wstring name = common::to_utf16(member);
        LPOLESTR names[] = {name.data()};
        DISPID dispid = DISPID_UNKNOWN;
        const HRESULT result = taken_unless_busy([&] {
            return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
        });
        if (result == DISP_E_UNKNOWNNAME)
            throw AutomationError(ErrorKind::UnknownName, static_cast<std::int32_t>(result), member,
                                  {});
        if (FAILED(result))
            throw automation_error(result);
        dispids.emplace_back(member, dispid);
        return dispid;
    }

    // Every member is invoked as read or call, whichever the host declares it as.
    UniqueVariant invoke(DISPID dispid, DISPPARAMS& params) {
        UniqueVariant result;
        ExceptionInfo info;
        UINT argument_error = 0;
        const HRESULT outcome = taken_unless_busy([&] {
            return object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, read_or_call, &params,
                                  result.get(), info.get(), &argument_error);
        });
        if (FAILED(outcome))
            throw automation_error(outcome, info);
        return result;
    }
};

ComDispatch::ComDispatch(std::shared_ptr<CallThread> thread, ComPtr<IDispatch> object)
    : thread_(std::move(thread)), remote_(thread_->own(new Remote{std::move(object), {}})) {}

Object make_object(const std::shared_ptr<CallThread>& thread, ComPtr<IDispatch> object) {
    if (!object)
        return nullptr;
    return std::make_shared<ComDispatch>(thread, std::move(object));
}

IDispatch* ComDispatch::interface_pointer() const noexcept {
    return remote_->object.get();
}

HRESULT ComDispatch::with_interface(const std::function<HRESULT(IDispatch*)>& work) const {
    return thread_->run([remote = remote_, work] { return work(remote->object.get()); });
}

Variant ComDispatch::get(std::string_view member) {
    return thread_->run([thread = thread_, remote = remote_, name = std::string(member)] {
        DISPPARAMS params{nullptr, nullptr, 0, 0};
        return to_host(*remote->invoke(remote->dispid_of(name), params).get(), thread);
    });
}

Variant ComDispatch::call(std::string_view member, std::span<Argument> args) {
    // The arguments travel by value: the call thread may outlive this caller.
    auto [result, written] =
        thread_->run([thread = thread_, remote = remote_, name = std::string(member),
                      args = std::vector<Argument>(args.begin(), args.end())]() mutable {
            const DISPID dispid = remote->dispid_of(name);
            // `values` own the arguments (for by-reference ones the place the
            // host writes to); `passed` are the variants as Invoke wants them,
            // last first.
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
            Variant answer = to_host(*remote->invoke(dispid, params).get(), thread);
            for (std::size_t i = 0; i < args.size(); ++i)
                if (args[i].by_ref)
                    args[i].value = to_host(*values[i].get(), thread);
            return std::pair(std::move(answer), std::move(args));
        });
    for (std::size_t i = 0; i < args.size(); ++i)
        if (args[i].by_ref)
            args[i].value = std::move(written[i].value);
    return result;
}

std::unique_ptr<Enumerator> ComDispatch::enumerate() {
    auto items = thread_->run([thread = thread_, remote = remote_] {
        DISPPARAMS params{nullptr, nullptr, 0, 0};
        const UniqueVariant result = remote->invoke(DISPID_NEWENUM, params);
        IUnknown* unknown = unknown_in(*result.get());
        if (!unknown)
            throw AutomationError(ErrorKind::ObjectNotSet);
        ComPtr<IEnumVARIANT> walk;
        const HRESULT queried =
            unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(walk.put()));
        if (FAILED(queried))
            throw automation_error(queried);
        return thread->own(new ComPtr<IEnumVARIANT>(std::move(walk)));
    });
    return std::make_unique<ComEnumerator>(thread_, std::move(items));
}

} // namespace kastrel::host::com
