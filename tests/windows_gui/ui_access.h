#pragma once

// Working another process's windows from a test: finding, reading, clicking.
// Anything that opens a modal loop there is posted, never sent, so the test
// is not blocked; waits poll with round trips to the other thread.

#include <chrono>
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

namespace kastrel::wintest {

using namespace std::chrono_literals;
inline constexpr std::chrono::milliseconds ui_timeout = 15s;

// Polls `condition` until it holds or `timeout` has passed; the last result.
bool wait_until(std::chrono::milliseconds timeout, const std::function<bool()>& condition);
// Returns once `window`'s thread has taken a sent message, i.e. is not busy.
void round_trip(HWND window);

std::vector<HWND> top_level_windows(DWORD process_id);
std::wstring window_text(HWND window);
std::wstring class_name(HWND window);
// The first descendant with this id and/or class (0 / nullptr: any).
HWND find_descendant(HWND parent, int id, const wchar_t* window_class);
// Texts of all static controls below `dialog`, joined by newlines.
std::wstring static_texts(HWND dialog);

// A visible dialog ("#32770") of `process_id` owned by `owner`, once there.
HWND wait_for_dialog(HWND owner, DWORD process_id, std::chrono::milliseconds timeout = ui_timeout);
// Whether such a dialog is open now.
bool has_dialog(HWND owner, DWORD process_id);
// Presses a dialog's button as its WM_COMMAND.
void press_dialog_button(HWND dialog, int id);

void click(HWND button);
bool is_checked(HWND button);
// The window's rectangle in its parent's client coordinates.
RECT rect_in_parent(HWND window);

std::vector<std::wstring> list_entries(HWND list);
int selected_count(HWND list);

std::string to_utf8(const std::wstring& text);

} // namespace kastrel::wintest
