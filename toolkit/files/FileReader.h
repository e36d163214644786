// The one reader of the files the program reads whole or line by line (its
// settings, MAME's ini and game list, pictures). Files are opened sharing
// read, write and delete: a file another program holds open, even for
// writing, still reads, and holding it never blocks that program's replace
// or delete. A file still being written reads as it stands.
#pragma once

#include "toolkit/base/Handles.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <string>

namespace tk {

// A file open for reading from its start. Failures raise InOutError with the
// system's error number.
class InputFile {
public:
    explicit InputFile(const std::string& path);

    // Reads up to `size` bytes into `buffer`; 0 at the end of the file.
    std::size_t read(char* buffer, std::size_t size);
    // What is left of the file, but no more than `limit` bytes.
    std::string readAll(std::size_t limit = std::numeric_limits<std::size_t>::max());

private:
    FileHandle file_;
};

// The file's bytes; raises "Cannot open file %s" when it cannot be opened or
// read, missing or not.
std::string readWholeFile(const std::string& path);

// As readWholeFile, but nothing when there is no file or folder at the path.
std::optional<std::string> readFileIfPresent(const std::string& path);

} // namespace tk
