#include "toolkit/files/PathText.h"

#include "toolkit/text/TextEncoding.h"

#include <string_view>

namespace tk {

namespace {

// What ends every temporary file name of ours: a tag no one gives a file of
// their own, so that a file that bears it is provably a leftover of ours.
constexpr std::string_view temporaryTag = ".~writing-8d2e4a1c";

// The most UTF-16 units a file system takes in one name.
constexpr size_t longestName = 255;

} // namespace

std::string folderPart(const std::string& path) {
    auto at = path.find_last_of("\\:");
    if (at == std::string::npos)
        return {};
    // A backslash right after the drive's colon (or a leading one) is the root
    // itself and stays; any other last backslash is dropped.
    bool rootSeparator = at == 0 || path[at] == ':' || path[at - 1] == ':' || path[at - 1] == '\\';
    return path.substr(0, rootSeparator ? at + 1 : at);
}

std::string baseName(const std::string& name) {
    auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string changeExtension(const std::string& path, const std::string& extension) {
    auto dot = path.rfind('.');
    auto separator = path.find_last_of("\\:");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return path + extension;
    return path.substr(0, dot) + extension;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

std::string temporarySibling(const std::string& path) {
    size_t name = path.find_last_of("\\:") + 1;
    // A name too long to take the tag loses its last characters whole, all
    // bytes of their UTF-8 form.
    size_t end = path.size();
    while (utf8ToUtf16(std::string_view(path).substr(name, end - name)).size() +
               temporaryTag.size() >
           longestName) {
        --end;
        while (end > name && (static_cast<unsigned char>(path[end]) & 0xC0) == 0x80)
            --end;
    }
    return path.substr(0, end) + std::string(temporaryTag);
}

std::string longPathForm(const std::string& path) {
    if (path.rfind("\\\\?\\", 0) == 0 || path.rfind("\\\\.\\", 0) == 0)
        return path;
    if (path.rfind("\\\\", 0) == 0)
        return "\\\\?\\UNC\\" + path.substr(2);
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\')
        return "\\\\?\\" + path;
    return path;
}

std::string resolvedPath(const std::string& base, const std::string& path) {
    bool hasDrive = path.size() >= 2 && path[1] == ':';
    bool rooted = !path.empty() && path.front() == '\\';
    if (hasDrive || path.rfind("\\\\", 0) == 0)
        return path;
    if (!rooted)
        return joinPath(base, path);
    if (base.size() >= 2 && base[1] == ':')
        return base.substr(0, 2) + path;
    return path;
}

} // namespace tk
