// A hidden list of one directory's file names (or several directories'
// merged): it lists them on request, and shows the rows it is given.
// Setting a directory that cannot be entered leaves the list's directory as
// it was.
#pragma once

#include "toolkit/files/DirectoryListing.h"
#include "toolkit/gui/ListBox.h"

namespace tk {

class FileListBox : public ListBox {
public:
    FileListBox(Container& parent, Bounds bounds) : ListBox(parent, bounds) {}

    [[nodiscard]] bool setDirectory(const std::string& path) { return directory_.setPath(path); }
    [[nodiscard]] bool setDirectories(const std::vector<std::string>& paths) {
        return directory_.setPaths(paths);
    }

    // The files of the directories as they are now, also when the
    // directories did not change.
    std::vector<std::string> listed() const {
        return listFiles(directory_.folders(), directory_.pattern());
    }
    const DirectorySetting& directory() const { return directory_; }

private:
    DirectorySetting directory_;
};

} // namespace tk
