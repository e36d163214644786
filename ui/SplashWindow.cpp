#include "ui/SplashWindow.h"

#include "assets/resource.h"

namespace ui {

TForm4::TForm4()
    : tk::Form(
          {.caption = "Form4", .frame = tk::Frame::none, .clientWidth = 384, .clientHeight = 216}) {
    Image1.setPicture(tk::Picture::fromBitmapResource(IDB_SPLASH));
}

} // namespace ui
