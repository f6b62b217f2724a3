#include "host/com/com_apartment.h"

#include "host/com/com_error.h"

#include <objbase.h>

namespace kastrel::host::com {

ComApartment::ComApartment() {
    // S_FALSE (already initialised here) also needs its CoUninitialize.
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(result))
        throw automation_error(result);
}

ComApartment::~ComApartment() {
    CoUninitialize();
}

} // namespace kastrel::host::com
