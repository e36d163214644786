#include "ui/AboutBox.h"

namespace ui {

TAboutBox::TAboutBox()
    : tk::Form({.caption = "About",
                .frame = tk::Frame::dialog,
                .clientWidth = 594,
                .clientHeight = 309,
                .color = tk::moneyGreen,
                .hideOnClose = true,
                .centredOnEveryShow = true}) {
    OKButton.onClick = [this] { OKButtonClick(); };
}

void TAboutBox::OKButtonClick() {
    close();
}

} // namespace ui
