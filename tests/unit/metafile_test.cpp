#include "toolkit/pictures/PictureFormats.h"

#include "support/Files.h"
#include "toolkit/gui/DrawingHandles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <functional>

using testing_support::errorOf;

namespace {

using Bytes = tk::PictureBytes;

void fillSquare(HDC dc) {
    tk::BrushHandle brush(CreateSolidBrush(RGB(255, 0, 0)));
    RECT square{0, 0, 40, 40};
    FillRect(dc, &square, brush.get());
}

// What `draw` draws, recorded as an enhanced metafile.
Bytes enhancedMetafileOf(void (*draw)(HDC)) {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    draw(dc);
    tk::MetafileHandle metafile(CloseEnhMetaFile(dc));
    Bytes bytes(GetEnhMetaFileBits(metafile.get(), 0, nullptr));
    GetEnhMetaFileBits(metafile.get(), UINT(bytes.size()), bytes.data());
    return bytes;
}

// The same as an old-style metafile.
Bytes oldMetafileOf(void (*draw)(HDC)) {
    HDC dc = CreateMetaFileA(nullptr);
    draw(dc);
    HMETAFILE metafile = CloseMetaFile(dc);
    Bytes bytes(GetMetaFileBitsEx(metafile, 0, nullptr));
    GetMetaFileBitsEx(metafile, UINT(bytes.size()), bytes.data());
    DeleteMetaFile(metafile);
    return bytes;
}

template <typename T> void patch(Bytes& bytes, size_t offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

template <typename T> T at(const Bytes& bytes, size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

std::string loadError(const Bytes& bytes) {
    return errorOf([&] { tk::readMetafileFile(bytes); });
}

using Damage = std::function<void(Bytes&)>;

// Each damage, done to its own copy of a good metafile, makes it refused.
void expectEachRefused(const Bytes& good,
                       const std::vector<std::pair<const char*, Damage>>& damages) {
    for (const auto& [name, damage] : damages) {
        Bytes bytes = good;
        damage(bytes);
        EXPECT_EQ(loadError(bytes), "Metafile is not valid") << name;
    }
}

// The header's own size: the first record, the drawing, then the end record.
size_t secondRecord(const Bytes& bytes) {
    return at<DWORD>(bytes, offsetof(ENHMETAHEADER, nSize));
}

// A bitmap of 4 by 2 pixels with four colours, drawn stretched by GDI. Its
// header names its pixels' size, without which Wine records none of them.
void drawBitmap(HDC dc) {
    struct {
        BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 4, 2, 1, 8, BI_RGB, 8, 0, 0, 4, 0};
        RGBQUAD colours[4] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {0, 0, 0, 0}};
    } info;
    const BYTE pixels[8] = {0, 1, 2, 3, 3, 2, 1, 0};
    StretchDIBits(dc, 0, 0, 40, 20, 0, 0, 4, 2, pixels, reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS, SRCCOPY);
}

// Where the first record of the type starts; records are counted in bytes
// in an enhanced metafile and in 16-bit words after an 18-byte header in an
// old-style one.
size_t enhancedRecord(const Bytes& bytes, DWORD type) {
    size_t offset = 0;
    while (at<DWORD>(bytes, offset) != type)
        offset += at<DWORD>(bytes, offset + 4);
    return offset;
}

size_t oldStyleRecord(const Bytes& bytes, WORD function) {
    size_t offset = 18;
    while (at<WORD>(bytes, offset + 4) != function)
        offset += 2 * at<DWORD>(bytes, offset);
    return offset;
}

// What a skin's drawing program records: pens, brushes, a font and its text,
// shapes, lines, arcs and saved states.
void drawSkin(HDC dc) {
    int saved = SaveDC(dc);
    tk::PenHandle pen(CreatePen(PS_DASH, 1, RGB(0, 0, 255)));
    tk::BrushHandle brush(CreateHatchBrush(HS_CROSS, RGB(0, 128, 0)));
    tk::FontHandle font(
        CreateFontA(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
    HGDIOBJ oldPen = SelectObject(dc, pen.get());
    HGDIOBJ oldBrush = SelectObject(dc, brush.get());
    HGDIOBJ oldFont = SelectObject(dc, font.get());
    Rectangle(dc, 0, 0, 60, 40);
    Ellipse(dc, 4, 4, 30, 30);
    RoundRect(dc, 30, 4, 58, 30, 6, 6);
    Arc(dc, 2, 2, 40, 38, 40, 0, 0, 38);
    const POINT line[] = {{0, 39}, {30, 20}, {59, 39}};
    Polyline(dc, line, 3);
    const POINT shapes[] = {{1, 1}, {9, 1}, {5, 9}, {20, 1}, {28, 1}, {24, 9}};
    const INT counts[] = {3, 3};
    PolyPolygon(dc, shapes, counts, 2);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 59, 0);
    SetTextColor(dc, RGB(255, 255, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 6, 12, L"SKIN", 4);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    RestoreDC(dc, saved);
}

} // namespace

// The recorders' own output of what a skin draws is played as before.
TEST(Metafile, WhatASkinDrawsIsRecordedAndLoads) {
    EXPECT_EQ(loadError(enhancedMetafileOf(drawSkin)), "no error");
    EXPECT_EQ(loadError(oldMetafileOf(drawSkin)), "no error");
}

// Crafted metafiles kept with the fuzzers' seeds: objects never created or
// already deleted, counts and offsets past their record, an arc, a font and
// a stack of saved states that grew the player without bound, and records
// no skin needs.
TEST(Metafile, CraftedRecordsThePlayerWouldTrustAreRefusedNotPlayed) {
    int crafted = 0;
    for (const char* kind : {"emf", "wmf"}) {
        for (const auto& entry : std::filesystem::directory_iterator(
                 std::filesystem::path("Z:" KESTON_SOURCE_DIR "/tests/fuzz/corpus") / kind)) {
            if (entry.path().filename().string().rfind("finding", 0) != 0)
                continue;
            Bytes bytes(tk::readPictureFile(entry.path().string()));
            EXPECT_EQ(loadError(bytes), "Metafile is not valid") << entry.path();
            ++crafted;
        }
    }
    EXPECT_GE(crafted, 17);
}

TEST(Metafile, EnhancedHeadersThePlayerCannotTrustAreRefused) {
    const Bytes good = enhancedMetafileOf(fillSquare);
    ASSERT_EQ(loadError(good), "no error");
    const size_t last = good.size() - sizeof(EMREOF);
    const std::vector<std::pair<const char*, Damage>> damages = {
        {"negative millimetre width",
         [](Bytes& b) { patch<LONG>(b, offsetof(ENHMETAHEADER, szlMillimeters.cx), -1); }},
        {"no millimetre height",
         [](Bytes& b) { patch<LONG>(b, offsetof(ENHMETAHEADER, szlMillimeters.cy), 0); }},
        {"negative device width",
         [](Bytes& b) { patch<LONG>(b, offsetof(ENHMETAHEADER, szlDevice.cx), -640); }},
        {"frame turned inside out",
         [](Bytes& b) { patch<LONG>(b, offsetof(ENHMETAHEADER, rclFrame.right), -5000); }},
        {"bounds turned inside out",
         [](Bytes& b) { patch<LONG>(b, offsetof(ENHMETAHEADER, rclBounds.bottom), -300); }},
        {"header smaller than its fields",
         [](Bytes& b) { patch<DWORD>(b, offsetof(ENHMETAHEADER, nSize), 40); }},
        {"header past the file",
         [&](Bytes& b) { patch<DWORD>(b, offsetof(ENHMETAHEADER, nSize), DWORD(b.size() + 4)); }},
        {"description past the header",
         [](Bytes& b) { patch<DWORD>(b, offsetof(ENHMETAHEADER, nDescription), 0x10000); }},
        {"no handle table",
         [](Bytes& b) { patch<DWORD>(b, offsetof(ENHMETAHEADER, nHandles), 0); }},
        {"record of size zero", [](Bytes& b) { patch<DWORD>(b, secondRecord(b) + 4, 0); }},
        {"record past the end", [](Bytes& b) { patch<DWORD>(b, secondRecord(b) + 4, 0x7FFFFFF0); }},
        {"record size not a multiple of four",
         [](Bytes& b) {
             patch<DWORD>(b, secondRecord(b) + 4, at<DWORD>(b, secondRecord(b) + 4) + 2);
         }},
        {"no end record", [&](Bytes& b) { patch<DWORD>(b, last, EMR_SAVEDC); }},
        {"record count that does not match",
         [](Bytes& b) { patch<DWORD>(b, offsetof(ENHMETAHEADER, nRecords), 1000); }},
    };
    expectEachRefused(good, damages);
}

TEST(Metafile, OldStyleHeadersAndRecordsAreCheckedToTheEnd) {
    const Bytes good = oldMetafileOf(fillSquare);
    ASSERT_EQ(loadError(good), "no error");
    constexpr size_t sizeWords = 6, maxRecord = 12, firstRecord = 18;
    const std::vector<std::pair<const char*, Damage>> damages = {
        {"file size past the end", [](Bytes& b) { patch<DWORD>(b, sizeWords, DWORD(b.size())); }},
        {"largest record larger than the file",
         [](Bytes& b) { patch<DWORD>(b, maxRecord, DWORD(b.size())); }},
        {"record of size zero", [](Bytes& b) { patch<DWORD>(b, firstRecord, 0); }},
        {"record past the end", [](Bytes& b) { patch<DWORD>(b, firstRecord, 0x00FFFFFF); }},
        {"no end record",
         [](Bytes& b) {
             b.resize(b.size() - 6);
             patch<DWORD>(b, sizeWords, DWORD(b.size() / 2));
         }},
    };
    expectEachRefused(good, damages);
}

// A bitmap inside a record meets the rules of a bitmap file, and its pixels
// are not compressed: the system's player would take a compressed bitmap's
// byte count from its header alone.
TEST(Metafile, BitmapsInsideEnhancedRecordsAreCheckedLikeBitmapFiles) {
    const Bytes good = enhancedMetafileOf(drawBitmap);
    ASSERT_EQ(loadError(good), "no error");
    const size_t record = enhancedRecord(good, EMR_STRETCHDIBITS);
    const size_t info = record + at<DWORD>(good, record + offsetof(EMRSTRETCHDIBITS, offBmiSrc));
    auto field = [&](size_t offset) { return info + offset; };
    const std::vector<std::pair<const char*, Damage>> damages = {
        {"compressed pixels",
         [&](Bytes& b) {
             patch<DWORD>(b, field(offsetof(BITMAPINFOHEADER, biCompression)), BI_RLE8);
         }},
        {"wider than its pixels",
         [&](Bytes& b) { patch<LONG>(b, field(offsetof(BITMAPINFOHEADER, biWidth)), 400); }},
        {"more colours than its depth has",
         [&](Bytes& b) { patch<DWORD>(b, field(offsetof(BITMAPINFOHEADER, biClrUsed)), 300); }},
        {"no plane",
         [&](Bytes& b) { patch<WORD>(b, field(offsetof(BITMAPINFOHEADER, biPlanes)), 0); }},
        {"pixels past the record",
         [&](Bytes& b) {
             patch<DWORD>(b, record + offsetof(EMRSTRETCHDIBITS, cbBitsSrc), 0x10000);
         }},
        {"header in the record's fields",
         [&](Bytes& b) { patch<DWORD>(b, record + offsetof(EMRSTRETCHDIBITS, offBmiSrc), 8); }},
    };
    expectEachRefused(good, damages);

    Bytes brush = enhancedMetafileOf(fillSquare);
    patch<DWORD>(brush, enhancedRecord(brush, EMR_CREATEBRUSHINDIRECT) + 12, BS_DIBPATTERNPT);
    EXPECT_EQ(loadError(brush), "Metafile is not valid") << "a brush naming a bitmap by address";
}

TEST(Metafile, BitmapsInsideOldStyleRecordsAreCheckedLikeBitmapFiles) {
    const Bytes good = oldMetafileOf(drawBitmap);
    ASSERT_EQ(loadError(good), "no error");
    // The stretched bitmap's header follows the record's 11 parameter words.
    const size_t info = oldStyleRecord(good, META_STRETCHDIB) + 6 + 22;
    const std::vector<std::pair<const char*, Damage>> damages = {
        {"compressed pixels",
         [&](Bytes& b) {
             patch<DWORD>(b, info + offsetof(BITMAPINFOHEADER, biCompression), BI_RLE8);
             patch<DWORD>(b, info + offsetof(BITMAPINFOHEADER, biSizeImage), 6);
         }},
        {"taller than its pixels",
         [&](Bytes& b) { patch<LONG>(b, info + offsetof(BITMAPINFOHEADER, biHeight), 3); }},
        {"a depth no bitmap has",
         [&](Bytes& b) { patch<WORD>(b, info + offsetof(BITMAPINFOHEADER, biBitCount), 7); }},
    };
    expectEachRefused(good, damages);

    Bytes brush = oldMetafileOf(fillSquare);
    patch<WORD>(brush, oldStyleRecord(brush, META_CREATEBRUSHINDIRECT) + 6, BS_DIBPATTERNPT);
    EXPECT_EQ(loadError(brush), "Metafile is not valid") << "a brush naming a bitmap by address";
}

// A skin that ended the program at once: a placeable metafile stretching a
// bitmap of one pixel in compressed form.
TEST(Metafile, ACompressedBitmapInAPlaceableMetafileIsRefusedNotPlayed) {
    const std::string file =
        "Z:" KESTON_SOURCE_DIR "/tests/fuzz/corpus/wmf/finding-rle8-stretchdib.wmf";
    Bytes bytes(tk::readPictureFile(file));
    ASSERT_EQ(bytes.size(), 1144u);
    EXPECT_EQ(loadError(bytes), "Metafile is not valid");
}
