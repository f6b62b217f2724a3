#include "common/com/com_values.h"

#include "common/win32/utf16.h"

namespace kastrel::common::com {

Bstr::Bstr(std::string_view utf8) {
    const std::wstring text = to_utf16(utf8);
    text_ = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

Bstr::~Bstr() {
    SysFreeString(text_);
}

std::string utf8_of(BSTR text) {
    if (!text)
        return {};
    return to_utf8(std::wstring_view(text, SysStringLen(text)));
}

ExceptionInfo::~ExceptionInfo() {
    SysFreeString(info_.bstrSource);
    SysFreeString(info_.bstrDescription);
    SysFreeString(info_.bstrHelpFile);
}

void ExceptionInfo::fill_in() noexcept {
    if (info_.pfnDeferredFillIn) {
        info_.pfnDeferredFillIn(&info_);
        info_.pfnDeferredFillIn = nullptr;
    }
}

} // namespace kastrel::common::com
