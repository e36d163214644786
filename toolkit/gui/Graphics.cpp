#include "toolkit/gui/Graphics.h"

#include "toolkit/pictures/GdiHandles.h"
#include "toolkit/text/CodePage.h"

#include <algorithm>

namespace tk {
namespace {

void drawText(HDC dc, const std::string& text, const Font& font, RECT rect, UINT format) {
    SelectObjectScope select(dc, font.handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, font.color());
    std::wstring wide = utf8ToWide(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format | DT_NOPREFIX);
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
    if (hot_)
        click();
}

void SpeedButton::click() {
    if (onClick)
        onClick();
}

Label::Label(Container& parent, Bounds bounds, std::string caption, FontStyle font,
             bool transparent)
    : Graphic(parent, bounds), caption_(std::move(caption)), font_(std::move(font)),
      transparent_(transparent) {
    fitToText();
}

Label::Label(Container& parent, Bounds bounds, std::string caption, FontStyle font,
             Color background)
    : Label(parent, bounds, std::move(caption), std::move(font), false) {
    background_ = background;
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
    std::wstring caption = utf8ToWide(caption_);
    DrawTextW(screen.get(), caption.c_str(), static_cast<int>(caption.size()), &rect,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    bounds_.width = rect.right;
    bounds_.height = rect.bottom;
}

void Label::paint(HDC dc) {
    RECT rect = bounds_.rect();
    if (!transparent_) {
        BrushHandle brush(CreateSolidBrush(resolveColor(background_.value_or(parent().color()))));
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

Shape::Shape(Container& parent, Bounds bounds, ShapeStyle style)
    : Graphic(parent, bounds), style_(style) {}

void Shape::paint(HDC dc) {
    RECT box = bounds_.rect();
    PenHandle pen(CreatePen(PS_SOLID, 1, resolveColor(style_.pen)));
    BrushHandle brush(style_.fill == ShapeFill::solid
                          ? CreateSolidBrush(resolveColor(style_.brush))
                          : CreateHatchBrush(HS_DIAGCROSS, resolveColor(style_.brush)));
    SelectObjectScope selectPen(dc, pen.get());
    SelectObjectScope selectBrush(dc, brush.get());
    int mode = SetBkMode(dc, TRANSPARENT);
    if (style_.kind == ShapeKind::rectangle) {
        Rectangle(dc, box.left, box.top, box.right, box.bottom);
    } else {
        int size = std::min(bounds_.width, bounds_.height);
        int left = box.left + (bounds_.width - size) / 2;
        int top = box.top + (bounds_.height - size) / 2;
        Ellipse(dc, left, top, left + size, top + size);
    }
    SetBkMode(dc, mode);
}

} // namespace tk
