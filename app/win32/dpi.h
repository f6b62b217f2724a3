#pragma once

#include <windows.h>

namespace kastrel::app::win32 {

// Per-monitor DPI awareness, or at least system DPI awareness where the
// newer call is missing or refused (older Windows, Wine 8). Call before the
// first window is created.
void become_dpi_aware();

// The resolution the window is drawn at.
int window_dpi(HWND window);

// The size of a window whose client area is `client` pixels at `dpi`.
SIZE window_size_for_client(SIZE client, DWORD style, DWORD ex_style, int dpi);

} // namespace kastrel::app::win32
