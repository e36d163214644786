#include "toolkit/EditorText.h"

#include "toolkit/LineSplitter.h"

namespace tk {

std::string withCrLf(std::string_view text) {
    std::string converted;
    converted.reserve(text.size() + text.size() / 16);
    std::vector<std::string_view> lines = splitLines(text);
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
    MarkedText decoded = decodeText(fileBytes);
    switch (decoded.encoding) {
    case TextEncoding::utf8:
        return {{decoded.encoding, true}, withCrLf(escapeInvalidUtf8(decoded.text))};
    case TextEncoding::utf16le:
    case TextEncoding::utf16be:
        return {{decoded.encoding, true}, withCrLf(decoded.text)};
    default:
        return {{TextEncoding::none, isUtf8(fileBytes)}, withCrLf(fileBytes)};
    }
}

std::string fileBytesOf(const EditorText& edited) {
    if (!edited.form.unicode)
        return edited.text;
    // UTF-16 files carry their lone surrogates as such, not as escapes.
    bool utf8 = edited.form.mark == TextEncoding::none || edited.form.mark == TextEncoding::utf8;
    return encodeText(utf8 ? unescapeInvalidUtf8(edited.text) : edited.text, edited.form.mark);
}

} // namespace tk
