#pragma once

#include "common/com/com_ptr.h"
#include "common/com/com_values.h"
#include "host/com/call_thread.h"
#include "host/dispatch.h"

#include <functional>
#include <memory>
#include <oaidl.h>

namespace kastrel::host::com {

// A host object reached through its IDispatch by member name, without a type
// library. Every call is made on the connection's call thread; the object is
// released there when the last host::Object for it goes.
class ComDispatch : public Dispatch {
public:
    // On the call thread: `object` was got there.
    ComDispatch(std::shared_ptr<CallThread> thread, common::com::ComPtr<IDispatch> object);

    Variant get(std::string_view member) override;
    Variant call(std::string_view member, std::span<Argument> args) override;
    std::unique_ptr<Enumerator> enumerate() override;

    // The interface pointer, for use on the call thread only.
    IDispatch* interface_pointer() const noexcept;
    // Runs `work` with the interface pointer on the call thread.
    HRESULT with_interface(const std::function<HRESULT(IDispatch*)>& work) const;

private:
    struct Remote;

    std::shared_ptr<CallThread> thread_;
    std::shared_ptr<Remote> remote_;
};

// On the call thread: the host object for an interface pointer; no object for
// a null pointer.
Object make_object(const std::shared_ptr<CallThread>& thread,
                   common::com::ComPtr<IDispatch> object);

} // namespace kastrel::host::com
