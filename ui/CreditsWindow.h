// The "Credits Zone" window with its penalty-kick game.
#pragma once

#include "toolkit/Form.h"

class TForm3 : public tk::Form {
public:
    TForm3();
};
