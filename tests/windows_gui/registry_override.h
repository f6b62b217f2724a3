#pragma once

#include "common/non_copyable.h"

#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace kastrel::wintest {

// Sets one value under HKEY_CURRENT_USER for as long as it lives, then puts
// back what was there (or removes it). Programs started meanwhile read it.
class RegistryOverride : private common::NonCopyable {
public:
    RegistryOverride(const wchar_t* key, const wchar_t* name, const std::wstring& text);
    RegistryOverride(const wchar_t* key, const wchar_t* name, DWORD number);
    ~RegistryOverride();

private:
    void set(DWORD type, const void* data, DWORD size);

    std::wstring key_;
    std::wstring name_;
    std::optional<std::pair<DWORD, std::vector<BYTE>>> previous_;
};

} // namespace kastrel::wintest
