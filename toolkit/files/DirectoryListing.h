// The work of a file list box: which directories and name pattern it shows,
// set from a path text, and the sorted list of their ordinary files.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tk {

// A path text whose last component holds "*" or "?" names a directory and,
// in that component, a name pattern; otherwise it is all directory.
struct FolderAndPattern {
    std::string folder;
    std::optional<std::string> pattern;
};
FolderAndPattern splitNamePattern(const std::string& text);

// The directories and name pattern of a file list, as its path setter leaves
// them. At creation it shows the folder the program was started in, with the
// pattern "*.*". Nothing here changes the process's current directory.
class DirectorySetting {
public:
    DirectorySetting();

    // A directory that can be listed, absolute or relative to the shown one,
    // becomes the shown one (as a full path); otherwise nothing changes and
    // the result is false.
    // A trailing name pattern is kept for this and later listings either way.
    [[nodiscard]] bool setPath(const std::string& text);

    // Several directories listed together, each relative one taken against
    // the directory shown before: those that can be listed are shown. False,
    // with nothing changed but the pattern, when none can be.
    [[nodiscard]] bool setPaths(const std::vector<std::string>& texts);

    const std::vector<std::string>& folders() const { return folders_; }
    const std::string& pattern() const { return pattern_; }

private:
    std::vector<std::string> folders_;
    std::string pattern_ = "*.*";
};

// The names (without path, in UTF-8) of the ordinary files of the folders that match
// the pattern: no directories, hidden or system files. A name found in several
// folders is listed once, from the first. Sorted as a sorted list box sorts:
// ascending without regard to case, in the user's locale. When the event
// `cancel` is set, the listing stops after the batch of names it is reading
// (a folder on a slow share takes long) and returns nothing.
std::vector<std::string> listFiles(const std::vector<std::string>& folders,
                                   const std::string& pattern, void* cancel = nullptr);

} // namespace tk
