#include "app/system/windows_regional.h"

#include <array>
#include <windows.h>

namespace kastrel {

std::string user_decimal_separator() {
    // The setting allows up to three characters plus the terminator.
    std::array<wchar_t, 8> symbol{};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, symbol.data(),
                                       static_cast<int>(symbol.size()));
    // Unreadable settings: the neutral symbol, which every spreadsheet reads.
    if (length <= 1)
        return ".";
    const int wide_length = length - 1;
    const int size =
        WideCharToMultiByte(CP_ACP, 0, symbol.data(), wide_length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, symbol.data(), wide_length, result.data(), size, nullptr,
                        nullptr);
    return result;
}

} // namespace kastrel
