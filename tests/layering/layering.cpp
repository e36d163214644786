// Checks the libraries' layers against what their sources include:
// layering <record of the layers> <source root>. Prints what it checked and
// each violation as file:line; fails when there is one.
#include "LayerRules.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::optional<std::string> readFile(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        return std::nullopt;
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

class DiskTree : public layering::SourceTree {
public:
    explicit DiskTree(fs::path root) : root_(std::move(root)) {}

    std::vector<std::string> filesIn(const std::string& folder) const override {
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(root_ / folder)) {
            auto extension = entry.path().extension();
            if (entry.is_regular_file() && (extension == ".cpp" || extension == ".h"))
                files.push_back(folder + "/" + entry.path().filename().string());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    std::optional<std::string> read(const std::string& path) const override {
        return fs::is_regular_file(root_ / path) ? readFile(root_ / path) : std::nullopt;
    }

private:
    fs::path root_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: layering <record of the layers> <source root>\n";
        return 2;
    }
    auto record = readFile(argv[1]);
    if (!record) {
        std::cerr << "layering: cannot read " << argv[1] << "\n";
        return 2;
    }
    auto libraries = layering::readLayers(*record);
    auto report = layering::checkLayers(libraries, DiskTree(argv[2]));
    for (const auto& line : report.checked)
        std::cout << line << "\n";
    for (const auto& violation : report.violations)
        std::cout << violation.file << ":" << violation.line << ": " << violation.what << "\n";
    std::cout << "layering: " << libraries.size() << " libraries checked, "
              << report.violations.size() << " violations\n";
    return report.violations.empty() && !libraries.empty() ? 0 : 1;
}
