#include "toolkit/gui/Application.h"
#include "ui/MainWindow.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tk::application().setTitle("KESTON PRIME");
    // An error while the main window is built ends the program, but with the
    // general error report rather than silently.
    try {
        ui::TForm1 mainWindow;
        tk::application().run(mainWindow);
    } catch (...) {
        tk::application().reportCurrentException();
        return 1;
    }
    return 0;
}
