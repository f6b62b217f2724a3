#pragma once

#include "vormesa-sim/win32/server_lifetime.h"

#include <atomic>
#include <oaidl.h>
#include <string>

namespace vormesa_sim::win32 {

// One host object, named by its model path, served through IDispatch alone:
// member names come from the server's table, calls go to the model, and the
// model's failures become DISP_E_EXCEPTION with the number and description.
class SimDispatch final : public IDispatch {
public:
    // A new object with one reference for the caller.
    static IDispatch* create(ServerContext& context, std::string path);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* dispids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument_error) override;

private:
    SimDispatch(ServerContext& context, std::string path);
    ~SimDispatch() = default;

    HRESULT call(std::string_view member, DISPPARAMS& params, VARIANT* result,
                 UINT* argument_error);
    HRESULT new_enum(VARIANT* result);
    void set_result(const Value& value, VARIANT* result);

    std::atomic<ULONG> references_{1};
    ServerContext& context_;
    ServerLock lock_;
    std::string path_;
};

// Hands a model failure to the caller: DISP_E_EXCEPTION with the details, or
// the bare number when the caller gave no EXCEPINFO.
HRESULT report_failure(const HostError& error, EXCEPINFO* exception);

} // namespace vormesa_sim::win32
