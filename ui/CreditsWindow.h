// The "Credits Zone" window: a one-screen penalty-kick game whose pitch
// carries the program's credits. A kick shows one still picture and its
// outcome on a large button until that button is clicked.
#pragma once

#include "toolkit/gui/Form.h"
#include "toolkit/gui/Graphics.h"
#include "toolkit/gui/Panel.h"
#include "toolkit/gui/Windowed.h"
#include "ui/CreditsGame.h"

namespace ui {

namespace design {
inline constexpr tk::Color skyBlue = tk::rgb(166, 202, 240);
inline constexpr tk::Color pitchGreen = tk::rgb(0, 128, 0);
inline constexpr tk::Color sunYellow = tk::rgb(255, 255, 0);
inline constexpr tk::ShapeStyle ball{.kind = tk::ShapeKind::circle, .brush = tk::grey};
inline const tk::FontStyle pitchLabel{.face = "Times New Roman", .height = 12, .color = tk::white};
inline const tk::PushButtonStyle kickButton{
    .font = tk::FontStyle{.face = "Wingdings", .height = 16, .symbol = true},
    .tabStop = false,
    .keepsFocus = false};
} // namespace design

class TForm3 : public tk::Form {
public:
    // Every kick draws from `random`, which outlives the window.
    explicit TForm3(RandomGenerator& random);

    // The pitch, its items in paint order, back to front.
    tk::Panel Panel2{*this, {0, 0, 482, 216}, {.outerBevel = false, .color = design::skyBlue}};
    tk::Shape Shape1{Panel2, {102, 16, 289, 97}, {.fill = tk::ShapeFill::diagonalCross}};
    tk::Shape Shape2{Panel2, {-1, 112, 485, 129}, {.pen = tk::white, .brush = design::pitchGreen}};
    tk::Shape Shape3{
        Panel2,
        {16, 8, 25, 33},
        {.kind = tk::ShapeKind::circle, .pen = design::sunYellow, .brush = design::sunYellow}};
    tk::Image GOL0{Panel2, {120, 40, 89, 65}, true, true};
    tk::Image GOL1{Panel2, {217, 22, 48, 83}, true, true};
    tk::Image GOL2{Panel2, {286, 48, 89, 65}, true, true};
    tk::Shape PAR1{Panel2, {216, 168, 65, 65}, design::ball};
    tk::Shape ESQ2{Panel2, {110, 57, 17, 18}, design::ball};
    tk::Shape MID3{Panel2, {240, 23, 17, 18}, design::ball};
    tk::Shape MID2{Panel2, {233, 65, 17, 18}, design::ball};
    tk::Shape MID1{Panel2, {233, 96, 17, 18}, design::ball};
    tk::Shape DIR1{Panel2, {365, 23, 17, 18}, design::ball};
    tk::Shape DIR2{Panel2, {367, 62, 17, 18}, design::ball};
    tk::Shape DIR3{Panel2, {370, 96, 17, 18}, design::ball};
    tk::Shape ESQ1{Panel2, {108, 20, 17, 18}, design::ball};
    tk::Shape ESQ3{Panel2, {107, 96, 17, 18}, design::ball};
    tk::Shape ESQ0{Panel2, {72, 39, 17, 18}, design::ball};
    tk::Shape MID0{Panel2, {232, -1, 17, 18}, design::ball};
    tk::Shape DIR0{Panel2, {408, 39, 17, 18}, design::ball};
    tk::Image PAR2{Panel2, {217, 60, 65, 65}, true, true};
    tk::Label Label1{Panel2,
                     {8, 128, 122, 15},
                     "Thank to use KESTON!!!",
                     design::pitchLabel,
                     design::pitchGreen};
    tk::Label Label2{Panel2,
                     {8, 144, 161, 15},
                     "Game made by the author of KESTON",
                     design::pitchLabel,
                     design::pitchGreen};
    tk::Label Label3{Panel2,
                     {8, 192, 142, 15},
                     "\"Your Dream, Your solution\"",
                     {.face = "Times New Roman", .height = 12, .color = tk::white, .italic = true},
                     design::pitchGreen};
    tk::Label Label5{
        Panel2, {8, 163, 89, 15}, "The KESTON to :)", design::pitchLabel, design::pitchGreen};

    // The control strip.
    tk::Panel Panel1{*this, {0, 216, 482, 76}, {.outerBevel = true, .color = tk::moneyGreen}};
    tk::Label Label4{Panel1,
                     {104, 3, 299, 18},
                     "<<<Click in the direction to Kick the ball>>>",
                     {.face = "Arial", .height = 16},
                     false};
    // Arrows left, up and right in the symbol font: its codes 0xEF, 0xF1 and
    // 0xF0, which a Unicode window takes as the characters of those numbers.
    tk::PushButton Button2{Panel1, {179, 26, 47, 25}, "\u00EF", design::kickButton};
    tk::PushButton Button4{Panel1, {229, 26, 47, 25}, "\u00F1", design::kickButton};
    tk::PushButton Button8{Panel1, {279, 26, 47, 25}, "\u00F0", design::kickButton};
    tk::PushButton OK{Panel1, {70, 3, 362, 68}, "OK", {.tabStop = false, .keepsFocus = false}};

    // kickside, ballframe and keeperdive of the kick made last.
    CreditsGame game;

    // Handlers.
    void Button2Click();
    void Button4Click();
    void Button8Click();
    void IA();
    void OKClick();

    // The ball position of a side (0 left, 1 middle, 2 right) and frame 0-3,
    // and the keeper picture of a dive (0 left, 1 middle, 2 right).
    tk::Shape& ball(int side, int frame);
    tk::Image& keeper(int dive);

private:
    void kick(int side);
};

} // namespace ui
