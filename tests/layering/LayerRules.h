// The rules that keep the libraries layered: a library includes only its own
// headers and those of the libraries it depends on, directly or through
// another dependency, names no dependency it does not include, depends only
// on libraries of lower layers, and its portable sources reach no Windows
// header, neither themselves nor through the project's headers they include.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace layering {

// One library as its CMakeLists.txt declares it; folders are relative to the
// source root.
struct Library {
    std::string name;
    std::string folder;
    std::vector<std::string> depends;
    std::vector<std::string> portable;
};

// The build's record, one line per library from the bottom layer up:
// "<name> <folder> | <dependency>... | <portable source>...".
std::vector<Library> readLayers(std::string_view record);

struct Include {
    int line = 0;
    std::string header;
    bool angled = false;
};

std::vector<Include> includesOf(std::string_view source);

// A header of the Windows SDK: win*.h, *api.h, *apiset.h and the named rest.
bool isWindowsHeader(std::string_view header);

// The source tree as the check reads it; paths are relative to its root.
class SourceTree {
public:
    virtual ~SourceTree() = default;
    // The C++ sources and headers directly in a folder.
    virtual std::vector<std::string> filesIn(const std::string& folder) const = 0;
    virtual std::optional<std::string> read(const std::string& path) const = 0;
};

struct Violation {
    std::string file;
    int line = 0;
    std::string what;
};

struct Report {
    std::vector<std::string> checked; // one line per library
    std::vector<Violation> violations;
};

Report checkLayers(const std::vector<Library>& libraries, const SourceTree& tree);

} // namespace layering
