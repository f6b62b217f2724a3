#pragma once

#include "common/com/com_object.h"
#include "common/non_copyable.h"
#include "vormesa-sim/win32/server_lifetime.h"

#include <unknwn.h>

namespace vormesa_sim::win32 {

// The class object registered for ZORVAT.Application: each CreateInstance
// hands out the model's application object. Its holder keeps it no longer
// than the context it was made with.
class ApplicationFactory final : public kastrel::common::com::ComObject<IClassFactory> {
public:
    // A new factory with one reference for the caller.
    static IClassFactory* create(ServerContext& context) { return new ApplicationFactory(context); }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    explicit ApplicationFactory(ServerContext& context) : context_(context) {}

    ServerContext& context_;
};

// The factory's registration with COM, revoked when it goes.
class ClassRegistration : private kastrel::common::NonCopyable {
public:
    // Throws HostError when COM refuses the class object.
    ClassRegistration(const CLSID& class_id, IClassFactory& factory);
    ~ClassRegistration();

    // Takes the class object back before the server ends, so no new client reaches it.
    void revoke() noexcept;

private:
    DWORD cookie_ = 0;
};

} // namespace vormesa_sim::win32
