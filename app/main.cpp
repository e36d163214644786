#include "settings/Settings.h"
#include "toolkit/gui/Application.h"
#include "ui/MainWindow.h"
#include "ui/StartListing.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // An error while the main window is built ends the program, but with the
    // general error report rather than silently.
    try {
        // Where the program keeps its files is decided here, on the window
        // thread and before any other thread starts: the decision may make the
        // per-user folder and copy files into it, and every later call, on
        // any thread, only reads it.
        settings::filesFolder();
        // MAME's ROM folder is listed while the windows are made.
        ui::StartListing romFolderListing;
        tk::application().setTitle("KESTON PRIME");
        ui::TForm1 mainWindow(romFolderListing);
        tk::application().run(mainWindow);
    } catch (...) {
        tk::application().reportCurrentException();
        return 1;
    }
    return 0;
}
