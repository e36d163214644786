// The About box: the program's title, its author and the thanks.
#pragma once

#include "toolkit/Form.h"

class TAboutBox : public tk::Form {
public:
    TAboutBox();
};
