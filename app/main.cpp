#include "toolkit/Application.h"
#include "ui/MainWindow.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tk::application().setTitle("KESTON PRIME");
    TForm1 mainWindow;
    tk::application().run(mainWindow);
    return 0;
}
