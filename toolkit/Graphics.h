// Windowless controls, painted by their container: the flat speed button,
// the label, the picture and the bevel.
#pragma once

#include "toolkit/Control.h"
#include "toolkit/Picture.h"

namespace tk {

// A push button with no border and no background of its own: only its
// caption shows, and a thin raised frame while the mouse is over it. It acts
// on a click and never takes the keyboard focus.
class SpeedButton : public Graphic {
public:
    SpeedButton(Container& parent, Bounds bounds, std::string caption, FontStyle font);

    const std::string& caption() const { return caption_; }
    std::function<void()> onClick;

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
// transparent label lets the surface behind show between the letters.
class Label : public Graphic {
public:
    Label(Container& parent, Bounds bounds, std::string caption, FontStyle font, bool transparent);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

    void paint(HDC dc) override;

private:
    void fitToText();

    std::string caption_;
    Font font_;
    bool transparent_;
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

} // namespace tk
