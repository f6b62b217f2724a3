#include "host/com/com_error.h"

#include "common/win32/utf16.h"

#include <array>
#include <cstdio>

namespace kastrel::host::com {
namespace {

// The numbers that mean a lost host are the platform's own.
static_assert(error_number::host_unavailable == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE));
static_assert(error_number::host_call_failed == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED));
static_assert(error_number::host_call_failed_not_executed ==
              HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE));
static_assert(error_number::host_died == RPC_E_SERVER_DIED);
static_assert(error_number::host_died_not_executed == RPC_E_SERVER_DIED_DNE);
static_assert(error_number::host_object_not_connected == CO_E_OBJNOTCONNECTED);
static_assert(error_number::host_disconnected == RPC_E_DISCONNECTED);

std::wstring format_message(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.'))
        text.pop_back();
    return text;
}

} // namespace

std::string system_message(HRESULT result) {
    const auto code = static_cast<DWORD>(result);
    std::wstring text = format_message(code);
    // Win32 errors wrapped in an HRESULT are often only known by their plain number.
    if (text.empty() && HRESULT_FACILITY(result) == FACILITY_WIN32)
        text = format_message(HRESULT_CODE(result));
    return common::to_utf8(text);
}

std::string code_and_message(HRESULT result) {
    std::array<char, 16> code{};
    std::snprintf(code.data(), code.size(), "0x%08lX", static_cast<unsigned long>(result));
    const std::string text = system_message(result);
    return text.empty() ? std::string(code.data()) : std::string(code.data()) + " " + text;
}

AutomationError automation_error(HRESULT result) {
    return AutomationError(ErrorKind::System, static_cast<std::int32_t>(result), {},
                           system_message(result));
}

AutomationError automation_error(HRESULT result, common::com::ExceptionInfo& info) {
    if (result != DISP_E_EXCEPTION)
        return automation_error(result);
    info.fill_in();
    const EXCEPINFO& details = *info.get();
    std::int32_t number = static_cast<std::int32_t>(result);
    if (details.scode != 0)
        number = static_cast<std::int32_t>(details.scode);
    else if (details.wCode != 0)
        number = details.wCode;
    std::string description = common::com::utf8_of(details.bstrDescription);
    if (description.empty())
        return automation_error(static_cast<HRESULT>(number));
    return AutomationError(number, std::move(description));
}

} // namespace kastrel::host::com
