// A hidden list of one directory's file names (or several directories'
// merged), re-read on request.
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

    // Lists the directories again, also when they did not change. The list
    // is never on the screen: its rows go in when the thread is idle.
    void update() {
        files_ = listFiles(directory_.folders(), directory_.pattern());
        assignWhenIdle(files_);
    }
    // Takes the files of its directory as listed elsewhere, as update would.
    void adopt(std::vector<std::string> files) {
        files_ = std::move(files);
        assignWhenIdle(files_);
    }
    // Lists nothing, whatever the directory.
    void empty() {
        files_.clear();
        clear();
    }
    const DirectorySetting& directory() const { return directory_; }
    // The rows, as listed by the last update.
    const std::vector<std::string>& files() const { return files_; }

private:
    DirectorySetting directory_;
    std::vector<std::string> files_;
};

} // namespace tk
