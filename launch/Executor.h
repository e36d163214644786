// TExecutor starts another program as a child process, hides the window that
// owns it while the child runs, waits for the child and hands back its exit
// code; a document starts the program Windows associates with it. While it
// waits, the thread still answers messages other threads and programs send
// to its windows, and runs nothing else. A wait can be given a
// limit, and an event that ends it early: the child then ends, and with it
// every program it started.
#pragma once

#include <windows.h>

#include <string>

namespace launch {

// How the child's first window is shown; each value selects a show-window
// value for the child's start-up information.
enum class TMyVisibility : unsigned char {
    HIDE,
    SHOWNORMAL,
    NORMAL,
    SHOWMINIMIZED,
    SHOWMAXIMIZED,
    MAXIMIZE,
    SHOWNOACTIVATE,
    SHOW,
    MINIMIZE,
    SHOWMINNOACTIVE,
    SHOWNA,
    RESTORE,
    SHOWDEFAULT,
    MAX,
};

// How the last child waited for came to its end.
enum class ChildEnd : unsigned char { exited, timedOut, cancelled };

class TExecutor {
public:
    // The owner is the window hidden while a child runs; it may be null.
    explicit TExecutor(HWND owner) : owner_(owner) {}

    TMyVisibility Visibility = TMyVisibility::NORMAL;
    bool HideOwner = true;
    bool Wait = true;
    std::string FileName;
    std::string CommandLine;
    // The child's working directory, where a relative FileName is also
    // looked for first; empty means the caller's current directory.
    std::string WorkingDirectory;
    // For a child waited for: how long it may run, in milliseconds, and an
    // event that ends it when set (none when null). Either ends the child
    // together with every program it started, which it cannot leave behind.
    DWORD TimeLimit = INFINITE;
    HANDLE Cancel = nullptr;
    // An inheritable handle the child gets as its standard error (and, when
    // no other is given, its standard output), so what it says there can be
    // read afterwards; none when null. The child inherits nothing else.
    HANDLE ErrorOutput = nullptr;
    ChildEnd LastEnd = ChildEnd::exited;

    // Starts the child by the first start attempt that works. Returns 1 when
    // none does, otherwise the child's exit code (259, STILL_ACTIVE, for a
    // child still running when not waited for). A child ended at its limit
    // or by Cancel gives 1, and LastEnd says so.
    int Execute();

    // Runs one program directly, without a console and, when `output` is
    // given, with that inheritable standard output, under the same show value,
    // owner and wait rules as Execute: for a job that cannot go through a
    // command interpreter. 1 when it cannot start.
    int ExecuteDirect(const std::string& application, const std::string& commandLine,
                      HANDLE output = nullptr);

private:
    int executeNamed(const std::string& associated);

    HWND owner_;
};

} // namespace launch
