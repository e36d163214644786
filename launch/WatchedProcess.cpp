#include "launch/WatchedProcess.h"

#include "launch/InheritedHandles.h"
#include "launch/MameReport.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/SystemError.h"
#include "toolkit/text/CodePage.h"

#include <algorithm>
#include <optional>
#include <thread>
#include <vector>

namespace launch {

namespace {

// How long the watch sleeps while the pipe is empty and the program runs:
// short enough that a program filling the pipe hardly waits, long enough
// that a game printing nothing for hours costs nothing.
constexpr DWORD idleWait = 20;
// The pipe's buffer: a program that prints in bursts writes on while the
// watch sleeps.
constexpr DWORD pipeBuffer = 64 * 1024;

// Takes what the pipe holds at this moment and never waits for more: once
// the program has ended, a child of its that inherited the pipe may keep it
// open for as long as it runs. Returns how many bytes it took, or nothing
// once no writer holds the pipe any more.
std::optional<DWORD> takeWaiting(HANDLE pipe, OutputTail& tail) {
    DWORD waiting = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr))
        return std::nullopt;
    char buffer[4096];
    DWORD taken = 0;
    while (taken < waiting) {
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, std::min<DWORD>(waiting - taken, sizeof buffer), &got, nullptr))
            return std::nullopt;
        if (got == 0)
            break;
        tail.append({buffer, got});
        taken += got;
    }
    return taken;
}

// The watching thread: takes the output as it comes while the program runs,
// so the program never waits for a full pipe, and reports when the program
// itself ends, with what it wrote before that.
void watch(tk::KernelHandle output, tk::KernelHandle process, const OnProcessEnd& onEnd) {
    OutputTail tail;
    bool open = true;
    DWORD wait = 0;
    while (WaitForSingleObject(process.get(), wait) == WAIT_TIMEOUT) {
        std::optional<DWORD> taken = takeWaiting(output.get(), tail);
        open = taken.has_value();
        wait = !open ? INFINITE : *taken > 0 ? 0 : idleWait;
    }
    // Everything the program wrote before it ended is in the pipe now.
    if (open)
        takeWaiting(output.get(), tail);
    output.reset();
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    if (onEnd)
        onEnd({code, tail.text()});
}

// The system's own text for a failure to start a program.
tk::Outcome startFailure(DWORD code) {
    return tk::Outcome::failure(tk::systemErrorText(code) + ".");
}

} // namespace

tk::Outcome startWatched(const std::string& commandLine, const std::string& directory,
                         OnProcessEnd onEnd) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, pipeBuffer))
        return startFailure(GetLastError());
    tk::KernelHandle reader(readEnd);
    tk::KernelHandle writer(writeEnd);
    SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);
    InheritedHandles inherited({writer.get()});
    if (!inherited.ready())
        return startFailure(GetLastError());

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.StartupInfo.wShowWindow = SW_SHOWNORMAL;
    startup.StartupInfo.hStdOutput = writer.get();
    startup.StartupInfo.hStdError = writer.get();
    startup.lpAttributeList = inherited.list();
    // CreateProcessW may write into its command line.
    std::wstring line = tk::utf8ToWide(commandLine);
    std::wstring folder = tk::utf8ToWide(directory);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup.StartupInfo, &started))
        return startFailure(GetLastError());
    tk::KernelHandle process(started.hProcess);
    tk::KernelHandle thread(started.hThread);
    // Only the child, and whatever it starts, holds the writing end now.
    writer.reset();
    std::thread(
        [](tk::KernelHandle output, tk::KernelHandle child, OnProcessEnd end) {
            // Nobody is there to hear of a failure on this thread.
            try {
                watch(std::move(output), std::move(child), end);
            } catch (...) {
            }
        },
        std::move(reader), std::move(process), std::move(onEnd))
        .detach();
    return tk::Outcome::success();
}

} // namespace launch
