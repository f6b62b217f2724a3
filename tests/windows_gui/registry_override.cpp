#include "tests/windows_gui/registry_override.h"

#include <stdexcept>

namespace kastrel::wintest {

RegistryOverride::RegistryOverride(const wchar_t* key, const wchar_t* name,
                                   const std::wstring& text)
    : key_(key), name_(name) {
    set(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

RegistryOverride::RegistryOverride(const wchar_t* key, const wchar_t* name, DWORD number)
    : key_(key), name_(name) {
    set(REG_DWORD, &number, sizeof(number));
}

void RegistryOverride::set(DWORD type, const void* data, DWORD size) {
    DWORD old_type = 0;
    DWORD old_size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), RRF_RT_ANY, &old_type, nullptr,
                     &old_size) == ERROR_SUCCESS) {
        std::vector<BYTE> old(old_size);
        RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), RRF_RT_ANY, nullptr,
                     old.data(), &old_size);
        previous_.emplace(old_type, std::move(old));
    }
    if (RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), type, data, size) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot set a registry value for the test");
}

RegistryOverride::~RegistryOverride() {
    if (previous_)
        RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), previous_->first,
                        previous_->second.data(), static_cast<DWORD>(previous_->second.size()));
    else
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str());
}

} // namespace kastrel::wintest
