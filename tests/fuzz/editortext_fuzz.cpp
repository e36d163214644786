// Any bytes of a configuration file opened in the editor: the memo's text has
// only CR LF line breaks, converting it again changes nothing, reading back
// what is written gives the same text in the same form, and apart from the
// line breaks the bytes of a file that is not UTF-16 come back unchanged,
// whether it is well-formed UTF-8, marked UTF-8 with stray bytes, or neither.
#include "ui/EditorText.h"

#include "fuzz/FuzzCheck.h"

#include <string>
#include <string_view>

namespace {

bool onlyCrLfBreaks(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes = fuzz_support::text(data, size);
    ui::EditorText edited = ui::editorTextOf(bytes);
    FUZZ_CHECK(onlyCrLfBreaks(edited.text));
    FUZZ_CHECK(ui::withCrLf(edited.text) == edited.text);
    std::string written = ui::fileBytesOf(edited);
    ui::EditorText again = ui::editorTextOf(written);
    FUZZ_CHECK(again.text == edited.text);
    FUZZ_CHECK(again.form.mark == edited.form.mark && again.form.unicode == edited.form.unicode);
    if (edited.form.mark == tk::TextEncoding::utf8)
        FUZZ_CHECK(written == "\xEF\xBB\xBF" + ui::withCrLf(bytes.substr(3)));
    if (edited.form.mark == tk::TextEncoding::none)
        FUZZ_CHECK(written == ui::withCrLf(bytes));
    if (edited.form.unicode)
        FUZZ_CHECK(tk::utf16ToUtf8(tk::utf8ToUtf16(edited.text)) == edited.text);
    return 0;
}
