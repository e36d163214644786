// Times a program's start from outside, as a user sees it: from process
// creation until one of its windows shows a list box that holds the
// expected number of rows, and reads the process's peak memory then. Then
// asks each of its list boxes, the hidden ones too, for its number of rows,
// as a program that reads them would, so that rows a list takes in only
// when the program is idle are in, reads the peak memory once more and ends
// the process.
// Prints "name=value" figures; exits non-zero when the list never came.
//
//     startup_watch <program.exe> <rows> [timeout seconds]
//
// The program starts in its own folder, as from a desktop shortcut.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
    DWORD process;
    LRESULT rows;
    bool found = false;
};

double msSince(LARGE_INTEGER from) {
    LARGE_INTEGER to;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&to);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

bool isListBox(HWND window) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, "ListBox") == 0;
}

// Only a visible list box is asked for its rows: its program is then past
// its start-up work and answers at once; a busy one is not waited for.
BOOL CALLBACK checkChild(HWND child, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    if (!isListBox(child) || !IsWindowVisible(child))
        return TRUE;
    DWORD_PTR count = 0;
    if (SendMessageTimeoutA(child, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 20, &count) &&
        static_cast<LRESULT>(count) == search.rows) {
        search.found = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK checkTopLevel(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search.process && IsWindowVisible(window))
        EnumChildWindows(window, checkChild, context);
    return search.found ? FALSE : TRUE;
}

// Every list box of the process answers once, however long it takes.
BOOL CALLBACK askChild(HWND child, LPARAM) {
    DWORD_PTR count = 0;
    if (isListBox(child))
        SendMessageTimeoutA(child, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 10000, &count);
    return TRUE;
}

BOOL CALLBACK askTopLevel(HWND window, LPARAM context) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == static_cast<DWORD>(context))
        EnumChildWindows(window, askChild, 0);
    return TRUE;
}

bool listShown(DWORD process, LRESULT rows) {
    Search search{process, rows};
    EnumWindows(checkTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The processor time the process used, user and kernel: less swayed by
// other load on the machine than the time on the clock.
double cpuMs(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return -1;
    auto ticks = [](FILETIME t) {
        return static_cast<double>(static_cast<ULONGLONG>(t.dwHighDateTime) << 32 |
                                   t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 1e4;
}

std::string folderOf(const std::string& path) {
    auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_watch <program.exe> <rows> [timeout seconds]\n");
        return 2;
    }
    std::string program = argv[1];
    LRESULT rows = std::atol(argv[2]);
    double timeoutMs = 1000.0 * (argc > 3 ? std::atof(argv[3]) : 60.0);
    std::string commandLine = "\"" + program + "\"";
    std::string folder = folderOf(program);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &started)) {
        std::fprintf(stderr, "startup_watch: cannot start %s (error %lu)\n", program.c_str(),
                     GetLastError());
        return 1;
    }
    bool shown = false;
    double ms = 0;
    while (!shown && (ms = msSince(start)) < timeoutMs &&
           WaitForSingleObject(started.hProcess, 0) == WAIT_TIMEOUT) {
        shown = listShown(started.dwProcessId, rows);
        if (!shown)
            Sleep(1);
    }
    ms = msSince(start);

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    bool measured = GetProcessMemoryInfo(started.hProcess, &memory, sizeof memory);
    PROCESS_MEMORY_COUNTERS everyList = memory;
    if (shown && measured) {
        EnumWindows(askTopLevel, static_cast<LPARAM>(started.dwProcessId));
        measured = GetProcessMemoryInfo(started.hProcess, &everyList, sizeof everyList);
    }
    double cpu = cpuMs(started.hProcess);
    TerminateProcess(started.hProcess, 0);
    WaitForSingleObject(started.hProcess, 5000);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);

    if (!shown) {
        std::fprintf(stderr, "startup_watch: no visible list of %ld rows after %.0f ms\n",
                     static_cast<long>(rows), ms);
        return 1;
    }
    std::printf("startup_ms=%.1f\n", ms);
    if (cpu >= 0)
        std::printf("startup_cpu_ms=%.1f\n", cpu);
    if (measured) {
        std::printf("peak_working_set_bytes=%llu\n",
                    static_cast<unsigned long long>(memory.PeakWorkingSetSize));
        std::printf("peak_private_bytes=%llu\n",
                    static_cast<unsigned long long>(memory.PeakPagefileUsage));
        std::printf("peak_private_bytes_every_list_filled=%llu\n",
                    static_cast<unsigned long long>(everyList.PeakPagefileUsage));
    }
    return 0;
}
