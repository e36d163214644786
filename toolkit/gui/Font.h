// A font as a design names it: face, character height in pixels, colour and
// style. The GDI font is made on first use and kept.
#pragma once

#include "toolkit/gui/Color.h"
#include "toolkit/gui/DrawingHandles.h"

#include <string>

namespace tk {

struct FontStyle {
    std::string face = "MS Sans Serif";
    int height = 11; // character height in pixels (8 pt)
    Color color = windowText;
    bool bold = false;
    bool italic = false;
    // A symbol font such as "Wingdings" is asked for in its own character set,
    // or the system picks a text font in its place.
    bool symbol = false;
};

class Font {
public:
    Font() = default;
    explicit Font(FontStyle style) : style_(std::move(style)) {}
    Font(const Font& other) : style_(other.style_) {}
    Font& operator=(const Font& other) {
        style_ = other.style_;
        handle_.reset();
        return *this;
    }

    const FontStyle& style() const { return style_; }
    COLORREF color() const { return resolveColor(style_.color); }
    HFONT handle() const;

private:
    FontStyle style_;
    mutable FontHandle handle_;
};

} // namespace tk
