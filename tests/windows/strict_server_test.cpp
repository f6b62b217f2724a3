// The stand-in server is as strict as one that dispatches through its type
// library: the system's Invoke refuses a call kind the declaration does not
// have. A client that passes both kinds, as Kastrel does, is served by both
// declarations.

#include "common/com/com_values.h"
#include "common/win32/utf16.h"
#include "host/com/com_dispatch.h"
#include "tests/windows/com_test.h"
#include "tests/windows/server_process.h"

namespace kastrel::wintest {
namespace {

using common::com::UniqueVariant;

// A bare Invoke without arguments, as a client that names the call kind.
HRESULT invoke_as(IDispatch* object, const wchar_t* name, WORD flags) {
    DISPID dispid = DISPID_NEWENUM;
    if (name) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        const HRESULT found =
            object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
        if (FAILED(found))
            return found;
    }
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    UniqueVariant result;
    common::com::ExceptionInfo info;
    UINT argument_error = 0;
    return object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &none, result.get(),
                          info.get(), &argument_error);
}

using StrictServer = ComTest;

// Each argument-less member and the enumerator, asked with one call kind or
// both: the system's Invoke answers DISP_E_MEMBERNOTFOUND unless the kinds
// include the declared one. A property-get-only client fails against methods,
// a method-only one against properties.
TEST_F(StrictServer, CallKindsAreCheckedAgainstTheDeclaration) {
    struct Mode {
        const char* name;
        WORD declared;
    };
    for (const Mode mode :
         {Mode{"properties", DISPATCH_PROPERTYGET}, Mode{"methods", DISPATCH_METHOD}}) {
        SCOPED_TRACE(mode.name);
        ServerProcess server(
            {"--no-window", "--members-as", mode.name, example("bolt_circle_8.json")});
        ASSERT_TRUE(server.ready());
        // Kastrel reads through either declaration.
        const host::Object app = application();
        const host::Object commands =
            app->get("ActivePartProgram").to_object()->get("Commands").to_object();
        ASSERT_TRUE(commands);
        struct Case {
            const host::Object& object;
            const wchar_t* member; // none: the enumerator
        };
        for (const Case c :
             {Case{app, L"ActivePartProgram"}, Case{commands, nullptr}, Case{commands, L"Count"}}) {
            for (const WORD flags : {WORD{DISPATCH_PROPERTYGET}, WORD{DISPATCH_METHOD},
                                     WORD{DISPATCH_METHOD | DISPATCH_PROPERTYGET}}) {
                SCOPED_TRACE(c.member ? common::to_utf8(c.member) : "_NewEnum");
                SCOPED_TRACE(flags);
                // On the thread the object's calls are made on, where it lives.
                const HRESULT answer =
                    dynamic_cast<host::com::ComDispatch&>(*c.object).with_interface(
                        [&](IDispatch* object) { return invoke_as(object, c.member, flags); });
                EXPECT_EQ(answer, (flags & mode.declared) ? S_OK : DISP_E_MEMBERNOTFOUND);
            }
        }
    }
}

} // namespace
} // namespace kastrel::wintest
