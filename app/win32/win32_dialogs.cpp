#include "app/win32/win32_dialogs.h"

#include "app/program_identity.h"
#include "common/win32/utf16.h"

#include <algorithm>
#include <commdlg.h>
#include <vector>

namespace kastrel::app::win32 {
namespace {

// Room for long paths; the dialog reports a longer one as an error.
constexpr std::size_t file_name_capacity = 32768;

std::optional<std::string> run_save_dialog(HWND owner, const SaveDialogRequest& request,
                                           const std::wstring& filter,
                                           const std::wstring& proposed_name) {
    std::vector<wchar_t> file(file_name_capacity, L'\0');
    proposed_name.copy(file.data(), std::min(proposed_name.size(), file.size() - 1));

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filter_index);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    // No default extension: a name typed without one is used as typed.
    dialog.Flags = static_cast<DWORD>(request.flags);
    if (!GetSaveFileNameW(&dialog))
        return std::nullopt;
    return common::to_utf8(file.data());
}

} // namespace

void show_message_box(HWND owner, const std::string& text) {
    MessageBoxW(owner, common::to_utf16(text).c_str(),
                common::to_utf16(identity::application_title).c_str(), MB_OK);
}

std::optional<std::string> ask_save_file(HWND owner, const SaveDialogRequest& request) {
    const std::wstring filter = dialog_filter(request.filter);
    const std::wstring proposed = common::to_utf16(request.proposed_name);
    if (auto chosen = run_save_dialog(owner, request, filter, proposed))
        return chosen;
    // A remembered name the dialog refuses (e.g. its folder has gone) must
    // not keep the dialog from opening at all.
    if (!proposed.empty() && CommDlgExtendedError() == FNERR_INVALIDFILENAME)
        return run_save_dialog(owner, request, filter, std::wstring());
    return std::nullopt;
}

std::wstring dialog_filter(std::string_view filter) {
    std::wstring result = common::to_utf16(filter);
    for (wchar_t& c : result)
        if (c == L'|')
            c = L'\0';
    result.push_back(L'\0');
    // c_str() adds the final terminator.
    return result;
}

} // namespace kastrel::app::win32
