// The least a windowed program can do at its start: one window with a
// one-row list box, shown, and a message loop. Its start time under Wine is
// the floor that no program's start can go below. Borderless, as the main
// window whose start it is the floor of: a frame would add the caption's
// painting, which that window does not have.
//
//     wine_floor [hold]     hold: the window stays hidden and the program
//                           runs until it is ended, so that Wine's desktop
//                           process stays up between the programs timed
#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "WineFloor";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "WineFloor", "Floor", WS_POPUP, 342, 191, 340, 385, nullptr,
                                  nullptr, instance, nullptr);
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL,
                                36, 72, 257, 225, window, nullptr, instance, nullptr);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Floor"));
    if (std::strcmp(commandLine, "hold") != 0) {
        ShowWindow(window, show);
        UpdateWindow(window);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
