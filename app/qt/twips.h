#pragma once

#include <QRect>

namespace kastrel::app::qt {

// The window was laid out in twips; 15 twips make one logical pixel at the
// layout's reference resolution. Qt scales logical pixels for high DPI.
inline constexpr int twips_per_pixel = 15;

// Nearest whole pixel; twips are never negative here.
constexpr int twips_to_pixels(int twips) {
    return (twips + twips_per_pixel / 2) / twips_per_pixel;
}

// Position and size are rounded each on its own, as the layout states them.
constexpr QRect twips_rect(int left, int top, int width, int height) {
    return QRect(twips_to_pixels(left), twips_to_pixels(top), twips_to_pixels(width),
                 twips_to_pixels(height));
}

} // namespace kastrel::app::qt
