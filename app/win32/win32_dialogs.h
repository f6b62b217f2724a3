#pragma once

#include "app/main_window/main_window_view.h"

#include <optional>
#include <string>
#include <string_view>
#include <windows.h>

namespace kastrel::app::win32 {

// A message box owned by `owner`: the text, OK only, no icon, under the
// application title.
void show_message_box(HWND owner, const std::string& text);

// The Save dialog as CommonDialog1 shows it; the chosen path in UTF-8, or
// nothing when the user cancels.
std::optional<std::string> ask_save_file(HWND owner, const SaveDialogRequest& request);

// "description|pattern|..." as the dialog wants it: each part ended by a
// NUL and the whole list by one more.
std::wstring dialog_filter(std::string_view filter);

} // namespace kastrel::app::win32
