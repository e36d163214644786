// Resource ids of the pictures and data embedded in keston.exe; shared by
// keston.rc and the code that loads them, so it holds #defines only.
#pragma once

// The main window's default skin, 338 x 381, white outside the window's shape.
#define IDB_SKIN 101
// The flag picture of the main window, 80 x 60.
#define IDB_FLAG 102
// The logo of the start-up window, 478 x 284; its bottom-left pixel is the
// transparency key.
#define IDB_SPLASH 103
// The goalkeeper of the credits game, each on white, the transparency key:
// diving left (98 x 82), jumping (67 x 98), diving right (98 x 82, the mirror
// image of diving left) and standing ready (67 x 98).
#define IDB_GOL0 104
#define IDB_GOL1 105
#define IDB_GOL2 106
#define IDB_PAR2 107

// The main window's shape: its stored payload (a byte count, then the
// system's region data).
#define IDR_MAIN_WINDOW_REGION 201
