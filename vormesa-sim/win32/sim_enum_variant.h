#pragma once

#include "common/com/com_object.h"
#include "vormesa-sim/win32/server_lifetime.h"

#include <oaidl.h>
#include <string>

namespace vormesa_sim::win32 {

// A collection walk: one model enumerator, released with the last reference.
// The model cannot rewind or copy a walk, so Reset and Clone are not offered.
class SimEnumVariant final : public kastrel::common::com::ComObject<IEnumVARIANT> {
public:
    // A new enumerator with one reference for the caller.
    static IEnumVARIANT* create(ServerContext& context, std::string path);

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

private:
    SimEnumVariant(ServerContext& context, std::string path);
    ~SimEnumVariant() override;

    ServerContext& context_;
    ServerLock lock_;
    std::string path_;
};

} // namespace vormesa_sim::win32
