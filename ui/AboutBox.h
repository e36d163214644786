// The About box: the program's title and version, its author and the thanks.
// Centred on the screen at every showing; "OK" or Enter closes it.
#pragma once

#include "assets/version.h"
#include "toolkit/gui/Form.h"
#include "toolkit/gui/Graphics.h"
#include "toolkit/gui/Windowed.h"

namespace ui {

class TAboutBox : public tk::Form {
public:
    TAboutBox();

    tk::Bevel Bevel1{*this, {4, 3, 221, 59}};
    tk::Label Label1{
        *this, {7, 6, 208, 45}, "KESTON PRIME", {.face = "Impact", .height = 37}, false};
    tk::Label Label10{*this, {91, 43, 123, 13}, "Arcade Front-End " KESTON_VERSION_TEXT, {}, true};
    tk::Label Label2{*this, {368, 19, 159, 13}, "By the author - his studio", {}, false};
    tk::Label Label7{*this, {368, 35, 142, 13}, "http://www.example.org", {}, false};
    tk::Label Label3{*this, {8, 72, 131, 13}, "SPECIAL THANKS TO:", {.bold = true}, false};
    tk::Label Label4{*this,
                     {34, 99, 537, 13},
                     "A member of a hardware forum web site, for his support on reading the game "
                     "list and mame.ini",
                     {},
                     false};
    tk::Label Label6{*this,
                     {34, 115, 468, 13},
                     "The programmer of another emulator front-end (http://www.example.org), for "
                     "his constant help",
                     {},
                     false};
    tk::Label Label14{
        *this, {33, 129, 190, 13}, "An emulation web site, for hosting our site", {}, false};
    tk::Label Label15{
        *this, {33, 145, 158, 13}, "The emulator's web site, for their great job", {}, false};
    tk::Label Label5{
        *this, {34, 161, 194, 13}, "Everybody from an emulation news web site", {}, false};
    tk::Label Label8{*this, {34, 177, 222, 13}, "Everybody from a web forum", {}, false};
    tk::Label Label9{*this, {34, 193, 237, 13}, "Everybody from an emulation forum", {}, false};
    tk::Label Label11{*this, {34, 209, 118, 13}, "A special person, for her love", {}, false};
    tk::Label Label12{*this, {34, 225, 124, 13}, "My Parents and my friends", {}, false};
    tk::Label Label16{*this, {35, 249, 339, 13}, "All five beta testers, one by one", {}, false};
    tk::Label Label13{*this, {35, 273, 137, 13}, "The web designer", {}, false};
    tk::PushButton OKButton{
        *this, {491, 264, 75, 25}, "OK", {.isDefault = true, .modalResult = IDOK}};

    void OKButtonClick();
};

} // namespace ui
