#pragma once

namespace kastrel::host::com {

// COM, apartment-threaded, for the thread that creates it and as long as it
// lives. The program's main owns one before any host call.
class ComApartment {
public:
    // Throws AutomationError when COM cannot be initialised on this thread.
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

} // namespace kastrel::host::com
