#include "vormesa-sim/win32/type_library.h"

#include "vormesa-sim/host_value.h"
#include "vormesa-sim/win32/registration.h"

namespace vormesa_sim::win32 {
namespace {

using kastrel::common::com::ComPtr;

// Resource numbers of the libraries in the executable (stand_in.rc).
int resource_of(MemberKind members_as) {
    return members_as == MemberKind::Methods ? 2 : 1;
}

[[noreturn]] void fail(HRESULT result, const char* what) {
    throw HostError(static_cast<std::int32_t>(result), what);
}

} // namespace

TypeLibrary::TypeLibrary(MemberKind members_as) {
    // "<executable>\<n>" names the n-th TYPELIB resource of that file.
    const std::wstring name = executable_path() + L"\\" + std::to_wstring(resource_of(members_as));
    const HRESULT result = LoadTypeLibEx(name.c_str(), REGKIND_NONE, library_.put());
    if (FAILED(result))
        fail(result, "Typbibliothek kann nicht geladen werden");
}

ITypeInfo* TypeLibrary::interface_info(REFIID iid) {
    for (const auto& [known, info] : infos_)
        if (IsEqualIID(known, iid))
            return info.get();
    ComPtr<ITypeInfo> info;
    HRESULT result = library_->GetTypeInfoOfGuid(iid, info.put());
    if (FAILED(result))
        fail(result, "Schnittstelle fehlt in der Typbibliothek");
    // A dual interface is found as its dispatch part; calls go through its vtable part.
    TYPEATTR* attributes = nullptr;
    result = info->GetTypeAttr(&attributes);
    if (FAILED(result))
        fail(result, "Typbibliothek unlesbar");
    const bool dispatch_part = attributes->typekind == TKIND_DISPATCH;
    info->ReleaseTypeAttr(attributes);
    if (dispatch_part) {
        HREFTYPE vtable_part = 0;
        ComPtr<ITypeInfo> interface_part;
        result = info->GetRefTypeOfImplType(-1, &vtable_part);
        if (SUCCEEDED(result))
            result = info->GetRefTypeInfo(vtable_part, interface_part.put());
        if (FAILED(result))
            fail(result, "Schnittstelle ist nicht dual");
        info = std::move(interface_part);
    }
    infos_.emplace_back(iid, info);
    return info.get();
}

} // namespace vormesa_sim::win32
