#include "vormesa-sim/win32/host_objects.h"

#include "common/com/com_object.h"
#include "common/com/com_values.h"
#include "common/win32/utf16.h"
#include "vormesa-sim/object_path.h"
#include "vormesa-sim/win32/busy_filter.h"
#include "vormesa-sim/win32/object_model.h"
#include "vormesa-sim/win32/sim_enum_variant.h"
#include "vormesa-sim/win32/variant_codec.h"

#include <new>
#include <utility>
#include <vector>

namespace vormesa_sim::win32 {
namespace {

using kastrel::common::to_utf16;
using kastrel::common::com::Bstr;
using kastrel::common::com::ComObject;
using kastrel::common::com::ComPtr;
using kastrel::common::com::utf8_of;

// A failed member: its number is the result, its description the thread's
// error information, which the system's Invoke hands to the caller in EXCEPINFO.
HRESULT report_failure(const HostError& error, REFIID iid) {
    ComPtr<ICreateErrorInfo> details;
    if (SUCCEEDED(CreateErrorInfo(details.put()))) {
        std::wstring source = L"Vormesa";
        std::wstring description = to_utf16(error.description());
        details->SetGUID(iid);
        details->SetSource(source.data());
        details->SetDescription(description.data());
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(details.query(IID_IErrorInfo, info)))
            SetErrorInfo(0, info.get());
    }
    return static_cast<HRESULT>(error.number());
}

// Runs a member's body; what it throws becomes the member's result. A broken
// link is also noted in `link_failure`, for Invoke to return as its own
// result, as a proxy does for a server that has gone.
template <class Body> HRESULT guarded(REFIID iid, HRESULT& link_failure, Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (const CallHangs&) {
        answer_nothing_more();
    } catch (const HostError& error) {
        if (error.is_link_failure())
            link_failure = static_cast<HRESULT>(error.number());
        return report_failure(error, iid);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception&) {
        return E_FAIL;
    }
}

// What every host object shares: its model path, and IDispatch answered from
// its interface's type information.
template <class Interface> class HostObject : public ComObject<Interface, IDispatch> {
public:
    HostObject(ServerContext& context, std::string path)
        : context_(context), lock_(context.lifetime), path_(std::move(path)),
          info_(ComPtr<ITypeInfo>::share(context.types.interface_info(__uuidof(Interface)))) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID /*locale*/, ITypeInfo** info) override {
        if (!info)
            return E_POINTER;
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        *info = ComPtr<ITypeInfo>::share(info_.get()).detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count,
                                            LCID /*locale*/, DISPID* dispids) override {
        if (!IsEqualIID(iid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        return DispGetIDsOfNames(info_.get(), names, count, dispids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID iid, LCID /*locale*/, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument_error) override {
        if (!IsEqualIID(iid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        if (context_.host.busy_now())
            return busy_result;
        const HRESULT invoked = DispInvoke(static_cast<Interface*>(this), info_.get(), dispid,
                                           flags, params, result, exception, argument_error);
        if (FAILED(link_failure_)) {
            if (exception) {
                SysFreeString(exception->bstrSource);
                SysFreeString(exception->bstrDescription);
                SysFreeString(exception->bstrHelpFile);
                *exception = EXCEPINFO{};
            }
            return std::exchange(link_failure_, S_OK);
        }
        return invoked;
    }

protected:
    // A member read without arguments, as the model serves it.
    HRESULT read(const char* member, VARIANT* result) noexcept {
        if (!result)
            return E_POINTER;
        return run([&] { set_result(context_.host.get(path_, member), *result); });
    }
    template <class Body> HRESULT run(Body&& body) noexcept {
        return guarded(__uuidof(Interface), link_failure_, std::forward<Body>(body));
    }
    void set_result(const Value& value, VARIANT& result) {
        result = variant_of(value, [this](const std::string& path) {
                     return make_host_object(context_, path);
                 }).detach();
    }

    ServerContext& context_;
    ServerLock lock_;
    const std::string path_;

private:
    ComPtr<ITypeInfo> info_;
    HRESULT link_failure_ = S_OK;
};

class Application final : public HostObject<IHostApplication> {
public:
    using HostObject::HostObject;
    HRESULT STDMETHODCALLTYPE get_ActivePartProgram(VARIANT* program) override {
        return read("ActivePartProgram", program);
    }
};

class PartProgram final : public HostObject<IHostPartProgram> {
public:
    using HostObject::HostObject;
    HRESULT STDMETHODCALLTYPE get_Commands(VARIANT* commands) override {
        return read("Commands", commands);
    }
};

class Commands final : public HostObject<IHostCommands> {
public:
    using HostObject::HostObject;
    HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** items) override {
        if (!items)
            return E_POINTER;
        *items = nullptr;
        return run(
            [&] { *items = SimEnumVariant::create(context_, context_.host.new_enum(path_)); });
    }
    HRESULT STDMETHODCALLTYPE get_Count(VARIANT* count) override { return read("Count", count); }
};

class Command final : public HostObject<IHostCommand> {
public:
    using HostObject::HostObject;
    HRESULT STDMETHODCALLTYPE get_IsFeature(VARIANT* is_feature) override {
        return read("IsFeature", is_feature);
    }
    HRESULT STDMETHODCALLTYPE get_FeatureCommand(VARIANT* feature) override {
        return read("FeatureCommand", feature);
    }
};

class Feature final : public HostObject<IHostFeature> {
public:
    using HostObject::HostObject;
    HRESULT STDMETHODCALLTYPE get_ID(VARIANT* id) override { return read("ID", id); }
    HRESULT STDMETHODCALLTYPE get_TheoDiam(VARIANT* diameter) override {
        return read("TheoDiam", diameter);
    }
    HRESULT STDMETHODCALLTYPE get_NumHits(VARIANT* count) override {
        return read("NumHits", count);
    }
    HRESULT STDMETHODCALLTYPE GetHit(double* hit_number, LONG first_flag, LONG data_kind,
                                     LONG second_flag, BSTR* text, LONG third_flag,
                                     VARIANT* point) override {
        if (!hit_number || !text || !point)
            return E_POINTER;
        return run([&] {
            auto integer = [](LONG value) { return Argument{static_cast<std::int32_t>(value)}; };
            std::vector<Argument> args = {{*hit_number, true},    integer(first_flag),
                                          integer(data_kind),     integer(second_flag),
                                          {utf8_of(*text), true}, integer(third_flag)};
            InvokeResult outcome = context_.host.invoke(path_, "GetHit", std::move(args));
            // The host may write back through its by-reference arguments.
            if (outcome.args_after.size() == 6) {
                if (const auto* number = std::get_if<double>(&outcome.args_after[0].value))
                    *hit_number = *number;
                if (const auto* written = std::get_if<std::string>(&outcome.args_after[4].value)) {
                    SysFreeString(*text);
                    *text = Bstr(*written).detach();
                }
            }
            set_result(outcome.result, *point);
        });
    }
};

class Point final : public HostObject<IHostPoint> {
public:
    using HostObject::HostObject;
    HRESULT STDMETHODCALLTYPE get_X(VARIANT* x) override { return read("X", x); }
    HRESULT STDMETHODCALLTYPE get_Y(VARIANT* y) override { return read("Y", y); }
    HRESULT STDMETHODCALLTYPE get_Z(VARIANT* z) override { return read("Z", z); }
};

} // namespace

IDispatch* make_host_object(ServerContext& context, const std::string& path) {
    const auto address = parse_object_path(path);
    switch (address ? address->type : ObjectType::Server) {
    case ObjectType::Application:
        return new Application(context, path);
    case ObjectType::PartProgram:
        return new PartProgram(context, path);
    case ObjectType::Commands:
        return new Commands(context, path);
    case ObjectType::Command:
        return new Command(context, path);
    case ObjectType::Feature:
        return new Feature(context, path);
    case ObjectType::Point:
        return new Point(context, path);
    default:
        throw HostError(host_error::failed, "Objekt existiert nicht mehr");
    }
}

} // namespace vormesa_sim::win32
