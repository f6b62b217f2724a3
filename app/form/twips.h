#pragma once

namespace kastrel::app {

// The window is laid out in twips: 1440 to the inch at any resolution.
inline constexpr int twips_per_inch = 1440;

// Nearest whole pixel at `dpi`, halves up; twips are never negative here.
constexpr int twips_to_pixels(int twips, int dpi) {
    return (twips * dpi + twips_per_inch / 2) / twips_per_inch;
}

// A rectangle in twips or in pixels; the unit only keeps the two apart.
template <typename Unit> struct Rect {
    int left;
    int top;
    int width;
    int height;
    friend bool operator==(const Rect&, const Rect&) = default;
};
using TwipsRect = Rect<struct Twips>;
using PixelRect = Rect<struct Pixels>;

// Position and size are rounded each on its own, as the layout states them.
constexpr PixelRect to_pixels(const TwipsRect& twips, int dpi) {
    return {twips_to_pixels(twips.left, dpi), twips_to_pixels(twips.top, dpi),
            twips_to_pixels(twips.width, dpi), twips_to_pixels(twips.height, dpi)};
}

} // namespace kastrel::app
