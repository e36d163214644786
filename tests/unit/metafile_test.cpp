#include "toolkit/pictures/PictureFormats.h"

#include "support/Files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <functional>

using testing_support::errorOf;

namespace {

using Bytes = tk::PictureBytes;

void fillSquare(HDC dc) {
    tk::BrushHandle brush(CreateSolidBrush(RGB(255, 0, 0)));
    RECT square{0, 0, 40, 40};
    FillRect(dc, &square, brush.get());
}

Bytes enhancedMetafile() {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    fillSquare(dc);
    tk::MetafileHandle metafile(CloseEnhMetaFile(dc));
    Bytes bytes(GetEnhMetaFileBits(metafile.get(), 0, nullptr));
    GetEnhMetaFileBits(metafile.get(), UINT(bytes.size()), bytes.data());
    return bytes;
}

Bytes oldMetafile() {
    HDC dc = CreateMetaFileA(nullptr);
    fillSquare(dc);
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

// The header's own size: the first record, the drawing, then the end record.
size_t secondRecord(const Bytes& bytes) {
    return at<DWORD>(bytes, offsetof(ENHMETAHEADER, nSize));
}

} // namespace

TEST(Metafile, EnhancedHeadersThePlayerCannotTrustAreRefused) {
    const Bytes good = enhancedMetafile();
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
    for (const auto& [name, damage] : damages) {
        Bytes bytes = good;
        damage(bytes);
        EXPECT_EQ(loadError(bytes), "Metafile is not valid") << name;
    }
}

TEST(Metafile, OldStyleHeadersAndRecordsAreCheckedToTheEnd) {
    const Bytes good = oldMetafile();
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
    for (const auto& [name, damage] : damages) {
        Bytes bytes = good;
        damage(bytes);
        EXPECT_EQ(loadError(bytes), "Metafile is not valid") << name;
    }
}
