#pragma once

#include "common/non_copyable.h"

namespace kastrel::exporter {

// The "C" rules for numbers, which the workbook's XML needs, whatever the
// process's locale: the GUI toolkit sets it from the environment, and the
// workbook library formats numbers with printf. A `Scope` puts them in
// force on this thread for its lifetime; every call into the library is made
// inside one.
class CNumbers : common::NonCopyable {
public:
    CNumbers();
    ~CNumbers();

    class Scope : common::NonCopyable {
    public:
        explicit Scope(const CNumbers& numbers);
        ~Scope();

    private:
        void* previous_ = nullptr;
    };

private:
    void* locale_ = nullptr;
};

} // namespace kastrel::exporter
