#pragma once

#include "vormesa-sim/win32/server_lifetime.h"

#include <atomic>
#include <unknwn.h>

namespace vormesa_sim::win32 {

// The class object registered for ZORVAT.Application: each CreateInstance
// hands out the model's application object. Lives as long as the server's
// main, so its reference count does not decide its life.
class ApplicationFactory final : public IClassFactory {
public:
    explicit ApplicationFactory(ServerContext& context) : context_(context) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    std::atomic<ULONG> references_{1};
    ServerContext& context_;
};

// The factory's registration with COM, revoked when it goes.
class ClassRegistration {
public:
    // Throws HostError when COM refuses the class object.
    ClassRegistration(const CLSID& class_id, IClassFactory& factory);
    ~ClassRegistration();
    ClassRegistration(const ClassRegistration&) = delete;
    ClassRegistration& operator=(const ClassRegistration&) = delete;

    // Takes the class object back before the server ends, so no new client reaches it.
    void revoke() noexcept;

private:
    DWORD cookie_ = 0;
};

} // namespace vormesa_sim::win32
