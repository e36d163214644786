// Test support: the one temporary folder of the tests. Made fresh, named after
// the running test so a failed run's leftovers say whose they are; at scope
// exit the current directory goes back to where it was (code under test may
// change it) and the folder goes with all it holds, read-only entries too.
// Names and paths are UTF-8, as the program keeps them.
#pragma once

#include <string>

namespace testing_support {

class TempFolder {
public:
    // Under the system's temporary folder.
    explicit TempFolder(const std::string& prefix = "keston");
    // At a given place, for example beside a window test's program.
    static TempFolder at(const std::string& path);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    TempFolder(TempFolder&& other) noexcept;
    TempFolder& operator=(TempFolder&&) = delete;

    const std::string& path() const { return path_; }
    // The path of an entry; nothing is made.
    std::string file(const std::string& name) const;
    // A sub-folder (or a path of them), made.
    std::string folder(const std::string& name) const;
    // A file written with the content; returns its path.
    std::string write(const std::string& name, const std::string& content) const;

private:
    struct Exact {};
    TempFolder(Exact, std::string path);

    std::string path_;
    std::string startedIn_;
};

} // namespace testing_support
