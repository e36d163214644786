#include "ui/CreditsWindow.h"

#include "assets/resource.h"

namespace ui {

TForm3::TForm3(RandomGenerator& random)
    : tk::Form({.caption = "Credits Zone",
                .frame = tk::Frame::dialog,
                .clientWidth = 482,
                .clientHeight = 292,
                .hideOnClose = true,
                .position = POINT{300, 144}}),
      game(random) {
    GOL0.setPicture(tk::Picture::fromBitmapResource(IDB_GOL0));
    GOL1.setPicture(tk::Picture::fromBitmapResource(IDB_GOL1));
    GOL2.setPicture(tk::Picture::fromBitmapResource(IDB_GOL2));
    PAR2.setPicture(tk::Picture::fromBitmapResource(IDB_PAR2));
    for (int side = 0; side < 3; ++side) {
        keeper(side).hide();
        for (int frame = 0; frame < 4; ++frame)
            ball(side, frame).hide();
    }
    OK.hide();
    Button2.onClick = [this] { Button2Click(); };
    Button4.onClick = [this] { Button4Click(); };
    Button8.onClick = [this] { Button8Click(); };
    OK.onClick = [this] { OKClick(); };
}

tk::Shape& TForm3::ball(int side, int frame) {
    static constexpr tk::Shape TForm3::*balls[3][4] = {
        {&TForm3::ESQ0, &TForm3::ESQ1, &TForm3::ESQ2, &TForm3::ESQ3},
        {&TForm3::MID0, &TForm3::MID1, &TForm3::MID2, &TForm3::MID3},
        {&TForm3::DIR0, &TForm3::DIR1, &TForm3::DIR2, &TForm3::DIR3},
    };
    return this->*balls[side][frame];
}

tk::Image& TForm3::keeper(int dive) {
    static constexpr tk::Image TForm3::*keepers[3] = {&TForm3::GOL0, &TForm3::GOL1, &TForm3::GOL2};
    return this->*keepers[dive];
}

void TForm3::Button2Click() {
    kick(0);
}

void TForm3::Button4Click() {
    kick(1);
}

void TForm3::Button8Click() {
    kick(2);
}

void TForm3::kick(int side) {
    game.kick(side);
    ball(side, game.ballframe).show();
    IA();
}

void TForm3::IA() {
    PAR1.hide();
    PAR2.hide();
    OK.show();
    KickVerdict verdict = game.IA();
    keeper(game.keeperdive).show();
    OK.setCaption(verdict.caption);
    if (verdict.front == KickVerdict::Front::ball)
        ball(game.kickside, 3).bringToFront();
    else if (verdict.front == KickVerdict::Front::keeper)
        keeper(game.kickside).bringToFront();
}

void TForm3::OKClick() {
    PAR1.show();
    PAR2.show();
    for (tk::Graphic* item :
         std::initializer_list<tk::Graphic*>{&GOL0, &ESQ0, &MID0, &DIR0, &GOL1, &ESQ1, &MID1, &DIR1,
                                             &GOL2, &ESQ2, &MID2, &DIR2, &ESQ3, &MID3, &DIR3})
        item->hide();
    // The half-height balls go back above any keeper an earlier kick lifted.
    DIR2.bringToFront();
    MID2.bringToFront();
    ESQ2.bringToFront();
    OK.hide();
}

} // namespace ui
