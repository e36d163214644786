#include "ui/EditorText.h"

#include "toolkit/text/LineSplitter.h"

namespace ui {

using tk::TextEncoding;

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
    tk::MarkedText decoded = tk::decodeText(fileBytes);
    switch (decoded.encoding) {
    case TextEncoding::utf8:
        return {{decoded.encoding, true}, withCrLf(tk::escapeInvalidUtf8(decoded.text))};
    case TextEncoding::utf16le:
    case TextEncoding::utf16be:
        return {{decoded.encoding, true}, withCrLf(decoded.text)};
    default:
        return {{TextEncoding::none, tk::isUtf8(fileBytes)}, withCrLf(fileBytes)};
    }
}

std::string fileBytesOf(const EditorText& edited) {
    if (!edited.form.unicode)
        return edited.text;
    // UTF-16 files carry their lone surrogates as such, not as escapes.
    bool utf8 = edited.form.mark == TextEncoding::none || edited.form.mark == TextEncoding::utf8;
    return tk::encodeText(utf8 ? tk::unescapeInvalidUtf8(edited.text) : edited.text,
                          edited.form.mark);
}

} // namespace ui
