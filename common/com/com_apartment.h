#pragma once

#include "common/non_copyable.h"

#include <stdexcept>
#include <windows.h>

namespace kastrel::common::com {

// A COM call that failed, with its HRESULT.
class ComError : public std::runtime_error {
public:
    ComError(const char* call, HRESULT result);
    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};

// COM, apartment-threaded, for the thread that creates it and as long as it
// lives. The program's main owns one before any COM call.
class ComApartment : private common::NonCopyable {
public:
    // Throws ComError when COM cannot be initialised on this thread.
    ComApartment();
    ~ComApartment();
};

} // namespace kastrel::common::com
