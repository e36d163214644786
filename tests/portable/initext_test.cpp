#include "toolkit/files/IniText.h"

#include "support/AsciiUpperCase.h"
#include "support/ProfileWritten.h"

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

// The writes are kept beside the text until it is written out: reads see
// them as the written text's reads do, whatever line or section they hit.
TEST(IniText, WritesReadAsTheWrittenTextReads) {
    tk::IniText ini = parsed("[a]\nk=1\nk = 2\n[b]\nk=3\n[A]\nk=4\nj\n");
    ini.write("a", "K", "5");   // the last "a"'s last "k"
    ini.write("a", "k=x", "6"); // a key with "=" matches no line: added
    ini.write("a", "k", "7");   // now the added line is the last "k"
    ini.write("new", "n", "8"); // a section the text lacks
    ini.write("NEW", "n", "9");
    ini.write("b", "other", "0"); // added at the section's end
    const std::string written = "[a]\r\nk=1\r\nk=2\r\n\r\n[b]\r\nk=3\r\nother=0\r\n\r\n"
                                "[A]\r\nK=5\r\nj\r\nk=7\r\n\r\n[new]\r\nn=9\r\n\r\n";
    EXPECT_EQ(ini.text(), written);
    const tk::IniText again = parsed(written);
    for (const char* section : {"a", "b", "new", "none"})
        for (const char* key : {"k", "K", "n", "j", "other", "k=x"})
            EXPECT_EQ(valueOf(ini, section, key), valueOf(again, section, key))
                << section << " " << key;
    EXPECT_EQ(valueOf(ini, "a", "k"), "7");
    EXPECT_EQ(ini.source(), "[a]\nk=1\nk = 2\n[b]\nk=3\n[A]\nk=4\nj\n");
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

// A per-key write changes the one line the per-key read takes, or adds one
// where the platform's write adds it; every other byte stays.
TEST(ProfileWrite, ChangesOnlyTheLineThePerKeyReadTakes) {
    struct Case {
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    };
    const Case cases[] = {
        {"; kept\r\n[Config]\r\n  XP  =  ' 1 '  \r\nclose=0\r\n", "config", "xp", "0",
         "; kept\r\n[Config]\r\nXP=0\r\nclose=0\r\n"},
        {"[config]\r\n;xp=5\r\nxp\r\nxp=2\r\nxp=3\r\n", "CONFIG", "Xp", "1",
         "[config]\r\n;xp=5\r\nxp=1\r\nxp=2\r\nxp=3\r\n"},
        {"[config]\r\nclose=1\r\n\r\n[other]\r\nxp=9\r\n[config]\r\nxp=3\r\n", "config", "xp", "1",
         "[config]\r\nclose=1\r\nxp=1\r\n\r\n[other]\r\nxp=9\r\n[config]\r\nxp=3\r\n"},
        {"xp=7\n [ config ] \n\nclose=1\n", " config", "xp", "1",
         "xp=7\n [ config ] \n\nclose=1\nxp=1\r\n"},
        {"[config\nxp=0\n[con]fig]\nxp=5\n", "config", "xp", "1",
         "[config\nxp=1\r\n[con]fig]\nxp=5\n"},
        {"[other]\nk=v\n[con]fig]\nxp=5", "CON", "xp", "1", "[other]\nk=v\n[con]fig]\nxp=1\r\n"},
        {"[config]", "config", "Skin", "", "[config]\r\nSkin=\r\n"},
        {"; comment\r[other]\rk=v", "config", "Skin", "C:\\s.bmp",
         "; comment\r[other]\rk=v\r\n[config]\r\nSkin=C:\\s.bmp\r\n"},
        {"", "config", "mamestamp", "123 456", "[config]\r\nmamestamp=123 456\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        const std::string after = testing_support::profileWritten(
            c.before, c.section, c.key, c.value, testing_support::asciiUpperCase);
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(tk::profileValue(after, c.section, c.key, testing_support::asciiUpperCase),
                  c.value);
    }
}

} // namespace
