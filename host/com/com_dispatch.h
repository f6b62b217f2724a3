#pragma once

#include "common/com/com_ptr.h"
#include "common/com/com_values.h"
#include "host/dispatch.h"

#include <oaidl.h>
#include <string>
#include <utility>
#include <vector>

namespace kastrel::host::com {

// A host object reached through its IDispatch by member name, without a type
// library. The object is released when the last host::Object for it goes.
class ComDispatch : public Dispatch {
public:
    explicit ComDispatch(common::com::ComPtr<IDispatch> object) : object_(std::move(object)) {}

    Variant get(std::string_view member) override;
    Variant call(std::string_view member, std::span<Argument> args) override;
    std::unique_ptr<Enumerator> enumerate() override;

    IDispatch* interface_pointer() const noexcept { return object_.get(); }

private:
    // A member's DISPID is fixed for the object's lifetime, so it is asked once.
    DISPID dispid_of(std::string_view member);
    // Every member is invoked as read or call, whichever the host declares it as.
    common::com::UniqueVariant invoke(DISPID dispid, DISPPARAMS& params);

    common::com::ComPtr<IDispatch> object_;
    std::vector<std::pair<std::string, DISPID>> dispids_;
};

// The host object for an interface pointer; no object for a null pointer.
Object make_object(common::com::ComPtr<IDispatch> object);

} // namespace kastrel::host::com
