#include "vormesa-sim/win32/registration.h"

#include "common/win32/utf16.h"
#include "vormesa-sim/win32/server_ids.h"

#include <array>
#include <windows.h>

namespace vormesa_sim::win32 {
namespace {

using kastrel::common::to_utf8;

constexpr const wchar_t* classes_key = L"Software\\Classes\\";
constexpr const wchar_t* prog_id = L"ZORVAT.Application";

std::wstring class_id_text() {
    std::array<wchar_t, 40> text{};
    StringFromGUID2(application_class_id, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::string error_text(LSTATUS status, const std::wstring& key) {
    return "HKLM\\" + to_utf8(key) + ": Fehler " + std::to_string(status);
}

// Sets the default value of the key, creating the key as needed.
std::string set_default(const std::wstring& key, const std::wstring& value) {
    HKEY handle = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE,
                                     nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS)
        return error_text(status, key);
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(handle, nullptr, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS ? std::string() : error_text(status, key);
}

} // namespace

std::wstring executable_path() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string register_server() {
    const std::wstring prog_id_key = std::wstring(classes_key) + prog_id;
    const std::wstring class_key = std::wstring(classes_key) + L"CLSID\\" + class_id_text();
    const std::pair<std::wstring, std::wstring> values[] = {
        {prog_id_key, L"Vormesa (Stand-in)"},
        {prog_id_key + L"\\CLSID", class_id_text()},
        {class_key, L"Vormesa (Stand-in)"},
        {class_key + L"\\ProgID", prog_id},
        {class_key + L"\\LocalServer32", L"\"" + executable_path() + L"\""},
    };
    for (const auto& [key, value] : values)
        if (auto error = set_default(key, value); !error.empty())
            return error;
    return {};
}

std::string unregister_server() {
    const std::wstring keys[] = {
        std::wstring(classes_key) + prog_id,
        std::wstring(classes_key) + L"CLSID\\" + class_id_text(),
    };
    for (const auto& key : keys) {
        const LSTATUS status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            return error_text(status, key);
    }
    return {};
}

} // namespace vormesa_sim::win32
