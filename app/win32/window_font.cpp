#include "app/win32/window_font.h"

namespace kastrel::app::win32 {
namespace {

int system_dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

} // namespace

WindowFont::WindowFont(int dpi) {
    // The stock font is sized for the system resolution; a window on another
    // monitor needs it at its own. Scaled by its whole point size, so that a
    // resolution gives the same font whatever the system's resolution is.
    LOGFONTW description{};
    if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description) == 0) {
        description.lfHeight = -8 * USER_DEFAULT_SCREEN_DPI / 72;
        description.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(description.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
    }
    const int points =
        MulDiv(description.lfHeight < 0 ? -description.lfHeight : 11, 72, system_dpi());
    description.lfHeight = -MulDiv(points, dpi, 72);
    description.lfWidth = 0;
    font_ = CreateFontIndirectW(&description);
    if (font_ == nullptr)
        font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

WindowFont::~WindowFont() {
    // Deleting a stock object is harmless; DeleteObject ignores it.
    DeleteObject(font_);
}

} // namespace kastrel::app::win32
