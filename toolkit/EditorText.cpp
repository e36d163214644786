#include "toolkit/EditorText.h"

namespace tk {

namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";

} // namespace

std::string withCrLf(std::string_view text) {
    std::string converted;
    converted.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            converted += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            converted += c;
        }
    }
    return converted;
}

EditorText editorTextOf(std::string_view fileBytes) {
    EditorText edited;
    if (fileBytes.starts_with(utf8Mark)) {
        edited.mark = utf8Mark;
        fileBytes.remove_prefix(utf8Mark.size());
    }
    edited.text = withCrLf(fileBytes);
    return edited;
}

std::string fileBytesOf(const EditorText& edited) {
    return edited.mark + edited.text;
}

} // namespace tk
