// The splash window: shown while the main window prepares its first show,
// reporting progress in its status line.
#pragma once

#include "assets/version.h"
#include "toolkit/gui/Form.h"
#include "toolkit/gui/Graphics.h"
#include "toolkit/gui/Panel.h"

namespace ui {

class TForm4 : public tk::Form {
public:
    TForm4();

    tk::Panel Panel1{
        *this, {0, 0, 384, 216}, {.outerBevel = true, .innerBevel = true, .color = tk::buttonFace}};
    tk::Image Image1{Panel1, {2, 2, 380, 212}, true, true};
    tk::Label status{Panel1,
                     {131, 178, 123, 20},
                     "Wait While Loading",
                     {.face = "Impact", .height = 16, .color = tk::silver},
                     true};
    tk::Bevel Bevel1{Panel1, {32, 32, 329, 137}};
    tk::Label Label2{Panel1,
                     {320, 8, 56, 14},
                     "Version " KESTON_VERSION_TEXT,
                     {.face = "Arial", .height = 11, .color = tk::silver},
                     true};
};

} // namespace ui
