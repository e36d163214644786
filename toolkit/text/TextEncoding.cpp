#include "toolkit/text/TextEncoding.h"

#include <cstdint>

namespace tk {
namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16leMark = "\xFF\xFE";
constexpr std::string_view utf16beMark = "\xFE\xFF";

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

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    auto unitAt = [&](std::size_t at) -> std::uint32_t {
        auto first = static_cast<unsigned char>(bytes[at]);
        auto second = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? first << 8 | second : second << 8 | first;
    };
    std::string out;
    out.reserve(bytes.size());
    const std::size_t end = bytes.size() & ~std::size_t(1);
    for (std::size_t at = 0; at < end; at += 2) {
        std::uint32_t unit = unitAt(at);
        if (isHighSurrogate(unit) && at + 2 < end && isLowSurrogate(unitAt(at + 2))) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00);
            at += 2;
        }
        appendUtf8(out, unit);
    }
    return out;
}

// The next character of UTF-8 text (a lone surrogate included); a byte that
// starts no well-formed sequence stands for itself.
std::uint32_t nextCharacter(std::string_view text, std::size_t& at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    std::uint32_t lead = byte(at);
    int length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    if (lead < 0x80 || length == 1 || at + length > text.size()) {
        ++at;
        return lead;
    }
    std::uint32_t code = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return lead;
        }
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    if (code > 0x10FFFF) {
        ++at;
        return lead;
    }
    at += length;
    return code;
}

std::string utf8ToUtf16(std::string_view text, bool bigEndian) {
    std::string out;
    out.reserve(text.size() * 2);
    auto unit = [&](std::uint32_t value) {
        char high = static_cast<char>(value >> 8), low = static_cast<char>(value & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t code = nextCharacter(text, at);
        if (code >= 0x10000) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
    }
    return out;
}

} // namespace

TextEncoding encodingOf(std::string_view bytes) {
    for (TextEncoding encoding : {TextEncoding::utf8, TextEncoding::utf16le, TextEncoding::utf16be})
        if (bytes.substr(0, markOf(encoding).size()) == markOf(encoding))
            return encoding;
    return TextEncoding::none;
}

MarkedText decodeText(std::string_view bytes) {
    TextEncoding encoding = encodingOf(bytes);
    std::string_view body = bytes.substr(markOf(encoding).size());
    switch (encoding) {
    case TextEncoding::utf16le:
        return {encoding, utf16ToUtf8(body, false)};
    case TextEncoding::utf16be:
        return {encoding, utf16ToUtf8(body, true)};
    default:
        return {encoding, std::string(body)};
    }
}

std::string encodeText(std::string_view text, TextEncoding encoding) {
    std::string out(markOf(encoding));
    switch (encoding) {
    case TextEncoding::utf16le:
        return out + utf8ToUtf16(text, false);
    case TextEncoding::utf16be:
        return out + utf8ToUtf16(text, true);
    default:
        return out + std::string(text);
    }
}

} // namespace tk
