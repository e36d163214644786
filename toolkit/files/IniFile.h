// Whole-file access to an INI file: read whole on opening, looked up and
// changed in memory, and written back whole only when asked, in the encoding
// the file had (a byte-order mark names it). A file without a mark is in the
// system's code page, unless it is beyond doubt UTF-16 (see
// tk::unmarkedUtf16Of): such a file is read as UTF-16 and written back with
// its mark, never with code-page lines among its own. A value the code page
// cannot spell turns a code-page file into UTF-16 LE with its mark, every key
// kept. The file's text is held once, as read. The write-back applies the changes
// to the file as it is at that moment, so that what another copy of the
// program wrote since the opening is kept. Names and values are UTF-8.
#pragma once

#include "toolkit/files/IniText.h"
#include "toolkit/text/TextEncoding.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

class IniFile {
public:
    // A missing file reads as empty; one that exists but cannot be read
    // raises "Cannot open file %s".
    explicit IniFile(std::string path);
    // The file of `path` as if its content were `file`, without reading it.
    IniFile(std::string path, MarkedText file);

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // The same file read as the platform's private-profile functions read it
    // (see profileValue), so that one reading serves both ways of access.
    std::string profileString(const std::string& section, const std::string& key,
                              const std::string& fallback) const;
    // The same, nothing for a key that is not there.
    std::optional<std::string> profileString(const std::string& section,
                                             const std::string& key) const;
    void writeString(const std::string& section, const std::string& key, const std::string& value);

    // Replaces the file with its current content and this object's writes at
    // once; raises "Cannot create file %s" and leaves the old file as it was
    // when that fails.
    void updateFile();

private:
    struct Write {
        std::string section, key, value;
    };

    std::string toFile(const std::string& text) const;
    std::string fromFile(const std::string& text) const;
    void becomeUnicode();

    std::string path_;
    TextEncoding encoding_;
    IniText content_; // its source, as read, serves the private-profile rules
    std::vector<Write> writes_;
};

// The bytes of an INI file with one key written by the per-key rules (see
// profileEdit), every other line kept. A file without a mark stays in the
// code page while the names and the value fit it, and becomes UTF-16 LE with
// its mark, every line kept, when one does not; UTF-16 without a mark gets
// its mark. Takes the bytes over: with the result, at most two copies of the
// file are held at any moment.
std::string withProfileString(std::string bytes, const std::string& section, const std::string& key,
                              const std::string& value);

} // namespace tk
