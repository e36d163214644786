#include "toolkit/files/PathText.h"

namespace tk {

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
    // The last character goes whole, all bytes of its UTF-8 form: one or two
    // UTF-16 units, at least as many as the "~" takes.
    size_t last = path.size();
    while (last > name + 1 && (static_cast<unsigned char>(path[last - 1]) & 0xC0) == 0x80)
        --last;
    last = last > name ? last - 1 : name;
    return path.substr(0, name) + "~" + path.substr(name, last - name);
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
