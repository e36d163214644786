// Colours as the window designs give them: an RGB value, or one of the
// system's colours, marked by the high bit as the design tables do.
#pragma once

#include <windows.h>

namespace tk {

using Color = DWORD;

constexpr Color systemColor(int index) {
    return 0x80000000u | static_cast<DWORD>(index);
}
constexpr Color rgb(int r, int g, int b) {
    return RGB(r, g, b);
}

inline COLORREF resolveColor(Color color) {
    return (color & 0x80000000u) ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

constexpr Color buttonFace = systemColor(COLOR_BTNFACE);
constexpr Color windowText = systemColor(COLOR_WINDOWTEXT);
constexpr Color lime = rgb(0, 255, 0);
constexpr Color grey = rgb(128, 128, 128);
constexpr Color silver = rgb(192, 192, 192);
constexpr Color black = rgb(0, 0, 0);
constexpr Color white = rgb(255, 255, 255);
constexpr Color moneyGreen = rgb(192, 220, 192);

} // namespace tk
