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

// The main window's shape: its stored payload (a byte count, then the
// system's region data).
#define IDR_MAIN_WINDOW_REGION 201
