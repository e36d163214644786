#include "ui/CreditsWindow.h"

TForm3::TForm3()
    : tk::Form({.caption = "Credits Zone",
                .frame = tk::Frame::dialog,
                .clientWidth = 482,
                .clientHeight = 292,
                .hideOnClose = true,
                .position = POINT{300, 144}}) {}
