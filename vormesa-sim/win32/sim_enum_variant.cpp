#include "vormesa-sim/win32/sim_enum_variant.h"

#include "vormesa-sim/win32/busy_filter.h"
#include "vormesa-sim/win32/host_objects.h"
#include "vormesa-sim/win32/variant_codec.h"

#include <new>

namespace vormesa_sim::win32 {

IEnumVARIANT* SimEnumVariant::create(ServerContext& context, std::string path) {
    return new SimEnumVariant(context, std::move(path));
}

SimEnumVariant::SimEnumVariant(ServerContext& context, std::string path)
    : context_(context), lock_(context.lifetime), path_(std::move(path)) {}

SimEnumVariant::~SimEnumVariant() {
    try {
        context_.host.release(path_);
    } catch (const std::exception&) {
        // Nothing a client could do about it.
    }
}

HRESULT SimEnumVariant::Next(ULONG count, VARIANT* items, ULONG* fetched) {
    if (!items || (count > 1 && !fetched))
        return E_POINTER;
    const ObjectMaker make_object = [this](const std::string& path) {
        return make_host_object(context_, path);
    };
    if (context_.host.busy_now())
        return busy_result;
    ULONG done = 0;
    try {
        for (; done < count; ++done) {
            NextResult step = context_.host.next(path_);
            if (!step.more)
                break;
            items[done] = variant_of(step.item, make_object).detach();
        }
    } catch (const CallHangs&) {
        answer_nothing_more();
    } catch (const HostError& error) {
        for (ULONG i = 0; i < done; ++i)
            VariantClear(&items[i]);
        if (fetched)
            *fetched = 0;
        return static_cast<HRESULT>(error.number());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (fetched)
        *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

HRESULT SimEnumVariant::Skip(ULONG count) {
    try {
        for (ULONG i = 0; i < count; ++i)
            if (!context_.host.next(path_).more)
                return S_FALSE;
    } catch (const HostError& error) {
        return static_cast<HRESULT>(error.number());
    }
    return S_OK;
}

HRESULT SimEnumVariant::Reset() {
    return E_NOTIMPL;
}

HRESULT SimEnumVariant::Clone(IEnumVARIANT** copy) {
    if (copy)
        *copy = nullptr;
    return E_NOTIMPL;
}

} // namespace vormesa_sim::win32
