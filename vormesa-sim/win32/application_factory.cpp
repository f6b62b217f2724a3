#include "vormesa-sim/win32/application_factory.h"

#include "vormesa-sim/win32/host_objects.h"

#include <new>
#include <objbase.h>

namespace vormesa_sim::win32 {

HRESULT ApplicationFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    try {
        IDispatch* application =
            make_host_object(context_, context_.host.create_object(application_class));
        const HRESULT result = application->QueryInterface(iid, object);
        application->Release();
        return result;
    } catch (const HostError& error) {
        return static_cast<HRESULT>(error.number());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ApplicationFactory::LockServer(BOOL lock) {
    if (lock)
        context_.lifetime.lock();
    else
        context_.lifetime.unlock();
    return S_OK;
}

ClassRegistration::ClassRegistration(const CLSID& class_id, IClassFactory& factory) {
    const HRESULT result = CoRegisterClassObject(class_id, &factory, CLSCTX_LOCAL_SERVER,
                                                 REGCLS_MULTIPLEUSE, &cookie_);
    if (FAILED(result))
        throw HostError(static_cast<std::int32_t>(result),
                        "Klassenobjekt kann nicht registriert werden");
}

ClassRegistration::~ClassRegistration() {
    revoke();
}

void ClassRegistration::revoke() noexcept {
    if (cookie_ != 0)
        CoRevokeClassObject(cookie_);
    cookie_ = 0;
}

} // namespace vormesa_sim::win32
