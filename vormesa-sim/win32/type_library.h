#pragma once

#include "common/com/com_ptr.h"
#include "vormesa-sim/command_line.h"

#include <oaidl.h>
#include <utility>
#include <vector>

namespace vormesa_sim::win32 {

// The server's own type library, as embedded in its executable: one for each
// way of declaring the members read without arguments. Calls are checked and
// dispatched against it by the system's automation code.
class TypeLibrary {
public:
    // Throws HostError when the library cannot be loaded.
    explicit TypeLibrary(MemberKind members_as);

    // The type information of the vtable interface `iid`, for DispInvoke;
    // throws HostError when the library does not declare it.
    ITypeInfo* interface_info(REFIID iid);

private:
    kastrel::common::com::ComPtr<ITypeLib> library_;
    std::vector<std::pair<IID, kastrel::common::com::ComPtr<ITypeInfo>>> infos_;
};

} // namespace vormesa_sim::win32
