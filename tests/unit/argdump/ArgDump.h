// Test helpers around argdump.exe, the child program the launcher tests start:
// where it is, a temporary folder to run it in, and the record it leaves.
#pragma once

#include "toolkit/Handles.h"
#include "toolkit/Paths.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace argdump {

// Built beside the test programs.
inline std::string path() {
    return tk::joinPath(tk::programFolder(), "argdump.exe");
}

// A fresh folder under the system's temporary folder, removed with its
// content at the end of the test.
class TempFolder {
public:
    explicit TempFolder(const std::string& name) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        static int counter = 0;
        path_ = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        std::filesystem::create_directories(path_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return tk::joinPath(path_, name); }

    // A sub-folder, created.
    std::string folder(const std::string& name) const {
        std::string sub = file(name);
        std::filesystem::create_directories(sub);
        return sub;
    }

private:
    std::string path_;
};

// Copies argdump under another name, for example as a MAME executable.
inline std::string copyTo(const std::string& target) {
    CopyFileA(path().c_str(), target.c_str(), FALSE);
    return target;
}

// An environment variable's value; nothing when it is not set.
inline std::optional<std::string> environment(const std::string& name) {
    DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::string value(size, '\0');
    value.resize(GetEnvironmentVariableA(name.c_str(), value.data(), size));
    return value;
}

// Sets an environment variable (inherited by children) for one scope, and
// puts back what it was.
class ScopedVariable {
public:
    ScopedVariable(const std::string& name, const std::string& value)
        : name_(name), old_(environment(name)) {
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;
    ~ScopedVariable() { SetEnvironmentVariableA(name_.c_str(), old_ ? old_->c_str() : nullptr); }

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Restores the process's current directory at the end of a scope.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() : saved_(tk::currentDirectory()) {}
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;
    ~CurrentDirectoryGuard() { SetCurrentDirectoryA(saved_.c_str()); }

private:
    std::string saved_;
};

// A real borderless window standing in for the main window; it counts how
// often it was told to hide, and argdump reports whether it is visible when
// ARGDUMP_WINDOW holds handleText(). Under Wine without a window manager
// every hiding (and destroying) of a shown window takes two seconds, so
// tests share windows where they can.
class OwnerWindow {
public:
    OwnerWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KestonExecutorTestOwner";
        RegisterClassA(&windowClass);
        window_.reset(CreateWindowExA(0, windowClass.lpszClassName, "owner", WS_POPUP, 10, 10, 200,
                                      100, nullptr, nullptr, windowClass.hInstance, nullptr));
        ShowWindow(window_.get(), SW_SHOW);
    }
    HWND get() const { return window_.get(); }
    std::string handleText() const {
        return std::to_string(reinterpret_cast<unsigned long long>(window_.get()));
    }
    static inline int hides = 0;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SHOWWINDOW && !wParam)
            ++hides;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    tk::WindowHandle window_;
};

inline std::string readFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The fields argdump wrote ("commandline", "directory", "argc", "argv0", ...,
// "startflags", "show", "windowvisible"); empty when there is no record.
using Record = std::map<std::string, std::string>;

inline Record readRecord(const std::string& file) {
    Record record;
    std::istringstream lines(readFile(file));
    for (std::string line; std::getline(lines, line);) {
        auto equals = line.find('=');
        if (equals != std::string::npos)
            record[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return record;
}

// For children that are not waited for: the record once it appears.
inline Record awaitRecord(const std::string& file,
                          std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!tk::fileExists(file) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return readRecord(file);
}

} // namespace argdump
