// Reads another program's windows from outside, for the end-to-end tests.
//
//   probe.exe screen              the screen size and the work area
//   probe.exe windows             every visible top-level window
//   probe.exe tree <window>       a top-level window and all its child windows,
//                                 list box rows included
//   probe.exe text <window>       a window's whole text, as it is
//   probe.exe utext <window>      a window's whole text read as Unicode, in UTF-8
//   probe.exe close <window>      asks the window to close, as its "X" does
//   probe.exe short <path>        the path's 8.3 short form (empty if missing)
//   probe.exe shape               the main window's stored shape, as the build
//                                 stored it: one rectangle a line, left top
//                                 right bottom
//
// <window> is a top-level window's caption, or a window handle in hex (0x...)
// as printed by windows and tree. Output is one line per thing, tab-separated
// key=value fields, the text last: easy to grep from a shell. Texts are in the
// system's code page, except list box rows, which are read as Unicode and
// written in UTF-8, as the shell's own text is. In texts a
// carriage return, line feed and tab are written as \r, \n and \t.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <iterator>
#include <string>

namespace {

constexpr UINT answerMilliseconds = 5000;

// Cross-process messages go through the target's message loop; a hung target
// must not hang the probe too.
LRESULT ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, answerMilliseconds,
                             &result))
        return -1;
    return static_cast<LRESULT>(result);
}

std::string windowText(HWND window) {
    LRESULT length = ask(window, WM_GETTEXTLENGTH);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

LRESULT askUnicode(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, answerMilliseconds,
                             &result))
        return -1;
    return static_cast<LRESULT>(result);
}

std::string utf8Of(const std::wstring& wide) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

std::string unicodeWindowText(HWND window) {
    LRESULT length = askUnicode(window, WM_GETTEXTLENGTH);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied =
        askUnicode(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return utf8Of(text);
}

// Rows are read as Unicode, which shows every letter a Unicode list holds
// (and Wine hands a cross-process LB_GETTEXT back unconverted to an ANSI
// sender anyway).
std::string listRow(HWND list, int index) {
    LRESULT length = askUnicode(list, LB_GETTEXTLEN, index);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = askUnicode(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()));
    if (copied <= 0)
        return {};
    wide.resize(static_cast<size_t>(copied));
    return utf8Of(wide);
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string className(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string handleText(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

std::string rectText(const RECT& r) {
    return "x=" + std::to_string(r.left) + "\ty=" + std::to_string(r.top) +
           "\tw=" + std::to_string(r.right - r.left) + "\th=" + std::to_string(r.bottom - r.top);
}

bool isCheckable(HWND button) {
    switch (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

HWND focusOf(HWND topLevel) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(topLevel, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// The client area's origin: on the screen for a top-level window, within the
// top-level window's client area for a child.
POINT clientOrigin(HWND window, HWND relativeTo) {
    POINT origin{0, 0};
    MapWindowPoints(window, relativeTo, &origin, 1);
    return origin;
}

void printTopLevel(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    POINT client = clientOrigin(window, nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    std::printf("window\thwnd=%s\tpid=%lu\tclass=%s\tvisible=%d\ticonic=%d\t%s\tcx=%ld\tcy=%ld"
                "\ttext=%s\n",
                handleText(window).c_str(), process, className(window).c_str(),
                IsWindowVisible(window) ? 1 : 0, IsIconic(window) ? 1 : 0, rectText(r).c_str(),
                client.x, client.y, escaped(windowText(window)).c_str());
}

BOOL CALLBACK printIfVisible(HWND window, LPARAM) {
    if (IsWindowVisible(window))
        printTopLevel(window);
    return TRUE;
}

// Positions in a tree are within the top-level window's client area, which is
// where a click has to go; a child's left and top are within its parent's
// client area, as window designs give them.
struct Tree {
    HWND topLevel;
    HWND focus;

    RECT inTopLevel(HWND window, RECT r) const {
        MapWindowPoints(window, topLevel, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    void printRows(HWND list) const {
        LRESULT count = ask(list, LB_GETCOUNT);
        for (int i = 0; i < count; ++i) {
            RECT item{};
            ask(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
            bool selected = ask(list, LB_GETSEL, i) > 0;
            std::printf("row\thwnd=%s\tindex=%d\tselected=%d\t%s\ttext=%s\n",
                        handleText(list).c_str(), i, selected ? 1 : 0,
                        rectText(inTopLevel(list, item)).c_str(),
                        escaped(listRow(list, i)).c_str());
        }
    }

    void printChild(HWND child, HWND parent, int depth) const {
        RECT r;
        GetWindowRect(child, &r);
        RECT inParent = r;
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inParent), 2);
        POINT client = clientOrigin(child, topLevel);
        std::string name = className(child);
        std::string extra;
        if (name == "Button" && isCheckable(child))
            extra += "\tcheck=" + std::to_string(ask(child, BM_GETCHECK));
        if (name == "ListBox")
            extra += "\tcount=" + std::to_string(ask(child, LB_GETCOUNT)) +
                     "\tcurrent=" + std::to_string(ask(child, LB_GETCURSEL));
        std::printf("child\thwnd=%s\tparent=%s\tdepth=%d\tid=%ld\tclass=%s\tvisible=%d\tfocus=%d"
                    "\tleft=%ld\ttop=%ld\t%s\tcx=%ld\tcy=%ld%s\ttext=%s\n",
                    handleText(child).c_str(), handleText(parent).c_str(), depth,
                    GetWindowLongA(child, GWL_ID), name.c_str(), IsWindowVisible(child) ? 1 : 0,
                    child == focus ? 1 : 0, inParent.left, inParent.top,
                    rectText(inTopLevel(nullptr, r)).c_str(), client.x, client.y, extra.c_str(),
                    escaped(windowText(child)).c_str());
        if (name == "ListBox")
            printRows(child);
    }

    void printChildren(HWND parent, int depth) const {
        for (HWND child = GetWindow(parent, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            printChild(child, parent, depth);
            printChildren(child, depth + 1);
        }
    }
};

void printTree(HWND window) {
    printTopLevel(window);
    Tree{window, focusOf(window)}.printChildren(window, 1);
}

void printScreen() {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    std::printf("screen\tw=%d\th=%d\twork=%ld,%ld,%ld,%ld\n", GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), work.left, work.top, work.right, work.bottom);
}

HWND findWindow(const char* name) {
    if (name[0] == '0' && (name[1] == 'x' || name[1] == 'X'))
        return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(name, nullptr, 16)));
    return FindWindowA(nullptr, name);
}

// The stored shape's payload values: the byte count, the 32-byte region
// header (its size, type, count, byte size and bounds), then the rectangles.
void printStoredShape() {
    static constexpr long values[] = {
#include "shape/main-window-region.rcdata"
    };
    constexpr size_t firstRectangle = 9;
    for (size_t i = firstRectangle; i + 3 < std::size(values); i += 4)
        std::printf("%ld\t%ld\t%ld\t%ld\n", values[i], values[i + 1], values[i + 2], values[i + 3]);
}

int usage() {
    std::fprintf(stderr, "usage: probe.exe screen | windows | tree <window> | text <window> | "
                         "utext <window> | close <window> | short <path> | shape\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Plain LF line ends, as the shell reading the output expects.
    _setmode(_fileno(stdout), _O_BINARY);
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "screen" && argc == 2) {
        printScreen();
        return 0;
    }
    if (command == "windows" && argc == 2) {
        EnumWindows(printIfVisible, 0);
        return 0;
    }
    if (command == "short" && argc == 3) {
        char path[MAX_PATH] = "";
        GetShortPathNameA(argv[2], path, MAX_PATH);
        std::printf("%s\n", path);
        return 0;
    }
    if (command == "shape" && argc == 2) {
        printStoredShape();
        return 0;
    }
    if ((command == "tree" || command == "text" || command == "utext" || command == "close") &&
        argc == 3) {
        HWND window = findWindow(argv[2]);
        if (!window || !IsWindow(window)) {
            std::fprintf(stderr, "probe.exe: no window %s\n", argv[2]);
            return 1;
        }
        if (command == "tree")
            printTree(window);
        else if (command == "utext")
            std::fputs(unicodeWindowText(window).c_str(), stdout);
        else if (command == "close")
            PostMessageA(window, WM_CLOSE, 0, 0);
        else
            std::fputs(windowText(window).c_str(), stdout);
        return 0;
    }
    return usage();
}
