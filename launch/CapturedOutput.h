// What a child says on its standard error, kept in a temporary file of its
// own while it runs and read back once it has ended: no thread, and a child
// that says much never waits for a reader. The file is gone once closed.
#pragma once

#include "toolkit/base/Handles.h"

#include <string>

namespace launch {

class CapturedOutput {
public:
    // In the system's folder for temporary files; without a handle when none
    // can be made there (the child then says its words to nobody).
    CapturedOutput();

    // Inheritable, for the child's start-up information; null without a file.
    HANDLE handle() const { return file_.get(); }
    // The last part of what was written, from the start of a line (as
    // OutputTail keeps it).
    std::string tail() const;

private:
    tk::FileHandle file_;
};

} // namespace launch
