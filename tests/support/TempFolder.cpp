#include "support/TempFolder.h"

#include "support/Files.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

namespace testing_support {
namespace {

namespace fs = std::filesystem;

std::string uniqueName(const std::string& prefix) {
    static int counter = 0;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           (test ? std::string(test->name()) + "-" : "") + std::to_string(++counter);
}

void removeTree(const std::string& path) {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(pathOf(path), ignored))
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(pathOf(path), ignored);
}

} // namespace

TempFolder::TempFolder(Exact, std::string path)
    : path_(std::move(path)), startedIn_(tk::currentDirectory()) {
    removeTree(path_);
    fs::create_directories(pathOf(path_));
}

TempFolder::TempFolder(const std::string& prefix)
    : TempFolder(Exact{}, textOf(fs::temp_directory_path() / pathOf(uniqueName(prefix)))) {}

TempFolder TempFolder::at(const std::string& path) {
    return TempFolder(Exact{}, path);
}

TempFolder::TempFolder(TempFolder&& other) noexcept
    : path_(std::move(other.path_)), startedIn_(std::move(other.startedIn_)) {
    other.path_.clear();
}

TempFolder::~TempFolder() {
    if (path_.empty())
        return;
    SetCurrentDirectoryW(tk::utf8ToWide(startedIn_).c_str());
    removeTree(path_);
}

std::string TempFolder::file(const std::string& name) const {
    return tk::joinPath(path_, name);
}

std::string TempFolder::folder(const std::string& name) const {
    std::string sub = file(name);
    fs::create_directories(pathOf(sub));
    return sub;
}

std::string TempFolder::write(const std::string& name, const std::string& content) const {
    std::string path = file(name);
    writeFile(path, content);
    return path;
}

} // namespace testing_support
