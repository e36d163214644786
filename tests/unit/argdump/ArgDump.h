// Test helpers around argdump.exe, the child program the launcher tests start:
// where it is, what it is told through its environment, and the record it
// leaves.
#pragma once

#include "support/Files.h"
#include "support/TempFolder.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/WindowHandles.h"
#include "toolkit/text/CodePage.h"

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

// A path given in UTF-8, as the launcher takes it, for the file system.
inline std::filesystem::path wide(const std::string& path) {
    return tk::utf8ToWide(path);
}

// Copies argdump under another name, for example as a MAME executable.
inline std::string copyTo(const std::string& target) {
    CopyFileW(wide(path()).c_str(), wide(target).c_str(), FALSE);
    return target;
}

// A folder of the temporary folder named in any letters, made.
inline std::string unicodeFolder(const testing_support::TempFolder& temp, const std::string& name) {
    std::string folder = temp.file(name);
    std::filesystem::create_directories(wide(folder));
    return folder;
}

// The bytes of a file named in any letters; empty when there is none.
inline std::string readUnicodeNamed(const std::string& file) {
    std::ifstream in(wide(file), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// An environment variable's value in UTF-8; nothing when it is not set.
inline std::optional<std::string> environment(const std::string& name) {
    std::wstring wideName = tk::utf8ToWide(name);
    DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(wideName.c_str(), value.data(), size));
    return tk::wideToUtf8(value);
}

// Sets an environment variable (inherited by children) for one scope, and
// puts back what it was.
class ScopedVariable {
public:
    ScopedVariable(const std::string& name, const std::string& value)
        : name_(name), old_(environment(name)) {
        set(value.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;
    ~ScopedVariable() { set(old_ ? old_->c_str() : nullptr); }

private:
    void set(const char* value) {
        std::wstring wideValue = value ? tk::utf8ToWide(value) : L"";
        SetEnvironmentVariableW(tk::utf8ToWide(name_).c_str(), value ? wideValue.c_str() : nullptr);
    }

    std::string name_;
    std::optional<std::string> old_;
};

// A real borderless window standing in for the main window; it counts how
// often it was told to hide and how many WM_APP messages it handled, and
// argdump reports whether it is visible when ARGDUMP_WINDOW holds
// handleText(). One serves all tests of a suite.
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
    static inline int appMessages = 0;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SHOWWINDOW && !wParam)
            ++hides;
        if (message == WM_APP)
            ++appMessages;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    tk::WindowHandle window_;
};

// The fields argdump wrote, in UTF-8 ("pid", "commandline", "directory", "argc", "argv0", ...,
// "startflags", "show", "windowvisible"); empty when there is no record.
using Record = std::map<std::string, std::string>;

inline Record readRecord(const std::string& file) {
    Record record;
    std::istringstream lines(readUnicodeNamed(file));
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
    std::error_code ignored;
    while (!std::filesystem::exists(wide(file), ignored) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return readRecord(file);
}

} // namespace argdump
