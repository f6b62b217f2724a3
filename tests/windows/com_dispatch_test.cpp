// How the COM backend calls a host object, seen by one in process that
// records each call and, like a host that uses them, writes back through its
// by-reference arguments.

#include "common/com/com_apartment.h"
#include "common/com/com_object.h"
#include "common/com/com_values.h"
#include "host/com/com_connector.h"
#include "host/com/com_dispatch.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kastrel::wintest {
namespace {

using common::com::ComObject;
using common::com::ComPtr;

class EmptyWalk final : public ComObject<IEnumVARIANT> {
public:
    HRESULT STDMETHODCALLTYPE Next(ULONG, VARIANT*, ULONG* fetched) override {
        if (fetched)
            *fetched = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }
};

constexpr DISPID id_member = 1;
constexpr DISPID get_hit_member = 2;

class RecordingHost final : public ComObject<IDispatch> {
public:
    struct Call {
        DISPID dispid;
        WORD flags;
        std::vector<VARTYPE> types; // in the caller's order
    };
    std::vector<Call> calls;
    int lookups = 0;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                            DISPID* dispids) override {
        ++lookups;
        const std::wstring name = names[0];
        *dispids = name == L"ID" ? id_member : name == L"GetHit" ? get_hit_member : DISPID_UNKNOWN;
        return *dispids == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        Call call{dispid, flags, {}};
        for (UINT i = params->cArgs; i-- > 0;)
            call.types.push_back(V_VT(&params->rgvarg[i]));
        calls.push_back(call);
        if (dispid == DISPID_NEWENUM) {
            V_VT(result) = VT_UNKNOWN;
            V_UNKNOWN(result) = new EmptyWalk;
        } else if (dispid == get_hit_member && params->cArgs == 6 &&
                   V_VT(&params->rgvarg[5]) == (VT_BYREF | VT_R8) &&
                   V_VT(&params->rgvarg[1]) == (VT_BYREF | VT_BSTR)) {
            *V_R8REF(&params->rgvarg[5]) = 7.0;
            SysFreeString(*V_BSTRREF(&params->rgvarg[1]));
            *V_BSTRREF(&params->rgvarg[1]) = SysAllocString(L"geschrieben");
            V_VT(result) = VT_NULL;
        } else {
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = SysAllocString(L"K1");
        }
        return S_OK;
    }
};

TEST(ComDispatchCalls, EachMemberAsReadOrCallWithByRefArgumentsThatComeBackWritten) {
    common::com::ComApartment apartment;
    host::com::ComConnector connector;
    auto* recorder = new RecordingHost;
    const host::Object object =
        host::com::make_object(connector.call_thread(), ComPtr<IDispatch>(recorder));

    EXPECT_EQ(object->get("ID"), host::Variant(std::string("K1")));
    EXPECT_EQ(object->get("ID"), host::Variant(std::string("K1")));
    EXPECT_FALSE(object->enumerate()->next());
    std::array<host::Argument, 6> args = {{{host::Variant(1.0), true},
                                           {host::Variant(std::int32_t{0})},
                                           {host::Variant(std::int32_t{3})},
                                           {host::Variant(std::int32_t{13})},
                                           {host::Variant(std::string()), true},
                                           {host::Variant(std::int32_t{0})}}};
    object->call("GetHit", args);

    ASSERT_EQ(recorder->calls.size(), 4u);
    for (const auto& call : recorder->calls)
        EXPECT_EQ(call.flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET) << call.dispid;
    EXPECT_EQ(recorder->calls[2].dispid, DISPID_NEWENUM);
    EXPECT_EQ(recorder->calls[3].types, (std::vector<VARTYPE>{VT_BYREF | VT_R8, VT_I4, VT_I4, VT_I4,
                                                              VT_BYREF | VT_BSTR, VT_I4}));
    EXPECT_EQ(args[0].value, host::Variant(7.0));
    EXPECT_EQ(args[4].value, host::Variant(std::string("geschrieben")));
    // Every call is made, but each name is looked up once per object.
    EXPECT_EQ(recorder->lookups, 2);
}

} // namespace
} // namespace kastrel::wintest
