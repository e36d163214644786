// Test support: a fresh folder per test under the system's temporary folder,
// removed afterwards, and the text of the error an action raises.
#pragma once

#include "toolkit/Error.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

namespace testing_support {

// "no error" when the action raises nothing.
inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const tk::Error& error) {
        return error.what();
    }
    return "no error";
}

// Named after the running test, so a failed run's leftovers say whose they are.
inline std::filesystem::path freshTestFolder(const std::string& prefix) {
    auto folder = std::filesystem::temp_directory_path() /
                  (prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

} // namespace testing_support
