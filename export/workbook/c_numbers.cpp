#include "export/workbook/c_numbers.h"

#ifndef _WIN32
#include <locale.h>
#include <stdexcept>
#endif

namespace kastrel::exporter {

#ifdef _WIN32
// Kastrel.exe never changes the C runtime's locale from "C".
CNumbers::CNumbers() = default;
CNumbers::~CNumbers() = default;
CNumbers::Scope::Scope(const CNumbers&) {}
CNumbers::Scope::~Scope() = default;
#else
CNumbers::CNumbers() : locale_(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0))) {
    if (!locale_)
        throw std::bad_alloc();
}
CNumbers::~CNumbers() {
    freelocale(static_cast<locale_t>(locale_));
}
CNumbers::Scope::Scope(const CNumbers& numbers)
    : previous_(uselocale(static_cast<locale_t>(numbers.locale_))) {}
CNumbers::Scope::~Scope() {
    uselocale(static_cast<locale_t>(previous_));
}
#endif

} // namespace kastrel::exporter
