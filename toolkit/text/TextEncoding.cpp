#include "toolkit/text/TextEncoding.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace tk {
namespace {

constexpr std::string_view utf16leMark = "\xFF\xFE";
constexpr std::string_view utf16beMark = "\xFE\xFF";
// A byte that is no UTF-8 stands for the lone surrogate this far above it.
constexpr std::uint32_t escapeBase = 0xDC00;

std::string_view markOf(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::utf8:
        return utf8Mark;
    case TextEncoding::utf16le:
        return utf16leMark;
    case TextEncoding::utf16be:
        return utf16beMark;
    default:
        return {};
    }
}

void appendUtf8(std::string& out, std::uint32_t code) {
    auto byte = [&](std::uint32_t value) { out += static_cast<char>(value); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | code >> 6);
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | code >> 12);
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | code >> 18);
        byte(0x80 | (code >> 12 & 0x3F));
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

bool isHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}
bool isLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

// Calls `onCode` for each character of UTF-16 bytes: a pair of halves as
// one, a unit that pairs into none as its own value.
template <typename OnCode>
void forEachUtf16Code(std::string_view bytes, bool bigEndian, OnCode onCode) {
    auto unitAt = [&](std::size_t at) -> std::uint32_t {
        auto first = static_cast<unsigned char>(bytes[at]);
        auto second = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? first << 8 | second : second << 8 | first;
    };
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        std::uint32_t unit = unitAt(at);
        if (isHighSurrogate(unit) && at + 3 < bytes.size() && isLowSurrogate(unitAt(at + 2))) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00);
            at += 2;
        }
        onCode(unit);
    }
}

bool isUtf16(TextEncoding encoding) {
    return encoding == TextEncoding::utf16le || encoding == TextEncoding::utf16be;
}

std::size_t utf8Length(std::uint32_t code) {
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

// Straight from the bytes to UTF-8, sized before it is filled: a big file
// costs no third copy on the way, nor a string that doubles as it grows.
std::string utf16BytesToUtf8(std::string_view bytes, bool bigEndian) {
    std::size_t length = 0;
    forEachUtf16Code(bytes, bigEndian, [&](std::uint32_t code) { length += utf8Length(code); });
    std::string out;
    out.reserve(length);
    forEachUtf16Code(bytes, bigEndian, [&](std::uint32_t code) { appendUtf8(out, code); });
    return out;
}

// The length of the sequence at `at` that is one character, 0 when none
// starts there. The second byte's range rules out overlong forms and values
// beyond U+10FFFF, and surrogates unless `halves` lets a lone one through in
// its three-byte form: no byte of a sequence ever reads as ASCII, a path's
// backslash among them.
std::size_t sequenceLength(std::string_view text, std::size_t at, bool halves) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = lead >= 0xC2 && lead < 0xE0   ? 2
                         : lead >= 0xE0 && lead < 0xF0 ? 3
                         : lead >= 0xF0 && lead < 0xF5 ? 4
                                                       : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    unsigned second = byte(at + 1);
    unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    unsigned high = lead == 0xED && !halves ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    return length;
}

// The next character of UTF-8 text, a lone surrogate included; a byte that
// starts no such sequence stands for the character of its value.
std::uint32_t nextCharacter(std::string_view text, std::size_t& at) {
    std::size_t length = sequenceLength(text, at, true);
    std::uint32_t code = static_cast<unsigned char>(text[at]);
    if (length > 1)
        code &= 0x7F >> length;
    for (std::size_t i = 1; i < length; ++i)
        code = code << 6 | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    at += length == 0 ? 1 : length;
    return code;
}

std::size_t utf16Length(std::uint32_t code) {
    return code >= 0x10000 ? 2 : 1;
}

// Puts the character's units at `out` and returns where they end.
char* putUtf16(char* out, std::uint32_t code, bool bigEndian) {
    auto unit = [&](std::uint32_t value) {
        char high = static_cast<char>(value >> 8), low = static_cast<char>(value & 0xFF);
        *out++ = bigEndian ? high : low;
        *out++ = bigEndian ? low : high;
    };
    if (code >= 0x10000) {
        unit(0xD800 + ((code - 0x10000) >> 10));
        unit(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
        unit(code);
    }
    return out;
}

template <typename OnCode> void forEachUtf8Code(std::string_view text, OnCode onCode) {
    for (std::size_t at = 0; at < text.size();)
        onCode(nextCharacter(text, at));
}

} // namespace

TextEncoding encodingOf(std::string_view bytes) {
    for (TextEncoding encoding : {TextEncoding::utf8, TextEncoding::utf16le, TextEncoding::utf16be})
        if (bytes.substr(0, markOf(encoding).size()) == markOf(encoding))
            return encoding;
    return TextEncoding::none;
}

TextEncoding unmarkedUtf16Of(std::string_view bytes) {
    for (TextEncoding encoding : {TextEncoding::utf16le, TextEncoding::utf16be}) {
        const bool bigEndian = encoding == TextEncoding::utf16be;
        for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
            const char nul = bytes[at + !bigEndian], letter = bytes[at + bigEndian];
            if (nul != '\0' || letter == '\0' || static_cast<unsigned char>(letter) >= 0x80)
                break;
            if (letter == '\r' || letter == '\n' || at + 3 >= bytes.size())
                return encoding;
        }
    }
    return TextEncoding::none;
}

MarkedText decodeText(std::string_view bytes) {
    TextEncoding encoding = encodingOf(bytes);
    std::string_view body = bytes.substr(markOf(encoding).size());
    if (isUtf16(encoding))
        return {encoding, utf16BytesToUtf8(body, encoding == TextEncoding::utf16be)};
    return {encoding, std::string(body)};
}

MarkedText decodeTextOrUnmarkedUtf16(std::string bytes) {
    TextEncoding encoding = encodingOf(bytes);
    if (encoding == TextEncoding::none && isUtf16(unmarkedUtf16Of(bytes))) {
        encoding = unmarkedUtf16Of(bytes);
        return {encoding, utf16BytesToUtf8(bytes, encoding == TextEncoding::utf16be)};
    }
    if (isUtf16(encoding))
        return decodeText(bytes);
    // The text is the bytes, taken over rather than copied.
    bytes.erase(0, markOf(encoding).size());
    return {encoding, std::move(bytes)};
}

std::string encodeText(std::string_view text, TextEncoding encoding) {
    return encodeText({text}, encoding);
}

std::string encodeText(std::initializer_list<std::string_view> pieces, TextEncoding encoding) {
    const bool utf16 = isUtf16(encoding);
    std::size_t length = markOf(encoding).size();
    for (std::string_view piece : pieces) {
        if (!utf16)
            length += piece.size();
        else
            forEachUtf8Code(piece, [&](std::uint32_t code) { length += 2 * utf16Length(code); });
    }
    std::string out(length, '\0');
    char* at = std::copy(markOf(encoding).begin(), markOf(encoding).end(), out.data());
    for (std::string_view piece : pieces) {
        if (!utf16)
            at = std::copy(piece.begin(), piece.end(), at);
        else
            forEachUtf8Code(piece, [&](std::uint32_t code) {
                at = putUtf16(at, code, encoding == TextEncoding::utf16be);
            });
    }
    return out;
}

bool isUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t length = sequenceLength(bytes, at, false);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string escapeInvalidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t length = sequenceLength(bytes, at, false);
        if (length == 0) {
            appendUtf8(out, escapeBase + static_cast<unsigned char>(bytes[at]));
            ++at;
        } else {
            out.append(bytes.substr(at, length));
            at += length;
        }
    }
    return out;
}

std::string unescapeInvalidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::size_t start = at;
        std::uint32_t code = nextCharacter(text, at);
        bool escape = at - start == 3 && code >= escapeBase + 0x80 && code <= escapeBase + 0xFF;
        if (escape)
            out += static_cast<char>(code - escapeBase);
        else
            out.append(text.substr(start, at - start));
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t code = nextCharacter(text, at);
        if (code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

std::string_view firstCharacter(std::string_view text) {
    std::size_t at = 0;
    if (!text.empty())
        nextCharacter(text, at);
    return text.substr(0, at);
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        std::uint32_t unit = text[at];
        if (isHighSurrogate(unit) && at + 1 < text.size() && isLowSurrogate(text[at + 1])) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (text[at + 1] - 0xDC00);
            ++at;
        }
        appendUtf8(out, unit);
    }
    return out;
}

} // namespace tk
