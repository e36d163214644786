// A hidden list of one directory's file names (or several directories'
// merged): it lists them on request, and shows the rows it is given.
#pragma once

#include "toolkit/files/DirectoryListing.h"
#include "toolkit/gui/ListBox.h"

#include <utility>

namespace tk {

class FileListBox : public ListBox {
public:
    FileListBox(Container& parent, Bounds bounds) : ListBox(parent, bounds) {}

    // Takes the directories and pattern of a setting made from directory();
    // update or adopt lists them.
    void setDirectory(DirectorySetting directory) { directory_ = std::move(directory); }

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
