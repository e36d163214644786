// The conversion edge: the system converts the code page's side, the
// portable conversion the UTF-8 side, whose rules hold through both.
#include "toolkit/text/CodePage.h"

#include <gtest/gtest.h>

// A name from the system may hold a lone surrogate. The system's own UTF-8
// conversion makes each one U+FFFD, which would make two such names one.
TEST(CodePage, UpperCaseKeepsALoneSurrogateOfAName) {
    const std::string high = tk::wideToUtf8(L"caf\u00E9\xD800.ini");
    const std::string low = tk::wideToUtf8(L"caf\u00E9\xDC00.ini");
    EXPECT_EQ(tk::utf8UpperCase(high), tk::wideToUtf8(L"CAF\u00C9\xD800.INI"));
    EXPECT_EQ(tk::utf8UpperCase(low), tk::wideToUtf8(L"CAF\u00C9\xDC00.INI"));
}
