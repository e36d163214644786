// The program's settings by name: keston.ini read once into memory, each key
// read by the rules of the access that owns it (whole-file or per-key), and
// each key written the way it always was.
#pragma once

#include "toolkit/files/IniFile.h"

#include <string>

namespace settings {

class ProgramSettings {
public:
    // Reads keston.ini in the program folder. A missing file (or a folder in
    // its place) reads as empty; one that exists but cannot be read raises
    // "Cannot open file %s".
    static ProgramSettings read();

    bool fileExists() const { return exists_; }

    // Whole-file values. `fallback` is what a missing key gives.
    std::string mameExe(const std::string& fallback = "") const;
    std::string parameters() const;
    // Per-key values. Without an `xp` key: whether the system lacks
    // command.com, the interpreter an unticked box runs.
    bool xp() const;
    bool closeAfterPlaying() const;
    // The skin picture's path; empty for the window design's own skin.
    std::string skin() const;
    bool credits() const;
    std::string mameStamp() const;

    // One whole-file write-back of both, replacing the file at once.
    static void storeMame(const std::string& mameExe, const std::string& parameters);
    // Per-key writes, each of its own key; a refused write raises "Unable to
    // write to %s".
    static void storeXp(bool xp);
    static void storeCloseAfterPlaying(bool close);
    static void storeSkin(const std::string& skin);
    static void storeMameStamp(const std::string& stamp);

private:
    ProgramSettings(tk::IniFile file, bool exists) : file_(std::move(file)), exists_(exists) {}

    bool perKeyBool(const char* key, bool fallback) const;

    tk::IniFile file_;
    bool exists_;
};

} // namespace settings
