#include "toolkit/pictures/Picture.h"

#include "support/PictureFiles.h"
#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"
#include "toolkit/gui/DrawingHandles.h"
#include "toolkit/pictures/GdiHandles.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace testing_support;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kBackground = RGB(10, 20, 30);

// Top row red, green, blue; bottom row white, grey, blue.
COLORREF sample(int x, int y) {
    static const COLORREF colours[2][3] = {{kRed, kGreen, kBlue}, {kWhite, kGrey, kBlue}};
    return colours[y][x];
}

// Quarters: red, green over blue, white.
COLORREF quarters(int x, int y) {
    return y < 2 ? (x < 2 ? kRed : kGreen) : (x < 2 ? kBlue : kWhite);
}

// The test's folder (a blank in its name), taking picture files as they are built.
class Folder : public testing_support::TempFolder {
public:
    Folder() : TempFolder("keston picture") {}
    using TempFolder::write;
    std::string write(const std::string& name, const Bytes& bytes) const {
        return write(name, std::string(bytes.begin(), bytes.end()));
    }
};

// A 32-bit drawing surface filled with one colour, read back pixel by pixel.
class Surface {
public:
    Surface(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        select_.emplace(dc_.get(), bitmap_.get());
        RECT all{0, 0, width, height};
        tk::BrushHandle brush(CreateSolidBrush(kBackground));
        FillRect(dc_.get(), &all, brush.get());
    }
    HDC dc() const { return dc_.get(); }
    COLORREF at(int x, int y) const { return GetPixel(dc_.get(), x, y); }

private:
    tk::MemoryDc dc_;
    tk::BitmapHandle bitmap_;
    std::optional<tk::SelectObjectScope> select_;
};

std::string loadError(const std::string& path) {
    try {
        tk::Picture::fromFile(path);
    } catch (const tk::Error& error) {
        return error.what();
    }
    return "loaded";
}

} // namespace

TEST(PictureFile, BitmapsLoadWithTheirSizeAndPixelsWhicheverWayTheirRowsRun) {
    Folder folder;
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        auto picture =
            tk::Picture::fromFile(folder.write("sample.bmp", bitmap24(3, 2, sample, topDown)));
        EXPECT_TRUE(picture.isBitmap());
        EXPECT_FALSE(picture.empty());
        EXPECT_EQ(picture.width(), 3);
        EXPECT_EQ(picture.height(), 2);

        Surface surface(6, 5);
        picture.draw(surface.dc(), RECT{1, 1, 6, 5}, false, false);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(surface.at(1 + x, 1 + y), sample(x, y)) << x << "," << y;
        EXPECT_EQ(surface.at(0, 0), kBackground);
        EXPECT_EQ(surface.at(4, 1), kBackground);
        EXPECT_EQ(surface.at(1, 3), kBackground);
    }
}

TEST(PictureFile, PaletteRunLengthAndOldStyleBitmapsLoad) {
    Folder folder;
    Bytes palette;
    put<RGBQUAD>(palette, {0, 0, 255, 0}); // red
    put<RGBQUAD>(palette, {255, 0, 0, 0}); // blue

    // 4 x 2, bottom row first: four blue; then two red, two blue.
    Bytes runs = {4, 1, 0, 0, 2, 0, 2, 1, 0, 1};
    Bytes rleInfo = infoHeader(4, 2, 8, BI_RLE8, DWORD(runs.size()), 2);
    putAll(rleInfo, palette);
    Bytes indexed = {1, 1, 1, 1, 0, 0, 1, 1};
    Bytes plainInfo = infoHeader(4, 2, 8, BI_RGB, 0, 2);
    putAll(plainInfo, palette);
    // An OS/2 header: 12 bytes, width and height in 16 bits.
    Bytes coreInfo;
    put(coreInfo, BITMAPCOREHEADER{sizeof(BITMAPCOREHEADER), 4, 2, 1, 24});

    auto expected = [](int x, int y) { return y == 0 && x < 2 ? kRed : kBlue; };
    for (const auto& [name, file] :
         {std::pair{"rle.bmp", bitmapFile(rleInfo, runs)},
          std::pair{"indexed.bmp", bitmapFile(plainInfo, indexed)},
          std::pair{"core.bmp", bitmapFile(coreInfo, rows24(4, 2, expected, false))}}) {
        SCOPED_TRACE(name);
        tk::Picture picture;
        ASSERT_NO_THROW(picture = tk::Picture::fromFile(folder.write(name, file)));
        ASSERT_EQ(picture.width(), 4);
        ASSERT_EQ(picture.height(), 2);
        Surface surface(4, 2);
        picture.draw(surface.dc(), RECT{0, 0, 4, 2}, false, false);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(surface.at(x, y), expected(x, y)) << x << "," << y;
    }
}

TEST(PictureFile, TheExtensionChoosesTheKindWithoutRegardToCase) {
    Folder folder;
    auto upper = tk::Picture::fromFile(folder.write("SKIN.BMP", bitmap24(3, 2, sample)));
    EXPECT_TRUE(upper.isBitmap());
    EXPECT_EQ(upper.width(), 3);

    EXPECT_EQ(loadError(folder.write("notes.txt", std::string("just some notes"))),
              "Unknown picture file extension (.txt)");
    // Only the last extension counts, and a bitmap's content does not help.
    EXPECT_EQ(loadError(folder.write("skin.bmp.Old", bitmap24(3, 2, sample))),
              "Unknown picture file extension (.Old)");
    EXPECT_EQ(loadError(folder.write("skin.ico", bitmap24(3, 2, sample))),
              "Icon image is not valid");
}

TEST(PictureFile, AFileThatCannotBeOpenedIsNamedInTheError) {
    Folder folder;
    std::string missing = folder.file("missing.bmp");
    EXPECT_EQ(loadError(missing), "Cannot open file " + missing);

    std::string folderNamedLikeAPicture = folder.file("folder.bmp");
    std::filesystem::create_directories(folderNamedLikeAPicture);
    EXPECT_EQ(loadError(folderNamedLikeAPicture), "Cannot open file " + folderNamedLikeAPicture);

    // Held open by another writer that shares nothing.
    std::string held = folder.write("held.bmp", bitmap24(3, 2, sample));
    tk::FileHandle lock(CreateFileA(held.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_EQ(loadError(held), "Cannot open file " + held);
}

TEST(PictureFile, DamagedBitmapsAreNotValid) {
    Folder folder;
    Bytes good = bitmap24(5, 4, [](int, int) { return kGrey; });
    Bytes truncated(good.begin(), good.end() - 7);
    Bytes headerOnly(good.begin(), good.begin() + 30);
    Bytes zeroWidth = bitmapFile(infoHeader(0, 4, 24), Bytes(64));
    Bytes oddDepth = bitmapFile(infoHeader(2, 2, 7), Bytes(64));
    Bytes hugeClaim = bitmapFile(infoHeader(30000, 30000, 24), Bytes(64));
    Bytes pixelsPastTheEnd = good;
    pixelsPastTheEnd[10] = 0xF0; // bfOffBits far beyond the file
    Bytes runsPastTheEnd = bitmapFile(infoHeader(4, 2, 8, BI_RLE8, 4000), Bytes{4, 1, 0, 1});

    for (const auto& [name, bytes] :
         {std::pair{"truncated.bmp", truncated}, std::pair{"header.bmp", headerOnly},
          std::pair{"empty.bmp", Bytes()}, std::pair{"text.bmp", Bytes{'h', 'e', 'l', 'l', 'o'}},
          std::pair{"width.bmp", zeroWidth}, std::pair{"depth.bmp", oddDepth},
          std::pair{"huge.bmp", hugeClaim}, std::pair{"offset.bmp", pixelsPastTheEnd},
          std::pair{"runs.bmp", runsPastTheEnd}})
        EXPECT_EQ(loadError(folder.write(name, bytes)), "Bitmap image is not valid") << name;
}

TEST(PictureFile, GarbageIconsAndMetafilesAreNotValid) {
    Folder folder;
    std::string garbage = "this is not a picture of any kind, just text";
    EXPECT_EQ(loadError(folder.write("logo.ico", garbage)), "Icon image is not valid");
    EXPECT_EQ(loadError(folder.write("logo.emf", garbage)), "Metafile is not valid");
    EXPECT_EQ(loadError(folder.write("logo.wmf", garbage)), "Metafile is not valid");
    EXPECT_EQ(loadError(folder.write("empty.wmf", Bytes())), "Metafile is not valid");

    // A directory whose one image lies beyond the end of the file.
    Bytes beyond;
    put<WORD>(beyond, 0);
    put<WORD>(beyond, 1);
    put<WORD>(beyond, 1);
    Bytes entry = {16, 16, 0, 0, 1, 0, 32, 0};
    putAll(beyond, entry);
    put<DWORD>(beyond, 1128);
    put<DWORD>(beyond, 22);
    EXPECT_EQ(loadError(folder.write("beyond.ico", beyond)), "Icon image is not valid");
}

namespace {

// A metafile drawn with GDI: a red square filling the picture.
void drawRedSquare(HDC dc, int side) {
    tk::BrushHandle brush(CreateSolidBrush(kRed));
    RECT square{0, 0, side, side};
    FillRect(dc, &square, brush.get());
}

} // namespace

TEST(PictureFile, IconsLoadTheirLargestImage) {
    Folder folder;
    auto icon = tk::Picture::fromFile(
        folder.write("logo.ico", iconFile({{8, kBlue}, {16, kRed}, {4, kGreen}})));
    EXPECT_FALSE(icon.empty());
    EXPECT_FALSE(icon.isBitmap());
    EXPECT_EQ(icon.width(), 16);
    EXPECT_EQ(icon.height(), 16);

    Surface surface(20, 20);
    icon.draw(surface.dc(), RECT{2, 2, 20, 20}, false, false);
    EXPECT_EQ(surface.at(2, 2), kRed);
    EXPECT_EQ(surface.at(17, 17), kRed);
    EXPECT_EQ(surface.at(18, 18), kBackground);
}

TEST(PictureFile, EnhancedAndOldStyleMetafilesLoadAndStretch) {
    Folder folder;
    std::string enhanced = folder.file("square.emf");
    {
        HDC dc = CreateEnhMetaFileA(nullptr, enhanced.c_str(), nullptr, nullptr);
        ASSERT_TRUE(dc);
        drawRedSquare(dc, 40);
        tk::MetafileHandle done(CloseEnhMetaFile(dc));
    }
    std::string old = folder.file("square.wmf");
    {
        HDC dc = CreateMetaFileA(old.c_str());
        ASSERT_TRUE(dc);
        drawRedSquare(dc, 40);
        DeleteMetaFile(CloseMetaFile(dc));
    }
    // The same old-style metafile behind a placeable header: 40 units, 96 to the inch.
    Bytes placeable;
    put<DWORD>(placeable, 0x9AC6CDD7);
    for (WORD word : {0, 0, 0, 40, 40, 96, 0, 0}) // handle, box, units per inch, reserved
        put<WORD>(placeable, word);
    WORD checksum = 0;
    for (size_t i = 0; i < placeable.size(); i += 2)
        checksum ^= WORD(placeable[i] | placeable[i + 1] << 8);
    put<WORD>(placeable, checksum);
    std::ifstream in(old, std::ios::binary);
    putAll(placeable, Bytes(std::istreambuf_iterator<char>(in), {}));

    for (const auto& path : {enhanced, old, folder.write("placeable.WMF", placeable)}) {
        SCOPED_TRACE(path);
        auto picture = tk::Picture::fromFile(path);
        EXPECT_FALSE(picture.empty());
        EXPECT_FALSE(picture.isBitmap());
        EXPECT_GT(picture.width(), 0);
        EXPECT_GT(picture.height(), 0);
        Surface surface(30, 30);
        picture.draw(surface.dc(), RECT{5, 5, 25, 25}, true, false);
        EXPECT_EQ(surface.at(15, 15), kRed);
        EXPECT_EQ(surface.at(2, 2), kBackground);
        EXPECT_EQ(surface.at(27, 27), kBackground);
    }
}

TEST(PictureDraw, NaturalSizeIsCutAtTheTargetAndStretchingFillsIt) {
    Folder folder;
    auto picture = tk::Picture::fromFile(folder.write("quarters.bmp", bitmap24(4, 4, quarters)));

    Surface cut(8, 8);
    picture.draw(cut.dc(), RECT{1, 1, 4, 4}, false, false);
    EXPECT_EQ(cut.at(1, 1), kRed);
    EXPECT_EQ(cut.at(3, 3), kWhite);
    EXPECT_EQ(cut.at(4, 4), kBackground);
    EXPECT_EQ(cut.at(4, 1), kBackground);

    Surface stretched(10, 10);
    picture.draw(stretched.dc(), RECT{1, 1, 9, 9}, true, false);
    EXPECT_EQ(stretched.at(1, 1), kRed);
    EXPECT_EQ(stretched.at(8, 1), kGreen);
    EXPECT_EQ(stretched.at(1, 8), kBlue);
    EXPECT_EQ(stretched.at(8, 8), kWhite);
    EXPECT_EQ(stretched.at(9, 9), kBackground);
}

TEST(PictureDraw, TransparentDrawingLeavesOutTheColourOfTheBottomLeftPixel) {
    Folder folder;
    // Blue with the key colour at the centre and in the bottom-left corner.
    auto keyed = [](int x, int y) {
        return (x == 1 && y == 1) || (x == 0 && y == 2) ? kKey : kBlue;
    };
    auto picture = tk::Picture::fromFile(folder.write("keyed.bmp", bitmap24(3, 3, keyed)));

    Surface natural(3, 3);
    picture.draw(natural.dc(), RECT{0, 0, 3, 3}, false, true);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(natural.at(x, y), keyed(x, y) == kKey ? kBackground : kBlue) << x << "," << y;

    Surface stretched(6, 6);
    picture.draw(stretched.dc(), RECT{0, 0, 6, 6}, true, true);
    EXPECT_EQ(stretched.at(2, 2), kBackground);
    EXPECT_EQ(stretched.at(3, 3), kBackground);
    EXPECT_EQ(stretched.at(0, 5), kBackground);
    EXPECT_EQ(stretched.at(0, 0), kBlue);
    EXPECT_EQ(stretched.at(5, 5), kBlue);

    // Opaque drawing shows the key colour like any other.
    Surface opaque(3, 3);
    picture.draw(opaque.dc(), RECT{0, 0, 3, 3}, false, false);
    EXPECT_EQ(opaque.at(1, 1), kKey);
}

TEST(PictureCopy, ACopyOutlivesItsOriginal) {
    Folder folder;
    auto original = tk::Picture::fromFile(folder.write("sample.bmp", bitmap24(3, 2, sample)));
    tk::Picture copy = original.copy();
    original = tk::Picture();
    EXPECT_TRUE(original.empty());

    ASSERT_TRUE(copy.isBitmap());
    EXPECT_EQ(copy.width(), 3);
    EXPECT_EQ(copy.height(), 2);
    Surface surface(3, 2);
    copy.draw(surface.dc(), RECT{0, 0, 3, 2}, false, false);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(surface.at(x, y), sample(x, y)) << x << "," << y;

    auto icon = tk::Picture::fromFile(folder.write("logo.ico", iconFile({{16, kGreen}})));
    tk::Picture iconCopy = icon.copy();
    icon = tk::Picture();
    EXPECT_EQ(iconCopy.width(), 16);
    Surface iconSurface(16, 16);
    iconCopy.draw(iconSurface.dc(), RECT{0, 0, 16, 16}, false, false);
    EXPECT_EQ(iconSurface.at(8, 8), kGreen);

    EXPECT_TRUE(tk::Picture().copy().empty());
}

// A picture is refused by the size it declares, before the system decodes any
// of it: an icon whose PNG image would take 2 GB, compressed pixels that
// would take 1 GB. A large monochrome bitmap still loads.
TEST(PictureFile, PicturesTooLargeToDecodeAreRefusedBeforeDecoding) {
    Folder folder;
    const std::string bomb = "Z:" KESTON_SOURCE_DIR "/tests/fuzz/corpus/icon/finding-png-bomb.ico";
    auto started = GetTickCount64();
    EXPECT_EQ(loadError(bomb), "Picture is too large: 23000 x 23000 pixels");
    EXPECT_LT(GetTickCount64() - started, 1000u);

    const Bytes runs = {0, 1}; // the end of the bitmap at once
    Bytes info = infoHeader(32767, 32767, 8, BI_RLE8, DWORD(runs.size()), 2);
    putAll(info, Bytes(8, 0));
    EXPECT_EQ(loadError(folder.write("runs.bmp", bitmapFile(info, runs))),
              "Picture is too large: 32767 x 32767 pixels");

    Bytes mono = infoHeader(8192, 8192, 1);
    putAll(mono, Bytes{0, 0, 0, 0, 255, 255, 255, 0});
    EXPECT_EQ(loadError(folder.write("mono.bmp", bitmapFile(mono, Bytes(8192 * 8192 / 8, 0)))),
              "loaded");
}

// The fuzzers start from real pictures of every depth, compression and kind;
// inputs kept from findings ("finding-...") are damaged on purpose. The
// source tree is reached through Wine's drive for the Unix root.
TEST(PictureFile, TheFuzzersSeedPicturesAllLoad) {
    int seeds = 0;
    for (const char* kind : {"bitmap", "icon", "emf", "wmf"}) {
        for (const auto& entry : std::filesystem::directory_iterator(
                 std::filesystem::path("Z:" KESTON_SOURCE_DIR "/tests/fuzz/corpus") / kind)) {
            if (entry.path().filename().string().rfind("finding", 0) == 0)
                continue;
            EXPECT_EQ(loadError(entry.path().string()), "loaded") << entry.path();
            ++seeds;
        }
    }
    EXPECT_GE(seeds, 20);
}
