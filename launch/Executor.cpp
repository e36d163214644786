#include "launch/Executor.h"

#include "launch/InheritedHandles.h"
#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"
#include "toolkit/text/CodePage.h"

#include <shellapi.h>

#include <optional>
#include <vector>

namespace launch {

namespace {

// One start attempt. An application name that is given but empty fails at
// once: Windows would otherwise read the program from the command line.
struct Attempt {
    std::optional<std::string> application;
    std::optional<std::string> commandLine;
};

// The job, when there is one, goes first: closing it ends what is left in it.
struct Child {
    tk::KernelHandle process;
    tk::KernelHandle thread;
    tk::KernelHandle job;
};

constexpr DWORD newConsole = CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS;
// Without a console: Wine starts a console's host process with the child's
// inheritable handles, and it can keep an output file open (and locked for
// readers) for a moment after the child has ended.
constexpr DWORD noConsole = DETACHED_PROCESS | NORMAL_PRIORITY_CLASS;
// How long an ended child may take to let go of what it held (its output
// file above all) before the caller goes on.
constexpr DWORD endingWait = 5000;

// The SW_* value a visibility stands for.
WORD showWindowValue(TMyVisibility visibility) {
    // MAX is the classic SW_MAX, 10; newer headers moved SW_MAX to 11.
    static constexpr WORD values[] = {SW_HIDE,           SW_SHOWNORMAL,
                                      SW_NORMAL,         SW_SHOWMINIMIZED,
                                      SW_SHOWMAXIMIZED,  SW_MAXIMIZE,
                                      SW_SHOWNOACTIVATE, SW_SHOW,
                                      SW_MINIMIZE,       SW_SHOWMINNOACTIVE,
                                      SW_SHOWNA,         SW_RESTORE,
                                      SW_SHOWDEFAULT,    10};
    return values[static_cast<unsigned>(visibility)];
}

// What every start attempt of one run shares.
struct StartSettings {
    STARTUPINFOW startup{};
    std::wstring directory; // empty: the caller's current directory
    DWORD flags = newConsole;
    // Started in a job of its own, to be ended with all it starts.
    bool contained = false;

    // Gives the child these standard handles; the error handle also stands
    // in for a missing output (an interpreter's own words go there).
    void giveStandardHandles(HANDLE output, HANDLE error) {
        if (!output && !error)
            return;
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdOutput = output ? output : error;
        startup.hStdError = error;
    }
    std::vector<HANDLE> standardHandles() const {
        if (!(startup.dwFlags & STARTF_USESTDHANDLES))
            return {};
        return {startup.hStdOutput, startup.hStdError};
    }
};

StartSettings startSettings(const TExecutor& executor) {
    StartSettings settings;
    settings.startup.cb = sizeof settings.startup;
    settings.startup.dwFlags = STARTF_USESHOWWINDOW;
    settings.startup.wShowWindow = showWindowValue(executor.Visibility);
    settings.directory = tk::utf8ToWide(executor.WorkingDirectory);
    settings.contained =
        executor.Wait && (executor.TimeLimit != INFINITE || executor.Cancel != nullptr);
    settings.giveStandardHandles(nullptr, executor.ErrorOutput);
    return settings;
}

// Puts a child started suspended into a job of its own before it runs, so
// every program it starts is in the job too and can be ended with it; the
// job also ends them when this process ends first. A child the system keeps
// out of a job runs all the same, and is ended alone.
void contain(Child& child) {
    tk::KernelHandle job(CreateJobObjectW(nullptr, nullptr));
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                sizeof limits);
        if (AssignProcessToJobObject(job.get(), child.process.get()))
            child.job = std::move(job);
    }
    ResumeThread(child.thread.get());
}

std::optional<Child> tryStart(const Attempt& attempt, const StartSettings& settings) {
    if (attempt.application && attempt.application->empty())
        return std::nullopt;
    std::wstring application = tk::utf8ToWide(attempt.application.value_or(""));
    // CreateProcessW may write into its command line, and it must take any
    // length whole, so it gets a private writable copy.
    std::wstring line = tk::utf8ToWide(attempt.commandLine.value_or(""));
    std::vector<HANDLE> handed = settings.standardHandles();
    InheritedHandles inherited(handed);
    if (!handed.empty() && !inherited.ready())
        return std::nullopt;
    STARTUPINFOEXW startup{settings.startup, handed.empty() ? nullptr : inherited.list()};
    startup.StartupInfo.cb = handed.empty() ? sizeof(STARTUPINFOW) : sizeof startup;
    DWORD flags = settings.flags | (settings.contained ? CREATE_SUSPENDED : 0) |
                  (handed.empty() ? 0 : EXTENDED_STARTUPINFO_PRESENT);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(attempt.application ? application.c_str() : nullptr,
                        attempt.commandLine ? line.data() : nullptr, nullptr, nullptr,
                        !handed.empty(), flags, nullptr,
                        settings.directory.empty() ? nullptr : settings.directory.c_str(),
                        &startup.StartupInfo, &started))
        return std::nullopt;
    Child child{tk::KernelHandle(started.hProcess), tk::KernelHandle(started.hThread), {}};
    if (settings.contained)
        contain(child);
    return child;
}

std::optional<Child> startFirst(const std::vector<Attempt>& attempts,
                                const StartSettings& settings) {
    for (const auto& attempt : attempts) {
        if (auto child = tryStart(attempt, settings))
            return child;
    }
    return std::nullopt;
}

// The program Windows would use to open `file` (for a program, the program
// itself), a relative name looked for in `directory` first; empty when there
// is none.
std::string associatedProgram(const std::string& file, const std::string& directory) {
    wchar_t found[MAX_PATH] = {}; // the size FindExecutableW is documented to fill
    std::wstring folder = tk::utf8ToWide(directory);
    auto code = reinterpret_cast<INT_PTR>(FindExecutableW(
        tk::utf8ToWide(file).c_str(), folder.empty() ? nullptr : folder.c_str(), found));
    return code > 32 ? tk::wideToUtf8(found) : "";
}

// Waits for the process while answering what other threads and programs send
// to this thread's windows, so none of them waits for the child too. Posted
// messages, input and timers stay queued until the child ends: no handler of
// the caller's runs again meanwhile. The limit (milliseconds) or the cancel
// event, when given, end the wait first.
ChildEnd awaitAnsweringSent(HANDLE process, DWORD limit, HANDLE cancel) {
    const HANDLE handles[] = {process, cancel};
    const DWORD count = cancel ? 2 : 1;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        DWORD left = INFINITE;
        if (limit != INFINITE) {
            ULONGLONG spent = GetTickCount64() - start;
            left = spent >= limit ? 0 : static_cast<DWORD>(limit - spent);
        }
        DWORD result = MsgWaitForMultipleObjects(count, handles, FALSE, left, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0 + count) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        if (result == WAIT_TIMEOUT)
            return ChildEnd::timedOut;
        if (cancel && result == WAIT_OBJECT_0 + 1)
            return ChildEnd::cancelled;
        return ChildEnd::exited;
    }
}

// Ends the child with everything it started, and gives it a moment to let
// go of its files.
void endChild(const Child& child) {
    if (!child.job || !TerminateJobObject(child.job.get(), 1))
        TerminateProcess(child.process.get(), 1);
    WaitForSingleObject(child.process.get(), endingWait);
}

// Hides the owner while the child runs, optionally waits for it (ending it
// at the executor's limit or cancel event), and returns its exit code,
// closing the child's handles before the owner comes back.
int supervise(Child child, HWND owner, const TExecutor& executor, ChildEnd& end) {
    bool hide = executor.HideOwner && owner;
    if (hide)
        ShowWindow(owner, SW_HIDE);
    end = ChildEnd::exited;
    if (executor.Wait)
        end = awaitAnsweringSent(child.process.get(), executor.TimeLimit, executor.Cancel);
    if (end != ChildEnd::exited)
        endChild(child);
    DWORD code = 0;
    GetExitCodeProcess(child.process.get(), &code);
    child.job.reset();
    child.process.reset();
    child.thread.reset();
    if (hide) {
        ShowWindow(owner, SW_SHOW);
        SetForegroundWindow(owner);
    }
    return static_cast<int>(code);
}

} // namespace

int TExecutor::Execute() {
    return executeNamed(associatedProgram(FileName, WorkingDirectory));
}

int TExecutor::ExecuteDirect(const std::string& application, const std::string& commandLine,
                             HANDLE output) {
    StartSettings settings = startSettings(*this);
    settings.flags = noConsole;
    settings.giveStandardHandles(output, ErrorOutput);
    auto child = startFirst({{application, commandLine}}, settings);
    if (!child)
        return 1;
    return supervise(std::move(*child), owner_, *this, LastEnd);
}

int TExecutor::executeNamed(const std::string& associated) {
    std::string arguments = " " + CommandLine;
    std::vector<Attempt> attempts;
    if (FileName.empty())
        attempts = {{associated, std::nullopt}};
    else if (!CommandLine.empty())
        attempts = {{FileName, arguments},
                    {associated, arguments},
                    {std::nullopt, associated + " " + arguments}};
    else
        attempts = {{FileName, std::nullopt},
                    {std::nullopt, FileName},
                    {std::nullopt, associated + " " + FileName}};
    auto child = startFirst(attempts, startSettings(*this));
    if (!child)
        return 1;
    return supervise(std::move(*child), owner_, *this, LastEnd);
}

} // namespace launch
