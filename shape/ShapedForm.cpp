#include "shape/ShapedForm.h"

#include "toolkit/base/Error.h"
#include "toolkit/pictures/Picture.h"

namespace shape {

namespace {

tk::Container& requireForm(tk::Container& parent) {
    if (!dynamic_cast<tk::Form*>(&parent))
        throw tk::Error("Drop the ShapedForm on a FORM!");
    return parent;
}

tk::Bounds clientBounds(const tk::Form& form) {
    RECT client{};
    GetClientRect(form.handle(), &client);
    return {0, 0, client.right, client.bottom};
}

Bytes regionDataOf(HRGN region) {
    DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0)
        return {};
    Bytes block(size);
    GetRegionData(region, size, reinterpret_cast<RGNDATA*>(block.data()));
    return block;
}

} // namespace

void TRegionType::adopt(tk::RegionHandle region) {
    letGo();
    own_ = std::move(region);
}

void TRegionType::handTo(tk::Form& form) {
    HRGN region = own_.get();
    if (region && form.setRegion(own_))
        handedOver_ = region;
}

void TRegionType::letGo() {
    own_.reset();
    handedOver_ = nullptr;
}

TShapedForm::TShapedForm(tk::Container& parent, tk::Bounds bounds)
    : tk::Image(requireForm(parent), bounds), form_(dynamic_cast<tk::Form&>(parent)),
      mask_(std::make_unique<TRegionType>(this)) {
    form_.removeBorder();
    setTop(0);
    setLeft(0);
    // Aligned to the whole client area.
    setBounds(clientBounds(form_));
}

void TShapedForm::setMask(std::unique_ptr<TRegionType> holder) {
    if (!holder)
        return;
    holder->owner = this;
    mask_ = std::move(holder);
}

void TShapedForm::setTop(int) {
    setBounds({bounds().left, 0, bounds().width, bounds().height});
}

void TShapedForm::setLeft(int) {
    setBounds({0, bounds().top, bounds().width, bounds().height});
}

void TShapedForm::setWidth(int value) {
    setBounds({bounds().left, bounds().top, value, bounds().height});
}

void TShapedForm::setHeight(int value) {
    setBounds({bounds().left, bounds().top, bounds().width, value});
}

void TShapedForm::ReadMask2(std::span<const std::uint8_t> payload) {
    mask_->letGo();
    auto region = readRegionPayload(payload);
    if (!region)
        return;
    Bytes block = regionBlock(*region);
    mask_->adopt(tk::RegionHandle(ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()),
                                                  reinterpret_cast<const RGNDATA*>(block.data()))));
    mask_->handTo(form_);
}

Bytes TShapedForm::WriteMask2() const {
    if (!mask_->region())
        return regionPayload({});
    // A copy: the window's own region is the window's to use.
    tk::RegionHandle copy(CreateRectRgn(0, 0, 0, 0));
    int copied = mask_->ownsRegion() ? CombineRgn(copy.get(), mask_->region(), nullptr, RGN_COPY)
                                     : GetWindowRgn(form_.handle(), copy.get());
    if (copied == ERROR)
        return regionPayload({});
    return regionPayload(regionDataOf(copy.get()));
}

void TShapedForm::mouseDown(POINT, int button) {
    if (button != 0 || !Draggable)
        return;
    // The system's move loop runs inside this call until the button is up.
    ReleaseCapture();
    SendMessageW(form_.handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void TShapedForm::pictureChanged() {
    if (!picture().isBitmap())
        setPicture(tk::Picture::emptyBitmap()); // runs this handler once more
    mask_->letGo();
}

} // namespace shape
