#include "toolkit/Graphics.h"

namespace tk {
namespace {

void drawText(HDC dc, const std::string& text, const Font& font, RECT rect, UINT format) {
    SelectObjectScope select(dc, font.handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, font.color());
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_NOPREFIX);
}

} // namespace

SpeedButton::SpeedButton(Container& parent, Bounds bounds, std::string caption, FontStyle font)
    : Graphic(parent, bounds), caption_(std::move(caption)), font_(std::move(font)) {}

void SpeedButton::paint(HDC dc) {
    RECT rect = bounds_.rect();
    if (hot_)
        DrawEdge(dc, &rect, down_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    if (down_)
        OffsetRect(&rect, 1, 1);
    drawText(dc, caption_, font_, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void SpeedButton::mouseEnter() {
    hot_ = true;
    invalidate();
}

void SpeedButton::mouseLeave() {
    hot_ = false;
    invalidate();
}

void SpeedButton::mouseDown(POINT, int button) {
    if (button != 0)
        return;
    down_ = true;
    invalidate();
}

void SpeedButton::mouseUp(POINT p, int button) {
    if (button != 0 || !down_)
        return;
    down_ = false;
    hot_ = bounds_.contains(p);
    invalidate();
    if (hot_ && onClick)
        onClick();
}

Label::Label(Container& parent, Bounds bounds, std::string caption, FontStyle font,
             bool transparent)
    : Graphic(parent, bounds), caption_(std::move(caption)), font_(std::move(font)),
      transparent_(transparent) {
    fitToText();
}

void Label::setCaption(std::string caption) {
    invalidate();
    caption_ = std::move(caption);
    fitToText();
    invalidate();
}

void Label::fitToText() {
    WindowDc screen(nullptr);
    SelectObjectScope select(screen.get(), font_.handle());
    RECT rect{0, 0, 0, 0};
    DrawTextA(screen.get(), caption_.c_str(), static_cast<int>(caption_.size()), &rect,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    bounds_.width = rect.right;
    bounds_.height = rect.bottom;
}

void Label::paint(HDC dc) {
    RECT rect = bounds_.rect();
    if (!transparent_) {
        BrushHandle brush(CreateSolidBrush(resolveColor(parent().color())));
        FillRect(dc, &rect, brush.get());
    }
    // Not clipped to the measured width: a substitute font may draw a pixel
    // beyond what it reports.
    drawText(dc, caption_, font_, rect, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
}

Image::Image(Container& parent, Bounds bounds, bool stretch, bool transparent)
    : Graphic(parent, bounds), stretch_(stretch), transparent_(transparent) {}

void Image::setPicture(Picture picture) {
    picture_ = std::move(picture);
    pictureChanged();
}

void Image::paint(HDC dc) {
    if (!picture_.empty())
        picture_.draw(dc, bounds_.rect(), stretch_, transparent_);
}

void Image::mouseDown(POINT, int button) {
    down_ = button == 0;
}

void Image::mouseUp(POINT p, int button) {
    bool clicked = down_ && button == 0 && bounds_.contains(p);
    down_ = false;
    if (clicked && onClick)
        onClick();
}

Bevel::Bevel(Container& parent, Bounds bounds) : Graphic(parent, bounds) {}

void Bevel::paint(HDC dc) {
    RECT rect = bounds_.rect();
    DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
}

} // namespace tk
