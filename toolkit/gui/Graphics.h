// Windowless controls, painted by their container: the flat speed button,
// the label, the picture, the bevel and the shape.
#pragma once

#include "toolkit/gui/Control.h"
#include "toolkit/pictures/Picture.h"

#include <optional>

namespace tk {

// A push button with no border and no background of its own: only its
// caption shows, and a thin raised frame while the mouse is over it. It acts
// on a click and never takes the keyboard focus.
class SpeedButton : public Graphic {
public:
    SpeedButton(Container& parent, Bounds bounds, std::string caption, FontStyle font);

    const std::string& caption() const { return caption_; }
    std::function<void()> onClick;
    // Does what a click does, for a press that comes without the mouse.
    void click();

    void paint(HDC dc) override;
    void mouseEnter() override;
    void mouseLeave() override;
    void mouseDown(POINT p, int button) override;
    void mouseUp(POINT p, int button) override;

private:
    std::string caption_;
    Font font_;
    bool hot_ = false;
    bool down_ = false;
};

// Static text; it sizes itself to its text and keeps its left edge. A
// transparent label lets the surface behind show between the letters; an
// opaque one fills its box with its container's colour or its own.
class Label : public Graphic {
public:
    Label(Container& parent, Bounds bounds, std::string caption, FontStyle font, bool transparent);
    Label(Container& parent, Bounds bounds, std::string caption, FontStyle font, Color background);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

    void paint(HDC dc) override;

private:
    void fitToText();

    std::string caption_;
    Font font_;
    bool transparent_;
    std::optional<Color> background_;
};

// A picture in a rectangle: natural size from the top-left corner, or
// stretched; transparent drawing leaves out the lower-left pixel's colour.
class Image : public Graphic {
public:
    Image(Container& parent, Bounds bounds, bool stretch = false, bool transparent = false);

    Picture& picture() { return picture_; }
    // Replaces the picture, then runs pictureChanged().
    void setPicture(Picture picture);
    std::function<void()> onClick;

    void paint(HDC dc) override;
    void mouseDown(POINT p, int button) override;
    void mouseUp(POINT p, int button) override;

protected:
    // Runs after every picture change; a plain picture repaints itself.
    virtual void pictureChanged() { invalidate(); }

private:
    Picture picture_;
    bool stretch_;
    bool transparent_;
    bool down_ = false;
};

// A lowered rectangular outline.
class Bevel : public Graphic {
public:
    Bevel(Container& parent, Bounds bounds);
    void paint(HDC dc) override;
    bool takesMouse() const override { return false; }
};

enum class ShapeKind { rectangle, circle };
enum class ShapeFill { solid, diagonalCross };

struct ShapeStyle {
    ShapeKind kind = ShapeKind::rectangle;
    Color pen = black;
    Color brush = white;
    // A hatched fill draws only its lines: the surface shows between them.
    ShapeFill fill = ShapeFill::solid;
};

// A filled figure with a one-pixel outline: a rectangle filling its box, or a
// circle as wide as the box's shorter side, centred in it.
class Shape : public Graphic {
public:
    Shape(Container& parent, Bounds bounds, ShapeStyle style);
    const ShapeStyle& style() const { return style_; }
    void paint(HDC dc) override;
    bool takesMouse() const override { return false; }

private:
    ShapeStyle style_;
};

} // namespace tk
