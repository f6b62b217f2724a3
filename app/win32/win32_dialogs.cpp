#include "app/win32/win32_dialogs.h"

#include "app/texts/program_identity.h"
#include "common/win32/utf16.h"

#include <algorithm>
#include <commdlg.h>
#include <cwchar>
#include <vector>

namespace kastrel::app::win32 {
namespace {

// Room for long paths; the dialog reports a longer one as an error.
constexpr std::size_t file_name_capacity = 32768;

// What the hook needs of the request: per type (from 1) the extension a name
// typed without one gets, whether to ask before overwriting, and the
// extensions of files that are continued rather than replaced.
struct DialogTypes {
    std::vector<std::wstring> default_extensions;
    bool confirm_overwrite = false;
    std::vector<std::wstring> continued_extensions;
};

// The extension the chosen type gives a name without one; empty for none.
std::wstring extension_for(const DialogTypes& types, DWORD filter_index, const wchar_t* name) {
    if (filter_index < 1 || filter_index > types.default_extensions.size())
        return {};
    const std::wstring& extension = types.default_extensions[filter_index - 1];
    const wchar_t* leaf = std::wcsrchr(name, L'\\');
    leaf = leaf != nullptr ? leaf + 1 : name;
    if (extension.empty() || std::wcschr(leaf, L'.') != nullptr)
        return {};
    return L"." + extension;
}

bool is_continued(const DialogTypes& types, const std::wstring& name) {
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c; };
    return std::any_of(types.continued_extensions.begin(), types.continued_extensions.end(),
                       [&](const std::wstring& extension) {
                           const std::wstring ending = L"." + extension;
                           return name.size() > ending.size() &&
                                  std::equal(ending.begin(), ending.end(),
                                             name.end() -
                                                 static_cast<std::ptrdiff_t>(ending.size()),
                                             [&](wchar_t want, wchar_t have) {
                                                 return lower(want) == lower(have);
                                             });
                       });
}

// The overwrite question is asked here, not by the dialog, before the dialog
// closes: about the name with the extension the chosen type gives it (set
// after the dialog), and not at all for a file that is continued.
UINT_PTR CALLBACK save_dialog_hook(HWND child, UINT message, WPARAM, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        const auto* dialog = reinterpret_cast<const OPENFILENAMEW*>(lparam);
        SetWindowLongPtrW(child, GWLP_USERDATA, static_cast<LONG_PTR>(dialog->lCustData));
        return 0;
    }
    if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lparam)->code != CDN_FILEOK)
        return 0;
    const OPENFILENAMEW* dialog = reinterpret_cast<const OFNOTIFYW*>(lparam)->lpOFN;
    const auto* types =
        reinterpret_cast<const DialogTypes*>(GetWindowLongPtrW(child, GWLP_USERDATA));
    if (types == nullptr || !types->confirm_overwrite)
        return 0;
    const std::wstring extension = extension_for(*types, dialog->nFilterIndex, dialog->lpstrFile);
    const std::wstring name = dialog->lpstrFile + extension;
    if (is_continued(*types, name) || GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES)
        return 0;
    const wchar_t* leaf = std::wcsrchr(name.c_str(), L'\\');
    const std::wstring question = std::wstring(leaf != nullptr ? leaf + 1 : name.c_str()) +
                                  L" ist bereits vorhanden.\nMöchten Sie sie ersetzen?";
    const HWND dialog_window = GetParent(child);
    if (MessageBoxW(dialog_window, question.c_str(), L"Speichern unter bestätigen",
                    MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
        return 0;
    SetWindowLongPtrW(child, DWLP_MSGRESULT, 1); // the dialog stays open
    return 1;
}

std::optional<std::string> run_save_dialog(HWND owner, const SaveDialogRequest& request,
                                           const std::wstring& filter,
                                           const std::wstring& proposed_name) {
    std::vector<wchar_t> file(file_name_capacity, L'\0');
    proposed_name.copy(file.data(), std::min(proposed_name.size(), file.size() - 1));
    DialogTypes types;
    for (const std::string& extension : request.default_extensions)
        types.default_extensions.push_back(common::to_utf16(extension));
    types.confirm_overwrite = (request.flags & OFN_OVERWRITEPROMPT) != 0;
    for (const std::string& extension : request.continued_extensions)
        types.continued_extensions.push_back(common::to_utf16(extension));

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filter_index);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    // No default extension for the dialog: under the text type a name typed
    // without one is used as typed; the workbook type's is added below.
    // The hook asks the overwrite question (above), so the dialog does not.
    dialog.Flags = (static_cast<DWORD>(request.flags) & ~static_cast<DWORD>(OFN_OVERWRITEPROMPT)) |
                   OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING;
    dialog.lpfnHook = save_dialog_hook;
    dialog.lCustData = reinterpret_cast<LPARAM>(&types);
    if (!GetSaveFileNameW(&dialog))
        return std::nullopt;
    return common::to_utf8(file.data() + extension_for(types, dialog.nFilterIndex, file.data()));
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
