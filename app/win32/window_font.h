#pragma once

#include "common/non_copyable.h"

#include <windows.h>

namespace kastrel::app::win32 {

// The system's default GUI font at a window's resolution; the controls'
// captions were laid out for it. Owns the font handle.
class WindowFont : private common::NonCopyable {
public:
    explicit WindowFont(int dpi);
    ~WindowFont();

    HFONT handle() const { return font_; }

private:
    HFONT font_ = nullptr;
};

} // namespace kastrel::app::win32
