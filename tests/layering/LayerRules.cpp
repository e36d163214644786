#include "LayerRules.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

namespace layering {

namespace {

std::vector<std::string> words(std::string_view text) {
    std::istringstream stream{std::string(text)};
    std::vector<std::string> result;
    for (std::string word; stream >> word;)
        result.push_back(word);
    return result;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Headers are named from the source root; a bare name is one beside the
// including file.
std::string resolve(const std::string& header, const std::string& includer) {
    if (header.find('/') != std::string::npos)
        return header;
    std::string folder = folderOf(includer);
    return folder.empty() ? header : folder + "/" + header;
}

int lineOf(const std::optional<std::string>& text, std::string_view needle) {
    if (!text)
        return 0;
    auto at = text->find(needle);
    if (at == std::string::npos)
        return 0;
    return 1 + static_cast<int>(std::count(text->begin(), text->begin() + long(at), '\n'));
}

std::string joined(const std::set<std::string>& names) {
    std::string text;
    for (const auto& name : names)
        text += (text.empty() ? "" : " ") + name;
    return text.empty() ? "-" : text;
}

class Checker {
public:
    Checker(const std::vector<Library>& libraries, const SourceTree& tree)
        : libraries_(libraries), tree_(tree) {
        for (std::size_t i = 0; i < libraries.size(); ++i) {
            layer_[libraries[i].name] = i;
            byFolder_[libraries[i].folder] = &libraries[i];
        }
    }

    Report run() {
        for (std::size_t i = 0; i < libraries_.size(); ++i)
            checkLibrary(libraries_[i], i);
        return std::move(report_);
    }

private:
    void flag(std::string file, int line, std::string what) {
        for (const auto& known : report_.violations)
            if (known.file == file && known.line == line && known.what == what)
                return;
        report_.violations.push_back({std::move(file), line, std::move(what)});
    }

    std::string cmakeFile(const Library& library) const {
        return library.folder + "/CMakeLists.txt";
    }

    // The library itself and everything it depends on, directly or not.
    std::set<std::string> reach(const Library& library) const {
        std::set<std::string> reached{library.name};
        std::vector<std::string> pending(library.depends);
        while (!pending.empty()) {
            std::string name = pending.back();
            pending.pop_back();
            auto found = layer_.find(name);
            if (!reached.insert(name).second || found == layer_.end())
                continue;
            const auto& next = libraries_[found->second].depends;
            pending.insert(pending.end(), next.begin(), next.end());
        }
        return reached;
    }

    void checkOrder(const Library& library, std::size_t layer) {
        auto text = tree_.read(cmakeFile(library));
        for (const auto& dependency : library.depends) {
            auto found = layer_.find(dependency);
            if (found == layer_.end())
                flag(cmakeFile(library), lineOf(text, "DEPENDS"),
                     library.name + " depends on " + dependency + ", which is no library");
            else if (found->second >= layer)
                flag(cmakeFile(library), lineOf(text, "DEPENDS"),
                     library.name + " depends on " + dependency + ", a library of a layer above");
        }
    }

    // Which libraries the library's files include; flags those it may not.
    std::set<std::string> checkIncludes(const Library& library,
                                        const std::set<std::string>& allowed,
                                        std::size_t& fileCount) {
        std::set<std::string> used;
        auto files = tree_.filesIn(library.folder);
        fileCount = files.size();
        for (const auto& file : files) {
            auto text = tree_.read(file);
            for (const auto& include : includesOf(text.value_or(""))) {
                if (include.angled)
                    continue;
                auto owner = byFolder_.find(folderOf(resolve(include.header, file)));
                if (owner == byFolder_.end() || owner->second == &library)
                    continue;
                used.insert(owner->second->name);
                if (!allowed.count(owner->second->name))
                    flag(file, include.line,
                         library.name + " includes " + include.header + " of " +
                             owner->second->name + ", which it does not depend on");
            }
        }
        return used;
    }

    void checkPortable(const std::string& source, const std::string& path,
                       std::set<std::string>& visited) {
        if (!visited.insert(path).second)
            return;
        auto text = tree_.read(path);
        if (!text) {
            if (path == source)
                flag(path, 0, "portable source " + source + " is missing");
            return;
        }
        for (const auto& include : includesOf(*text)) {
            if (include.angled && isWindowsHeader(include.header))
                flag(path, include.line,
                     "portable source " + source + " reaches the Windows header <" +
                         include.header + ">");
            else if (!include.angled)
                checkPortable(source, resolve(include.header, path), visited);
        }
    }

    void checkLibrary(const Library& library, std::size_t layer) {
        checkOrder(library, layer);
        std::set<std::string> allowed = reach(library);
        std::size_t fileCount = 0;
        std::set<std::string> used = checkIncludes(library, allowed, fileCount);
        for (const auto& dependency : library.depends)
            if (!used.count(dependency))
                flag(cmakeFile(library), lineOf(tree_.read(cmakeFile(library)), "DEPENDS"),
                     library.name + " depends on " + dependency +
                         " but includes none of its headers");
        for (const auto& source : library.portable) {
            std::set<std::string> visited;
            std::string path = library.folder + "/" + source;
            checkPortable(path, path, visited);
        }
        allowed.erase(library.name);
        report_.checked.push_back(
            library.name + " (" + library.folder + "): " + std::to_string(fileCount) + " files, " +
            std::to_string(library.portable.size()) + " portable; may include " + joined(allowed) +
            "; includes " + joined(used));
    }

    const std::vector<Library>& libraries_;
    const SourceTree& tree_;
    std::map<std::string, std::size_t> layer_;
    std::map<std::string, const Library*> byFolder_;
    Report report_;
};

} // namespace

std::vector<Library> readLayers(std::string_view record) {
    std::vector<Library> libraries;
    for (auto line : split(record, '\n')) {
        if (words(line).empty())
            continue;
        auto parts = split(line, '|');
        auto head = words(parts[0]);
        if (parts.size() != 3 || head.size() != 2)
            throw std::runtime_error("not a library's record: " + std::string(line));
        libraries.push_back({head[0], head[1], words(parts[1]), words(parts[2])});
    }
    return libraries;
}

std::vector<Include> includesOf(std::string_view source) {
    std::vector<Include> includes;
    int number = 0;
    for (auto line : split(source, '\n')) {
        ++number;
        auto at = line.find_first_not_of(" \t");
        if (at == std::string_view::npos || line[at] != '#')
            continue;
        at = line.find_first_not_of(" \t", at + 1);
        if (at == std::string_view::npos || line.substr(at, 7) != "include")
            continue;
        at = line.find_first_not_of(" \t", at + 7);
        if (at == std::string_view::npos || (line[at] != '"' && line[at] != '<'))
            continue;
        char close = line[at] == '"' ? '"' : '>';
        auto end = line.find(close, at + 1);
        if (end != std::string_view::npos)
            includes.push_back(
                {number, std::string(line.substr(at + 1, end - at - 1)), close == '>'});
    }
    return includes;
}

bool isWindowsHeader(std::string_view header) {
    static const std::set<std::string> named{
        "basetsd.h",  "commctrl.h", "commdlg.h",  "dbghelp.h", "dlgs.h",  "guiddef.h",
        "imagehlp.h", "intsafe.h",  "mmsystem.h", "objbase.h", "ole2.h",  "oleauto.h",
        "richedit.h", "rpc.h",      "shlobj.h",   "strsafe.h", "tchar.h", "tlhelp32.h",
        "unknwn.h",   "usp10.h",    "uxtheme.h",  "wtypes.h",  "mmreg.h", "lmcons.h"};
    std::string name = lowerCase(header);
    auto endsWith = [&](std::string_view tail) {
        return name.size() >= tail.size() &&
               name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    return (name.starts_with("win") && endsWith(".h")) || endsWith("api.h") ||
           name.find("apiset") != std::string::npos || named.count(name) > 0;
}

Report checkLayers(const std::vector<Library>& libraries, const SourceTree& tree) {
    return Checker(libraries, tree).run();
}

} // namespace layering
