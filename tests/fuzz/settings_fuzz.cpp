// The settings file's whole-file parser, its per-key reading and writing and
// its Boolean rule on any bytes.
#include "toolkit/files/IniText.h"

#include "fuzz/FuzzCheck.h"
#include "support/AsciiUpperCase.h"
#include "support/ProfileWritten.h"

#include <string>

using testing_support::asciiUpperCase;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tk::IniText ini(std::string(fuzz_support::text(data, size)), asciiUpperCase);

    // A written file reads back as what was in memory: writing it again gives
    // the same text, and keys read the same (a text key and a Boolean one).
    const std::string written = ini.text();
    tk::IniText again(written, asciiUpperCase);
    FUZZ_CHECK(again.text() == written);
    for (const char* key : {"mameexe", "xp"}) {
        std::optional<std::string> value = ini.read("config", key);
        FUZZ_CHECK(again.read("CONFIG", key) == value);
        if (value)
            tk::parseProfileBool(*value, false);
    }

    // A written key is found by the next read, under any case of its names;
    // the writes kept beside the text read as the text written out reads.
    ini.write("Config", "MameExe", "C:\\mame\\mame.exe");
    ini.write("other", "xp", "0");
    ini.write("config", "xp=1", "2");
    FUZZ_CHECK(ini.read("CONFIG", "mameexe") == "C:\\mame\\mame.exe");
    tk::IniText writtenOut(ini.text(), asciiUpperCase);
    for (const char* section : {"config", "other"})
        for (const char* key : {"mameexe", "xp", "xp=1"})
            FUZZ_CHECK(ini.read(section, key) == writtenOut.read(section, key));
    tk::parseProfileBool(std::string(fuzz_support::text(data, size)), true);

    // A per-key value never holds the blanks or enclosing quotes it drops.
    const std::string_view text = fuzz_support::text(data, size);
    if (auto value = tk::profileValue(text, "config", "xp", asciiUpperCase);
        value && !value->empty()) {
        FUZZ_CHECK(value->front() != ' ' && value->back() != ' ');
        FUZZ_CHECK(value->find_first_of("\r\n") == std::string::npos);
    }

    // A per-key write is what the next per-key read finds.
    const std::string perKeyWritten =
        testing_support::profileWritten(text, "config", "xp", "1", asciiUpperCase);
    FUZZ_CHECK(tk::profileValue(perKeyWritten, "CONFIG", "XP", asciiUpperCase) == "1");
    return 0;
}
