#include "toolkit/files/IniText.h"

#include "support/AsciiUpperCase.h"

#include <gtest/gtest.h>

#include <string>

namespace {

tk::IniText parsed(const std::string& text) {
    return tk::IniText(text, testing_support::asciiUpperCase);
}

std::string valueOf(const tk::IniText& ini, const std::string& section, const std::string& key) {
    return ini.read(section, key).value_or("<none>");
}

TEST(IniText, EveryLineEndSplitsAndTheWrittenTextDropsWhatTheReadingSkipped) {
    tk::IniText ini = parsed(
        "stray=before\r\n; comment\r\n\r\n  [ config ]  \r\n\tmameexe =  C:\\mame\\mame.exe \n"
        ";x\r  parameters\t=\t-window\r\r\njunk line\n title = caf\351 \n[other]\nkey=v");
    EXPECT_EQ(valueOf(ini, "config", "mameexe"), "C:\\mame\\mame.exe");
    EXPECT_EQ(valueOf(ini, "config", "parameters"), "-window");
    EXPECT_EQ(valueOf(ini, "config", "stray"), "<none>");
    EXPECT_EQ(valueOf(ini, "Other", "KEY"), "v");
    EXPECT_EQ(valueOf(ini, "config", "title"), "caf\351");

    ini.write("config", "parameters", "-nosound");
    EXPECT_EQ(ini.text(), "[config]\r\nmameexe=C:\\mame\\mame.exe\r\nparameters=-nosound\r\n"
                          "junk line\r\ntitle=caf\351\r\n\r\n[other]\r\nkey=v\r\n\r\n");

    for (std::string end : {"\n", "\r"}) {
        tk::IniText other = parsed("[config]" + end + "xp=1" + end + "close=0" + end);
        EXPECT_EQ(valueOf(other, "config", "xp") + valueOf(other, "config", "close"), "10")
            << "line end " << int(end[0]);
    }
}

TEST(ProfileBool, NonZeroIntegersAreTrueAndAnythingElseIsTheFallback) {
    for (const char* text : {"1", "2", "-1", "0x1", "0X1f", "$10", "x10", "X0f", " 7", "+3",
                             "-2147483648", "$FFFFFFFF"})
        EXPECT_TRUE(tk::parseProfileBool(text, false)) << text;
    for (const char* text : {"0", "-0", "0x0", "$0", "  0"})
        EXPECT_FALSE(tk::parseProfileBool(text, true)) << text;
    for (const char* text : {"true", "yes", "", " ", "1 ", "1x", "0x", "$", "-", "+-1", "0b1",
                             "2147483648", "-2147483649", "$100000000", "\t1", "1.0"}) {
        EXPECT_FALSE(tk::parseProfileBool(text, false)) << text;
        EXPECT_TRUE(tk::parseProfileBool(text, true)) << text;
    }
}

} // namespace
