// Test support: picture files built byte by byte (24-bit bitmaps and 32-bit
// icons), for the tests of the picture loader and of the skins.
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>
#include <utility>
#include <vector>

namespace testing_support {

using Bytes = std::vector<unsigned char>;

template <typename T> void put(Bytes& bytes, T value) {
    size_t at = bytes.size();
    bytes.resize(at + sizeof(T));
    std::memcpy(bytes.data() + at, &value, sizeof(T));
}

inline void putAll(Bytes& bytes, const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

inline Bytes infoHeader(LONG width, LONG height, WORD bitCount, DWORD compression = BI_RGB,
                        DWORD sizeImage = 0, DWORD coloursUsed = 0) {
    Bytes header;
    put(header, BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, bitCount, compression,
                                 sizeImage, 0, 0, coloursUsed, 0});
    return header;
}

// A bitmap file: file header, then the info header with its colours, then
// the pixels.
inline Bytes bitmapFile(const Bytes& info, const Bytes& pixels) {
    Bytes file;
    put<WORD>(file, 0x4D42);
    put<DWORD>(file, static_cast<DWORD>(14 + info.size() + pixels.size()));
    put<DWORD>(file, 0);
    put<DWORD>(file, static_cast<DWORD>(14 + info.size()));
    putAll(file, info);
    putAll(file, pixels);
    return file;
}

// 24-bit rows, padded to four bytes; colour(x, y) counts y from the top.
inline Bytes rows24(int width, int height, const std::function<COLORREF(int, int)>& colour,
                    bool topDown) {
    Bytes pixels;
    for (int row = 0; row < height; ++row) {
        int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            COLORREF c = colour(x, y);
            pixels.push_back(GetBValue(c));
            pixels.push_back(GetGValue(c));
            pixels.push_back(GetRValue(c));
        }
        pixels.resize((pixels.size() + 3) / 4 * 4);
    }
    return pixels;
}

inline Bytes bitmap24(int width, int height, const std::function<COLORREF(int, int)>& colour,
                      bool topDown = false) {
    return bitmapFile(infoHeader(width, topDown ? -height : height, 24),
                      rows24(width, height, colour, topDown));
}

// An icon file of square 32-bit images of the given sides, each one colour.
inline Bytes iconFile(const std::vector<std::pair<int, COLORREF>>& images) {
    Bytes file, data;
    put<WORD>(file, 0);
    put<WORD>(file, 1);
    put<WORD>(file, WORD(images.size()));
    size_t offset = 6 + 16 * images.size();
    for (const auto& [side, colour] : images) {
        Bytes image = infoHeader(side, 2 * side, 32);
        for (int i = 0; i < side * side; ++i) {
            put<BYTE>(image, GetBValue(colour));
            put<BYTE>(image, GetGValue(colour));
            put<BYTE>(image, GetRValue(colour));
            put<BYTE>(image, 255);
        }
        image.resize(image.size() + size_t(side) * ((side + 31) / 32 * 4)); // mask: all opaque
        Bytes entry = {BYTE(side), BYTE(side), 0, 0, 1, 0, 32, 0};
        putAll(file, entry);
        put<DWORD>(file, DWORD(image.size()));
        put<DWORD>(file, DWORD(offset + data.size()));
        putAll(data, image);
    }
    putAll(file, data);
    return file;
}

} // namespace testing_support
