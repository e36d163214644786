// Reads another program's windows from outside, for the end-to-end tests.
//
//   probe.exe serve               answers commands read from standard input,
//                                 one a line, its words separated by tabs:
//                                 each answer is a line "<status> <length>"
//                                 followed by exactly <length> bytes of output
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
// One command is also run on its own when given as arguments (probe.exe
// windows); its output and exit status are then those of the process.
//
// <window> is a top-level window's caption, or a window handle in hex (0x...)
// as printed by windows and tree. Output is one line per thing, tab-separated
// key=value fields, the text last: easy to grep from a shell. Texts are in the
// system's code page, except list box rows, which are read as Unicode and
// written in UTF-8, as the shell's own text is. In texts a
// carriage return, line feed and tab are written as \r, \n and \t.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr UINT answerMilliseconds = 5000;

// A command's output is gathered whole, so that the server can say its length
// before it.
__attribute__((format(printf, 2, 3))) void print(std::string& out, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    if (length > 0) {
        size_t start = out.size();
        out.resize(start + static_cast<size_t>(length) + 1);
        std::vsnprintf(out.data() + start, static_cast<size_t>(length) + 1, format, again);
        out.resize(start + static_cast<size_t>(length));
    }
    va_end(again);
}

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

void printTopLevel(std::string& out, HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    POINT client = clientOrigin(window, nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    print(out,
          "window\thwnd=%s\tpid=%lu\tclass=%s\tvisible=%d\ticonic=%d\t%s\tcx=%ld\tcy=%ld"
          "\ttext=%s\n",
          handleText(window).c_str(), process, className(window).c_str(),
          IsWindowVisible(window) ? 1 : 0, IsIconic(window) ? 1 : 0, rectText(r).c_str(), client.x,
          client.y, escaped(windowText(window)).c_str());
}

BOOL CALLBACK printIfVisible(HWND window, LPARAM out) {
    if (IsWindowVisible(window))
        printTopLevel(*reinterpret_cast<std::string*>(out), window);
    return TRUE;
}

// Positions in a tree are within the top-level window's client area, which is
// where a click has to go; a child's left and top are within its parent's
// client area, as window designs give them.
struct Tree {
    std::string& out;
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
            print(out, "row\thwnd=%s\tindex=%d\tselected=%d\t%s\ttext=%s\n",
                  handleText(list).c_str(), i, selected ? 1 : 0,
                  rectText(inTopLevel(list, item)).c_str(), escaped(listRow(list, i)).c_str());
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
        print(out,
              "child\thwnd=%s\tparent=%s\tdepth=%d\tid=%ld\tclass=%s\tvisible=%d\tfocus=%d"
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

void printTree(std::string& out, HWND window) {
    printTopLevel(out, window);
    Tree{out, window, focusOf(window)}.printChildren(window, 1);
}

void printScreen(std::string& out) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    print(out, "screen\tw=%d\th=%d\twork=%ld,%ld,%ld,%ld\n", GetSystemMetrics(SM_CXSCREEN),
          GetSystemMetrics(SM_CYSCREEN), work.left, work.top, work.right, work.bottom);
}

HWND findWindow(const char* name) {
    if (name[0] == '0' && (name[1] == 'x' || name[1] == 'X'))
        return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(name, nullptr, 16)));
    return FindWindowA(nullptr, name);
}

// The stored shape's payload values: the byte count, the 32-byte region
// header (its size, type, count, byte size and bounds), then the rectangles.
void printStoredShape(std::string& out) {
    static constexpr long values[] = {
#include "shape/main-window-region.rcdata"
    };
    constexpr size_t firstRectangle = 9;
    for (size_t i = firstRectangle; i + 3 < std::size(values); i += 4)
        print(out, "%ld\t%ld\t%ld\t%ld\n", values[i], values[i + 1], values[i + 2], values[i + 3]);
}

int usage() {
    std::fprintf(stderr, "usage: probe.exe serve | screen | windows | tree <window> | "
                         "text <window> | utext <window> | close <window> | short <path> | "
                         "shape\n");
    return 2;
}

// Runs one command, words[0] its name; appends its output to out and returns
// its exit status.
int run(const std::vector<std::string>& words, std::string& out) {
    std::string command = words.empty() ? "" : words[0];
    if (command == "screen" && words.size() == 1) {
        printScreen(out);
        return 0;
    }
    if (command == "windows" && words.size() == 1) {
        EnumWindows(printIfVisible, reinterpret_cast<LPARAM>(&out));
        return 0;
    }
    if (command == "short" && words.size() == 2) {
        char path[MAX_PATH] = "";
        GetShortPathNameA(words[1].c_str(), path, MAX_PATH);
        out += path;
        out += '\n';
        return 0;
    }
    if (command == "shape" && words.size() == 1) {
        printStoredShape(out);
        return 0;
    }
    if ((command == "tree" || command == "text" || command == "utext" || command == "close") &&
        words.size() == 2) {
        HWND window = findWindow(words[1].c_str());
        if (!window || !IsWindow(window)) {
            std::fprintf(stderr, "probe.exe: no window %s\n", words[1].c_str());
            return 1;
        }
        if (command == "tree")
            printTree(out, window);
        else if (command == "utext")
            out += unicodeWindowText(window);
        else if (command == "close")
            PostMessageA(window, WM_CLOSE, 0, 0);
        else
            out += windowText(window);
        return 0;
    }
    return usage();
}

std::vector<std::string> splitAtTabs(const std::string& line) {
    std::vector<std::string> words;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        words.push_back(line.substr(start, tab - start));
    words.push_back(line.substr(start));
    return words;
}

// One process answers a whole test's questions: a Wine start per question
// costs more than most answers.
int serve() {
    std::string line;
    for (int c; (c = std::getchar()) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        std::string out;
        int status = run(splitAtTabs(line), out);
        line.clear();
        std::fflush(stderr);
        std::printf("%d %s\n", status, std::to_string(out.size()).c_str());
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Plain LF line ends, as the shell reading the output expects, and
    // commands read byte for byte.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    if (argc == 2 && std::string(argv[1]) == "serve")
        return serve();
    std::string out;
    int status = run(std::vector<std::string>(argv + 1, argv + argc), out);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return status;
}
