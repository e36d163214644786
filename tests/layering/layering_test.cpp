#include "LayerRules.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

namespace {

using layering::Library;

// A source tree held in memory: path -> text.
class Tree : public layering::SourceTree {
public:
    explicit Tree(std::map<std::string, std::string> files) : files_(std::move(files)) {}

    std::vector<std::string> filesIn(const std::string& folder) const override {
        std::vector<std::string> found;
        for (const auto& [path, text] : files_)
            if (path.rfind(folder + "/", 0) == 0 &&
                path.find('/', folder.size() + 1) == std::string::npos &&
                (path.ends_with(".cpp") || path.ends_with(".h")))
                found.push_back(path);
        return found;
    }
    std::optional<std::string> read(const std::string& path) const override {
        auto found = files_.find(path);
        return found == files_.end() ? std::nullopt : std::optional(found->second);
    }

private:
    std::map<std::string, std::string> files_;
};

// base <- text <- files, and pictures <- base beside them.
std::vector<Library> toolkit() {
    return {{"base", "toolkit/base", {}, {"Error.cpp"}},
            {"text", "toolkit/text", {"base"}, {}},
            {"files", "toolkit/files", {"text"}, {}},
            {"pictures", "toolkit/pictures", {"base"}, {}}};
}

std::map<std::string, std::string> toolkitSources() {
    return {{"toolkit/base/Error.cpp", "#include \"toolkit/base/Error.h\"\n"},
            {"toolkit/base/Error.h", "#include <string>\n"},
            {"toolkit/text/Code.cpp", "#include \"toolkit/base/Error.h\"\n"},
            {"toolkit/files/Path.cpp", "#include \"toolkit/text/Code.h\"\n"},
            {"toolkit/pictures/Picture.cpp", "#include \"toolkit/base/Error.h\"\n"}};
}

std::vector<std::string> violations(const std::vector<Library>& libraries,
                                    std::map<std::string, std::string> files) {
    std::vector<std::string> found;
    for (const auto& v : layering::checkLayers(libraries, Tree(std::move(files))).violations)
        found.push_back(v.file + ":" + std::to_string(v.line) + ": " + v.what);
    return found;
}

TEST(Layering, ALibraryIncludesWhatItDependsOnDirectlyOrNotAndNothingElse) {
    EXPECT_EQ(violations(toolkit(), toolkitSources()), std::vector<std::string>{});

    auto files = toolkitSources();
    files["toolkit/files/Path.cpp"] = "#include \"toolkit/text/Code.h\"\n"
                                      "#include \"toolkit/base/Error.h\"\n"
                                      "#include \"Path.h\"\n"
                                      "  #  include \"toolkit/pictures/Picture.h\"\n";
    files["toolkit/base/Error.h"] =
        "// #include \"toolkit/text/Code.h\"\n#include \"assets/ids.h\"\n";
    EXPECT_EQ(violations(toolkit(), files),
              std::vector<std::string>{"toolkit/files/Path.cpp:4: files includes "
                                       "toolkit/pictures/Picture.h of pictures, which it does "
                                       "not depend on"});
}

TEST(Layering, DependenciesAreUsedAndPointDownwards) {
    auto libraries = toolkit();
    libraries[2].depends = {"text", "base"};
    libraries[1].depends = {"base", "pictures", "sound"};
    auto files = toolkitSources();
    files["toolkit/text/CMakeLists.txt"] =
        "# text\nkeston_library(text\n  DEPENDS base pictures sound)\n";
    files["toolkit/text/Code.cpp"] += "#include \"toolkit/pictures/Picture.h\"\n";
    EXPECT_EQ(
        violations(libraries, files),
        (std::vector<std::string>{
            "toolkit/text/CMakeLists.txt:3: text depends on pictures, a library of a layer above",
            "toolkit/text/CMakeLists.txt:3: text depends on sound, which is no library",
            "toolkit/text/CMakeLists.txt:3: text depends on sound but includes none of its headers",
            "toolkit/files/CMakeLists.txt:0: files depends on base but includes none of its "
            "headers"}));
}

TEST(Layering, APortableSourceReachesNoWindowsHeaderThroughAnyProjectHeader) {
    auto libraries = toolkit();
    libraries[1].portable = {"Code.cpp", "Gone.cpp"};
    auto files = toolkitSources();
    files["toolkit/base/Handles.h"] =
        "#pragma once\n#include <Windows.h>\n#include \"Handles.h\"\n";
    files["toolkit/base/Error.h"] = "#include \"toolkit/base/Error.h\"\n#include \"Handles.h\"\n";
    // Not portable: free to include the system's headers.
    files["toolkit/pictures/Picture.cpp"] += "#include <commctrl.h>\n";
    EXPECT_EQ(violations(libraries, files),
              (std::vector<std::string>{
                  "toolkit/base/Handles.h:2: portable source toolkit/base/Error.cpp reaches the "
                  "Windows header <Windows.h>",
                  "toolkit/base/Handles.h:2: portable source toolkit/text/Code.cpp reaches the "
                  "Windows header <Windows.h>",
                  "toolkit/text/Gone.cpp:0: portable source toolkit/text/Gone.cpp is missing"}));
}

TEST(Layering, TheBuildsRecordAndTheWindowsHeadersAreRecognised) {
    auto libraries =
        layering::readLayers("base toolkit/base |  | Error.cpp\n\n"
                             "files toolkit/files | text base | PathText.cpp Paths.cpp\n");
    ASSERT_EQ(libraries.size(), 2u);
    EXPECT_EQ(libraries[0].depends, std::vector<std::string>{});
    EXPECT_EQ(libraries[1].folder, "toolkit/files");
    EXPECT_EQ(libraries[1].depends, (std::vector<std::string>{"text", "base"}));
    EXPECT_EQ(libraries[1].portable, (std::vector<std::string>{"PathText.cpp", "Paths.cpp"}));
    EXPECT_THROW(layering::readLayers("base toolkit/base | Error.cpp\n"), std::runtime_error);

    for (const char* header :
         {"windows.h", "Windows.h", "windowsx.h", "winuser.h", "commctrl.h", "commdlg.h",
          "shellapi.h", "processthreadsapi.h", "usp10.h", "dlgs.h"})
        EXPECT_TRUE(layering::isWindowsHeader(header)) << header;
    for (const char* header :
         {"string", "cstdint", "span", "gtest/gtest.h", "stdio.h", "sys/stat.h"})
        EXPECT_FALSE(layering::isWindowsHeader(header)) << header;
}

} // namespace
