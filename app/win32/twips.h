#pragma once

namespace kastrel::app::win32 {

// The window was laid out in twips: 1440 to the inch at any resolution.
inline constexpr int twips_per_inch = 1440;

// Nearest whole pixel at `dpi`, halves up; twips are never negative here.
constexpr int twips_to_pixels(int twips, int dpi) {
    return (twips * dpi + twips_per_inch / 2) / twips_per_inch;
}

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

} // namespace kastrel::app::win32
