#include "toolkit/text/CodePage.h"

#include "toolkit/text/TextEncoding.h"

#include <windows.h>

namespace tk {
namespace {

// The system converts the code page's side only: every UTF-8 conversion is
// the portable one of TextEncoding.h, so a name keeps its lone surrogates and
// every part of the program decodes the same bytes to the same characters.
std::wstring ansiToWide(std::string_view text) {
    if (text.empty())
        return {};
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string wideToAnsi(std::wstring_view wide) {
    if (wide.empty())
        return {};
    int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(length, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), text.data(), length, nullptr,
                        nullptr);
    return text;
}

// Simple (not linguistic) upper case, the mapping the system's own
// case-insensitive name comparisons use.
std::wstring upperCase(std::wstring wide) {
    if (!wide.empty())
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), int(wide.size()), wide.data(),
                     int(wide.size()));
    return wide;
}

// A piece of code-page text of about `size` bytes, cut after
// a byte below 0x40: no double-byte code page takes one for the second byte
// of a character, so the cut splits none.
std::string_view pieceOf(std::string_view text, std::size_t size) {
    if (text.size() <= size)
        return text;
    auto whole = [](char c) { return static_cast<unsigned char>(c) < 0x40; };
    for (std::size_t at = size; at-- > 0;)
        if (whole(text[at]))
            return text.substr(0, at + 1);
    for (std::size_t at = size; at < text.size(); ++at)
        if (whole(text[at]))
            return text.substr(0, at + 1);
    return text;
}

} // namespace

std::wstring utf8ToWide(std::string_view text) {
    std::u16string units = utf8ToUtf16(text);
    return {units.begin(), units.end()};
}

std::string wideToUtf8(std::wstring_view text) {
    return utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

std::wstring wideOfUtf8OrAnsi(std::string_view bytes) {
    return isUtf8(bytes) ? utf8ToWide(bytes) : ansiToWide(bytes);
}

std::string utf8OfUtf8OrAnsi(std::string_view bytes) {
    return isUtf8(bytes) ? std::string(bytes) : ansiToUtf8(bytes);
}

std::string ansiToUtf8(std::string_view text) {
    // Piece by piece, and sized before it is filled, so that a big file costs
    // no UTF-16 copy of itself on the way, nor a string that doubles as it
    // grows.
    constexpr std::size_t pieceSize = 64 * 1024;
    auto eachPiece = [&](auto&& onPiece) {
        for (std::string_view rest = text; !rest.empty();) {
            std::string_view piece = pieceOf(rest, pieceSize);
            onPiece(wideToUtf8(ansiToWide(piece)));
            rest.remove_prefix(piece.size());
        }
    };
    std::size_t length = 0;
    eachPiece([&](const std::string& utf8) { length += utf8.size(); });
    std::string out;
    out.reserve(length);
    eachPiece([&](const std::string& utf8) { out += utf8; });
    return out;
}

bool fitsCodePage(std::string_view text) {
    if (GetACP() == CP_UTF8)
        return true;
    // No best fit: a character that the code page merely resembles ("é" for
    // "ė") would not come back as itself.
    std::wstring wide = utf8ToWide(text);
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), nullptr, 0,
                        nullptr, &lossy);
    return !lossy;
}

std::string firstOutsideCodePage(std::string_view text) {
    if (fitsCodePage(text))
        return {};
    // Character by character only once the whole is known not to fit.
    for (std::string_view rest = text; !rest.empty();) {
        std::string_view character = firstCharacter(rest);
        if (!fitsCodePage(character))
            return std::string(character);
        rest.remove_prefix(character.size());
    }
    return {};
}

std::string utf8ToAnsi(std::string_view text) {
    return wideToAnsi(utf8ToWide(text));
}

std::string utf8UpperCase(std::string_view text) {
    return wideToUtf8(upperCase(utf8ToWide(text)));
}

std::string ansiUpperCase(std::string_view text) {
    return wideToAnsi(upperCase(ansiToWide(text)));
}

} // namespace tk
