// Any bytes of a configuration file opened in the editor: the memo's text has
// only CR LF line breaks, converting it again changes nothing, and the bytes
// written back are the mark the file had and that text.
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
    FUZZ_CHECK(written.starts_with(edited.mark));
    FUZZ_CHECK(bytes.starts_with(edited.mark));
    FUZZ_CHECK(ui::editorTextOf(written).text == edited.text);
    return 0;
}
