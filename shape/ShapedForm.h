// The shaped-window component: a picture that fills its form with the skin,
// makes the form borderless, clips its window to a stored region and lets the
// user drag the whole window by the picture. Its names (TShapedForm,
// TRegionType, Mask, ReadMask2, WriteMask2, Draggable, and the main window's
// ShapedForm1) are those of the window design the program follows, kept as the
// design spells them so that the two read side by side.
#pragma once

#include "shape/RegionPayload.h"
#include "toolkit/gui/Form.h"
#include "toolkit/gui/Graphics.h"

#include <memory>

namespace shape {

class TShapedForm;

// The component's region: its own until a window takes it over; from then on
// the window owns it and the holder keeps the handle only to say that there
// is a region, never to use it.
class TRegionType {
public:
    explicit TRegionType(TShapedForm* shapedForm = nullptr) : owner(shapedForm) {}
    TRegionType(const TRegionType&) = delete;
    TRegionType& operator=(const TRegionType&) = delete;

    // Null when there is no region.
    HRGN region() const { return own_ ? own_.get() : handedOver_; }
    bool ownsRegion() const { return static_cast<bool>(own_); }
    void adopt(tk::RegionHandle region);
    // Gives the region to the form's window; it stays ours when that fails.
    void handTo(tk::Form& form);
    // Forgets the region, deleting it only while it is still our own.
    void letGo();

    TShapedForm* owner;

private:
    tk::RegionHandle own_;
    HRGN handedOver_ = nullptr;
};

class TShapedForm : public tk::Image {
public:
    // The parent must be a form: it loses its border, and the component
    // covers its client area from the top-left corner.
    TShapedForm(tk::Container& parent, tk::Bounds bounds);

    TRegionType& Mask() { return *mask_; }
    // Takes the given holder itself; a null one is ignored. The holder it
    // replaces goes, and with it a region that was still its own.
    void setMask(std::unique_ptr<TRegionType> holder);
    // Whether a left-button press drags the window.
    bool Draggable = true;

    virtual void setTop(int value);
    virtual void setLeft(int value);
    virtual void setWidth(int value);
    virtual void setHeight(int value);

    // Shapes the form's window with a stored payload. A payload that gives
    // no region leaves the window as it is.
    void ReadMask2(std::span<const std::uint8_t> payload);
    // The payload of the window's current region; 4 zero bytes without one.
    Bytes WriteMask2() const;

    void mouseDown(POINT p, int button) override;

protected:
    // Keeps the picture a bitmap and drops the region reference; repaints
    // nothing: whoever changes the skin refreshes the form.
    void pictureChanged() override;

private:
    tk::Form& form_;
    std::unique_ptr<TRegionType> mask_;
};

} // namespace shape
