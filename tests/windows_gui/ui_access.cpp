#include "tests/windows_gui/ui_access.h"

namespace kastrel::wintest {

bool wait_until(std::chrono::milliseconds timeout, const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        Sleep(10);
    }
}

void round_trip(HWND window) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

std::vector<HWND> top_level_windows(DWORD process_id) {
    struct Search {
        DWORD process_id;
        std::vector<HWND> found;
    } search{process_id, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            DWORD owner_process = 0;
            GetWindowThreadProcessId(window, &owner_process);
            if (owner_process == s.process_id)
                s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring window_text(HWND window) {
    // WM_GETTEXT, as GetWindowText does not ask another process's controls.
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::wstring class_name(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

HWND find_descendant(HWND parent, int id, const wchar_t* window_class) {
    struct Search {
        int id;
        const wchar_t* window_class;
        HWND found;
    } search{id, window_class, nullptr};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            if ((s.id == 0 || GetDlgCtrlID(window) == s.id) &&
                (s.window_class == nullptr ||
                 lstrcmpiW(class_name(window).c_str(), s.window_class) == 0)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring static_texts(HWND dialog) {
    struct Texts {
        std::wstring joined;
    } texts;
    EnumChildWindows(
        dialog,
        [](HWND window, LPARAM context) -> BOOL {
            auto& t = *reinterpret_cast<Texts*>(context);
            if (lstrcmpiW(class_name(window).c_str(), L"Static") == 0) {
                const std::wstring text = window_text(window);
                if (!text.empty())
                    t.joined += (t.joined.empty() ? L"" : L"\n") + text;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts.joined;
}

namespace {

HWND open_dialog(HWND owner, DWORD process_id) {
    for (HWND window : top_level_windows(process_id))
        if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == owner &&
            class_name(window) == L"#32770")
            return window;
    return nullptr;
}

} // namespace

HWND wait_for_dialog(HWND owner, DWORD process_id, std::chrono::milliseconds timeout) {
    HWND dialog = nullptr;
    wait_until(timeout, [&] { return (dialog = open_dialog(owner, process_id)) != nullptr; });
    return dialog;
}

bool has_dialog(HWND owner, DWORD process_id) {
    return open_dialog(owner, process_id) != nullptr;
}

void press_dialog_button(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

bool is_checked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

RECT rect_in_parent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<std::wstring> list_entries(HWND list) {
    std::vector<std::wstring> entries;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        entries.push_back(text);
    }
    return entries;
}

int selected_count(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETSELCOUNT, 0, 0));
}

std::string to_utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

} // namespace kastrel::wintest
