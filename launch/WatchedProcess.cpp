#include "launch/WatchedProcess.h"

#include "launch/InheritedHandles.h"
#include "launch/MameReport.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/SystemError.h"
#include "toolkit/text/CodePage.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <utility>
#include <vector>

namespace launch {

namespace {

// The pipe's buffer: a program that prints in bursts writes on while the
// watch takes what came before.
constexpr DWORD pipeBuffer = 64 * 1024;

// An anonymous pipe cannot be read overlapped, and only an overlapped read
// can be waited for together with the program and the cancel event: the
// pipe is a named one, under a name no other pipe of the system has.
std::wstring uniquePipeName() {
    static std::atomic<unsigned> pipes{0};
    return L"\\\\.\\pipe\\keston-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++pipes);
}

struct OutputPipe {
    tk::FileHandle reader; // overlapped, not inheritable
    tk::FileHandle writer; // inheritable, for the program's standard output and error
};

// Sets the last error when it fails.
bool makeOutputPipe(OutputPipe& pipe) {
    std::wstring name = uniquePipeName();
    pipe.reader.reset(CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0,
        pipeBuffer, 0, nullptr));
    if (!pipe.reader)
        return false;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    pipe.writer.reset(CreateFileW(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0,
                                  &inheritable, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(pipe.writer);
}

// One overlapped read of the pipe at a time, whose end sets `done`. None is
// left going at its destruction: the system would write into freed memory.
class PipeRead {
public:
    PipeRead(HANDLE pipe, HANDLE done) : pipe_(pipe) { overlapped_.hEvent = done; }
    PipeRead(const PipeRead&) = delete;
    PipeRead& operator=(const PipeRead&) = delete;
    ~PipeRead() { stop(nullptr); }

    // Begins a read of at most `size` bytes; false once no writer holds the
    // pipe.
    bool begin(DWORD size = sizeof buffer_) {
        if (ReadFile(pipe_, buffer_, std::min<DWORD>(size, sizeof buffer_), nullptr,
                     &overlapped_)) {
            // Done at once: the event says so all the same.
            SetEvent(overlapped_.hEvent);
        } else if (GetLastError() != ERROR_IO_PENDING) {
            return false;
        }
        going_ = true;
        return true;
    }

    // Waits for the read's end and takes what it got into `tail`; how many
    // bytes, or nothing once no writer holds the pipe.
    std::optional<DWORD> finish(OutputTail* tail) {
        DWORD got = 0;
        bool done = GetOverlappedResult(pipe_, &overlapped_, &got, TRUE);
        DWORD error = done ? ERROR_SUCCESS : GetLastError();
        going_ = false;
        if (tail && got > 0)
            tail->append({buffer_, got});
        if (!done && error != ERROR_OPERATION_ABORTED)
            return std::nullopt;
        return got;
    }

    // Ends a read still going, keeping what it got before.
    void stop(OutputTail* tail) {
        if (!going_)
            return;
        CancelIoEx(pipe_, &overlapped_);
        static_cast<void>(finish(tail));
    }

private:
    HANDLE pipe_;
    OVERLAPPED overlapped_{};
    bool going_ = false;
    char buffer_[16 * 1024];
};

// Takes what the pipe holds at this moment and never waits for more: once
// the program has ended, a child of its that inherited the pipe may keep it
// open for as long as it runs.
void takeWaiting(HANDLE pipe, PipeRead& read, OutputTail& tail) {
    DWORD waiting = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr))
        return;
    while (waiting > 0 && read.begin(waiting)) {
        std::optional<DWORD> got = read.finish(&tail);
        if (!got || *got == 0)
            return;
        waiting -= std::min(*got, waiting);
    }
}

// What the watching thread owns: it may outlive the watch's owner.
struct Watch {
    tk::KernelHandle process;
    tk::FileHandle output;
    tk::KernelHandle readDone;
    OnProcessEnd onEnd;
};

// The watching thread: one wait for the cancel event, the program's end and
// the pending read, in that order of precedence, so that a child pouring
// out output never hides the program's end. Nothing polls: a game that
// prints nothing for hours costs no wake-up.
void watch(Watch& watched, HANDLE cancel) {
    OutputTail tail;
    PipeRead read(watched.output.get(), watched.readDone.get());
    bool reading = read.begin();
    for (;;) {
        const HANDLE events[] = {cancel, watched.process.get(), watched.readDone.get()};
        DWORD woken = WaitForMultipleObjects(reading ? 3 : 2, events, FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0 + 1)
            break;
        if (woken != WAIT_OBJECT_0 + 2)
            return; // cancelled, or a wait that cannot go on: nobody hears of it
        reading = read.finish(&tail).has_value() && read.begin();
    }
    // Everything the program wrote before it ended is in the pipe now.
    if (reading) {
        read.stop(&tail);
        takeWaiting(watched.output.get(), read, tail);
    }
    DWORD code = 0;
    GetExitCodeProcess(watched.process.get(), &code);
    if (watched.onEnd && WaitForSingleObject(cancel, 0) == WAIT_TIMEOUT)
        watched.onEnd({code, tail.text()});
}

// The system's own text for a failure to start a program.
tk::Outcome startFailure(DWORD code) {
    return tk::Outcome::failure(tk::systemErrorText(code) + ".");
}

} // namespace

Watched startWatched(const std::string& commandLine, const std::string& directory,
                     OnProcessEnd onEnd) {
    OutputPipe pipe;
    if (!makeOutputPipe(pipe))
        return {startFailure(GetLastError()), nullptr};
    tk::KernelHandle readDone(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!readDone)
        return {startFailure(GetLastError()), nullptr};
    InheritedHandles inherited({pipe.writer.get()});
    if (!inherited.ready())
        return {startFailure(GetLastError()), nullptr};

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.StartupInfo.wShowWindow = SW_SHOWNORMAL;
    startup.StartupInfo.hStdOutput = pipe.writer.get();
    startup.StartupInfo.hStdError = pipe.writer.get();
    startup.lpAttributeList = inherited.list();
    // CreateProcessW may write into its command line.
    std::wstring line = tk::utf8ToWide(commandLine);
    std::wstring folder = tk::utf8ToWide(directory);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup.StartupInfo, &started))
        return {startFailure(GetLastError()), nullptr};
    tk::KernelHandle thread(started.hThread);
    // Only the program, and whatever it starts, holds the writing end now.
    pipe.writer.reset();
    auto watched =
        std::make_shared<Watch>(Watch{tk::KernelHandle(started.hProcess), std::move(pipe.reader),
                                      std::move(readDone), std::move(onEnd)});
    auto work =
        std::make_unique<tk::BackgroundWork>([watched](HANDLE cancel) { watch(*watched, cancel); });
    if (!work->started())
        work.reset();
    return {tk::Outcome::success(), std::move(work)};
}

} // namespace launch
