#include "common/com/com_apartment.h"

#include <array>
#include <cstdio>
#include <objbase.h>
#include <string>

namespace kastrel::common::com {
namespace {

std::string describe(const char* call, HRESULT result) {
    std::array<char, 24> code{};
    std::snprintf(code.data(), code.size(), "0x%08lX", static_cast<unsigned long>(result));
    return std::string(call) + ": " + code.data();
}

} // namespace

ComError::ComError(const char* call, HRESULT result)
    : std::runtime_error(describe(call, result)), result_(result) {}

ComApartment::ComApartment() {
    // S_FALSE (already initialised here) also needs its CoUninitialize.
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(result))
        throw ComError("CoInitializeEx", result);
}

ComApartment::~ComApartment() {
    CoUninitialize();
}

} // namespace kastrel::common::com
