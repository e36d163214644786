#include "ui/EditorText.h"

#include "toolkit/text/LineSplitter.h"

namespace ui {

namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";

} // namespace

std::string withCrLf(std::string_view text) {
    std::string converted;
    converted.reserve(text.size() + text.size() / 16);
    std::vector<std::string_view> lines = tk::splitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            converted += "\r\n";
        converted += lines[i];
    }
    if (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        converted += "\r\n";
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

} // namespace ui
