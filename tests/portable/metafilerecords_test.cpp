// The record checks of both metafile formats, on metafiles built here
// record by record: each limit holds at its edge and refuses one past it.
#include "toolkit/pictures/PictureLayouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using Bytes = tk::PictureBytes;

void put(Bytes& bytes, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void putAll(Bytes& bytes, const std::vector<std::int64_t>& values, int width) {
    for (std::int64_t value : values)
        put(bytes, static_cast<std::uint64_t>(value), width);
}

// An enhanced metafile of 40 by 40 pixels with a table of `handles` slots.
class Enhanced {
public:
    explicit Enhanced(std::uint16_t handles = 3) : handles_(handles) {}

    Enhanced& add(std::uint32_t type, const std::vector<std::int64_t>& fields) {
        put(body_, type, 4);
        put(body_, 8 + 4 * fields.size(), 4);
        putAll(body_, fields, 4);
        ++records_;
        return *this;
    }
    Enhanced& repeat(std::uint32_t type, int times) {
        for (int i = 0; i < times; ++i)
            add(type, {});
        return *this;
    }

    bool accepted() const {
        Bytes body = body_;
        putAll(body, {14, 20, 0, 16, 20}, 4);
        Bytes file;
        putAll(file, {1, 108, 0, 0, 40, 40, 0, 0, 1058, 1058, 0x464D4520, 0x10000}, 4);
        putAll(file, {std::int64_t(108 + body.size()), records_ + 2}, 4);
        putAll(file, {handles_, 0}, 2);
        putAll(file, {0, 0, 0, 1024, 768, 320, 240, 0, 0, 0, 320000, 240000}, 4);
        file.insert(file.end(), body.begin(), body.end());
        return tk::checkEnhancedMetafile(file).has_value();
    }

private:
    std::uint16_t handles_;
    std::int64_t records_ = 0;
    Bytes body_;
};

// An old-style metafile with a table of `objects` slots.
class OldStyle {
public:
    explicit OldStyle(std::uint16_t objects = 2) : objects_(objects) {}

    OldStyle& add(std::uint16_t function, const std::vector<std::int64_t>& words) {
        put(records_, 3 + words.size(), 4);
        put(records_, function, 2);
        putAll(records_, words, 2);
        largest_ = std::max<std::uint64_t>(largest_, 3 + words.size());
        return *this;
    }
    OldStyle& repeat(std::uint16_t function, const std::vector<std::int64_t>& words, int times) {
        for (int i = 0; i < times; ++i)
            add(function, words);
        return *this;
    }

    bool accepted() const { return tk::checkWindowsMetafile(bytes()).has_value(); }

    // Behind a placeable header of a square frame, `side` units a side.
    bool acceptedPlaceable(std::int64_t side, std::int64_t unitsPerInch) const {
        Bytes file;
        putAll(file, {0xCDD7, 0x9AC6, 0, 0, 0, side, side, unitsPerInch, 0, 0, 0}, 2);
        Bytes metafile = bytes();
        file.insert(file.end(), metafile.begin(), metafile.end());
        return tk::checkWindowsMetafile(file).has_value();
    }

private:
    Bytes bytes() const {
        Bytes records = records_;
        putAll(records, {3, 0, 0}, 2);
        Bytes file;
        putAll(file, {1, 9, 0x300}, 2);
        put(file, (18 + records.size()) / 2, 4);
        put(file, objects_, 2);
        put(file, largest_, 4);
        put(file, 0, 2);
        file.insert(file.end(), records.begin(), records.end());
        return file;
    }

    std::uint16_t objects_;
    std::uint64_t largest_ = 3;
    Bytes records_;
};

constexpr std::uint32_t emrCreatePen = 38, emrSelect = 37, emrDelete = 40, emrArcTo = 55,
                        emrSaveDc = 33, emrRestoreDc = 34, emrPolyline16 = 87, emrWindowExt = 9,
                        emrViewportExt = 11, emrMapMode = 17, emrRectangle = 43, emrFillRegion = 71,
                        emrEllipse = 42, emrBeginPath = 59, emrEndPath = 60, emrStrokePath = 64;
constexpr std::uint16_t wmfCreatePen = 0x02FA, wmfSelect = 0x012D, wmfDelete = 0x01F0,
                        wmfPolyPolygon = 0x0538, wmfCreateFont = 0x02FB, wmfEscape = 0x0626,
                        wmfEllipse = 0x0418, wmfTextOut = 0x0521, wmfSaveDc = 0x001E,
                        wmfRestoreDc = 0x0127, wmfBackground = 0x0201;

Enhanced penThen(std::uint32_t type, const std::vector<std::int64_t>& fields) {
    return Enhanced().add(emrCreatePen, {1, 0, 1, 0, 0}).add(type, fields);
}

} // namespace

TEST(MetafileRecords, EnhancedObjectsMustBeCreatedInTheTableAndNotDeleted) {
    EXPECT_TRUE(penThen(emrSelect, {1}).add(emrDelete, {1}).accepted());
    EXPECT_TRUE(penThen(emrSelect, {0x80000007}).accepted()) << "a stock pen";
    EXPECT_FALSE(penThen(emrSelect, {2}).accepted()) << "a free slot";
    EXPECT_FALSE(penThen(emrSelect, {0xFFFF}).accepted()) << "past the table";
    EXPECT_FALSE(penThen(emrSelect, {0x80000014}).accepted()) << "past the stock objects";
    EXPECT_FALSE(penThen(emrDelete, {1}).add(emrSelect, {1}).accepted()) << "deleted";
    EXPECT_FALSE(penThen(emrDelete, {0}).accepted()) << "the metafile's own slot";
    EXPECT_FALSE(penThen(emrCreatePen, {1, 0, 1, 0, 0}).accepted()) << "a slot in use";
    EXPECT_FALSE(Enhanced().add(emrCreatePen, {3, 0, 1, 0, 0}).accepted()) << "past the table";
    EXPECT_FALSE(penThen(48, {1}).accepted()) << "a pen selected as a palette";
}

TEST(MetafileRecords, EnhancedCountsAndCoordinatesStayWithinTheRecordAndTheLimits) {
    // Three 16-bit points after the bounds and the count.
    EXPECT_TRUE(Enhanced().add(emrPolyline16, {0, 0, 9, 9, 3, 0, 0x00090009, 0}).accepted());
    EXPECT_FALSE(Enhanced().add(emrPolyline16, {0, 0, 9, 9, 4, 0, 0x00090009, 0}).accepted());
    EXPECT_FALSE(Enhanced().add(emrPolyline16, {0, 0, 9, 9, 0x40000000, 0, 0, 0}).accepted());
    // Drawn small: an arc over the whole range at the natural size would be
    // refused for the time it takes to draw.
    EXPECT_TRUE(Enhanced()
                    .add(emrWindowExt, {32767, 32767})
                    .add(emrViewportExt, {500, 500})
                    .add(emrArcTo, {-32767, -32767, 32767, 32767, 1, 0, 0, 1})
                    .accepted());
    EXPECT_FALSE(Enhanced().add(emrArcTo, {-8388607, 0, 8388607, 9, 1, 0, 0, 1}).accepted());
    EXPECT_FALSE(Enhanced().add(emrRectangle, {0, 0, 32768, 9}).accepted());
    EXPECT_FALSE(Enhanced().add(emrRectangle, {0, 0, 9}).accepted()) << "a short record";
    EXPECT_FALSE(Enhanced().add(emrFillRegion, {0, 0, 9, 9, 0, 1}).accepted()) << "not listed";
}

TEST(MetafileRecords, EnhancedStatesAndMappingCannotGrowWithoutBound) {
    EXPECT_TRUE(Enhanced().repeat(emrSaveDc, 64).accepted());
    EXPECT_FALSE(Enhanced().repeat(emrSaveDc, 65).accepted());
    EXPECT_FALSE(Enhanced().repeat(emrSaveDc, 400000).accepted());
    Enhanced balanced;
    for (int i = 0; i < 1000; ++i)
        balanced.add(emrSaveDc, {}).add(emrRestoreDc, {-1});
    EXPECT_TRUE(balanced.accepted());
    EXPECT_FALSE(Enhanced().add(emrSaveDc, {}).add(emrRestoreDc, {-2}).accepted());

    auto mapped = [](std::int64_t viewport) {
        return Enhanced()
            .add(emrWindowExt, {100, 100})
            .add(emrViewportExt, {viewport, 100})
            .add(emrRectangle, {0, 0, 9, 9});
    };
    EXPECT_TRUE(mapped(400).accepted());
    EXPECT_FALSE(mapped(401).accepted());
    EXPECT_FALSE(Enhanced().add(emrWindowExt, {0, 100}).accepted());
    // Choosing the mode of free extents again keeps them as they were.
    EXPECT_FALSE(Enhanced()
                     .add(emrWindowExt, {100, 100})
                     .add(emrViewportExt, {32767, 100})
                     .add(emrMapMode, {8})
                     .add(emrRectangle, {0, 0, 9, 9})
                     .accepted());
}

TEST(MetafileRecords, EnhancedFontsAndPensHaveSizesASkinCanUse) {
    auto font = [](std::int64_t height) {
        return Enhanced().add(
            82, {1, height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    };
    EXPECT_TRUE(font(-1024).accepted());
    EXPECT_FALSE(font(30000).accepted());
    EXPECT_FALSE(Enhanced().add(emrCreatePen, {1, 0, 1025, 0, 0}).accepted());
}

TEST(MetafileRecords, OldStyleObjectsMustBeCreatedInTheTableAndNotDeleted) {
    auto pen = [] { return OldStyle().add(wmfCreatePen, {0, 1, 0, 0, 0}); };
    EXPECT_TRUE(pen().add(wmfSelect, {0}).add(wmfDelete, {0}).accepted());
    EXPECT_TRUE(pen().add(wmfCreatePen, {0, 1, 0, 0, 0}).add(wmfSelect, {1}).accepted());
    EXPECT_FALSE(pen().add(wmfDelete, {0xFFFF}).accepted());
    EXPECT_FALSE(pen().add(wmfSelect, {0x8000}).accepted());
    EXPECT_FALSE(pen().add(wmfSelect, {1}).accepted()) << "a free slot";
    EXPECT_FALSE(pen().add(wmfDelete, {0}).add(wmfSelect, {0}).accepted()) << "deleted";
    EXPECT_FALSE(pen().add(0x0234, {0}).accepted()) << "a pen selected as a palette";
    EXPECT_FALSE(OldStyle(1)
                     .add(wmfCreatePen, {0, 1, 0, 0, 0})
                     .add(wmfCreatePen, {0, 1, 0, 0, 0})
                     .accepted())
        << "a full table";
    for (std::uint16_t region : {0x012C, 0x0228, 0x012A, 0x012B})
        EXPECT_FALSE(pen().add(region, {0, 0}).accepted()) << "regions are not listed";
    EXPECT_FALSE(OldStyle().add(wmfEscape, {15, 0}).accepted()) << "escapes are not listed";
}

TEST(MetafileRecords, OldStyleCountsStayWithinTheRecord) {
    EXPECT_TRUE(OldStyle().add(wmfPolyPolygon, {2, 1, 1, 0, 0, 5, 5}).accepted());
    EXPECT_FALSE(OldStyle().add(wmfPolyPolygon, {2, 1, 0x7FFF, 0, 0, 5, 5}).accepted());
    EXPECT_FALSE(OldStyle().add(wmfPolyPolygon, {0x7FFF, 1}).accepted());
    EXPECT_FALSE(OldStyle().add(0x0324, {4, 0, 0, 5, 5}).accepted()) << "a polygon's points";
    EXPECT_FALSE(OldStyle().add(0x0521, {9, 0x4B45, 0, 0}).accepted()) << "a text's characters";

    // A font's face name ends inside the record, and its size stays a skin's.
    auto font = [](std::int64_t height, std::int64_t face) {
        return OldStyle().add(wmfCreateFont, {height, 0, 0, 0, 400, 0, 0, 0, 0, face});
    };
    EXPECT_TRUE(font(-1024, 0x0041).accepted());
    EXPECT_FALSE(font(-1025, 0x0041).accepted());
    EXPECT_FALSE(font(16, 0x4141).accepted()) << "a face name without its end";
}

TEST(MetafileRecords, OldStyleStatesAndMappingCannotGrowWithoutBound) {
    OldStyle saved;
    for (int i = 0; i < 64; ++i)
        saved.add(0x001E, {});
    EXPECT_TRUE(saved.accepted());
    EXPECT_FALSE(saved.add(0x001E, {}).accepted());
    EXPECT_TRUE(OldStyle().add(0x001E, {}).add(0x0127, {1}).accepted()) << "the first state";
    EXPECT_FALSE(OldStyle().add(0x0127, {-1}).accepted()) << "no state saved";

    // Extents are kept as y, then x; only the x axis enlarges past the limit.
    auto mapped = [](std::int64_t viewportX) {
        return OldStyle()
            .add(0x020C, {10, 10})
            .add(0x020E, {40, viewportX})
            .add(0x041B, {9, 9, 0, 0});
    };
    EXPECT_TRUE(mapped(40).accepted());
    EXPECT_FALSE(mapped(41).accepted());
}

// The player maps a placeable frame onto pixels at 96 to the inch, and the
// metafile's window onto that.
TEST(MetafileRecords, APlaceableFrameCountsInTheEnlargement) {
    const OldStyle rectangle = OldStyle().add(0x041B, {9, 9, 0, 0});
    EXPECT_TRUE(rectangle.acceptedPlaceable(40, 96));
    EXPECT_TRUE(rectangle.acceptedPlaceable(1440, 1440));
    EXPECT_TRUE(rectangle.acceptedPlaceable(40, 24));
    EXPECT_FALSE(rectangle.acceptedPlaceable(40, 23));
    EXPECT_FALSE(rectangle.acceptedPlaceable(40, 1)) << "a frame of 40 inches";
    // A window of one unit on the frame of 40 pixels.
    EXPECT_FALSE(
        OldStyle().add(0x020C, {1, 1}).add(0x041B, {9, 9, 0, 0}).acceptedPlaceable(40, 96));
}

namespace {

// Ellipses of `side` units a side drawn with a pen `pen` units wide.
OldStyle ellipses(std::int64_t pen, int count, std::int64_t side) {
    return OldStyle()
        .add(wmfCreatePen, {0, pen, 0, 0, 0})
        .add(wmfSelect, {0})
        .repeat(wmfEllipse, {side, side, 0, 0}, count);
}

// Text of `characters` letters in a font `size` units high.
OldStyle text(std::int64_t size, std::int64_t characters) {
    std::vector<std::int64_t> words{characters};
    words.insert(words.end(), (characters + 1) / 2, 0x4B45);
    words.insert(words.end(), {0, 0});
    return OldStyle()
        .add(wmfCreateFont, {size, 0, 0, 0, 400, 0, 0, 0, 0, 0})
        .add(wmfSelect, {0})
        .add(wmfTextOut, words);
}

} // namespace

// Each record within its limits, the whole file may still ask for more
// drawing than a skin's preview can wait for: a thousand ellipses over the
// whole range with the widest pen froze it for seconds.
TEST(MetafileRecords, AWholeFilesDrawingIsBoundedNotOnlyEachRecord) {
    EXPECT_TRUE(ellipses(1, 10, 100).accepted());
    EXPECT_FALSE(ellipses(1, 1000, 100).accepted()) << "each of them allowed";
    EXPECT_FALSE(ellipses(1024, 1000, 32767).accepted());
    EXPECT_FALSE(ellipses(1024, 1, 32767).accepted()) << "one is too much already";
    EXPECT_TRUE(ellipses(2, 1, 100).accepted());
    EXPECT_FALSE(ellipses(64, 2, 1000).accepted()) << "a wide pen strokes a curve slowly";

    EXPECT_TRUE(text(16, 4096).accepted());
    EXPECT_FALSE(text(1024, 4096).accepted()) << "each character by its size";
    EXPECT_TRUE(text(1024, 4).accepted());

    EXPECT_TRUE(OldStyle().repeat(wmfBackground, {0xFF, 0}, 10000).accepted());
    EXPECT_FALSE(OldStyle().repeat(wmfBackground, {0xFF, 0}, 100000).accepted())
        << "every record costs";
}

// The pen that draws is the one selected, as the saved states bring it back;
// the mapping's scale counts, a placeable frame's too.
TEST(MetafileRecords, DrawingIsWeighedWithTheSelectedPenAndTheMapping) {
    auto wideThenRestored = [](bool restored) {
        OldStyle file = OldStyle()
                            .add(wmfCreatePen, {0, 1, 0, 0, 0})
                            .add(wmfCreatePen, {0, 64, 0, 0, 0})
                            .add(wmfSelect, {0})
                            .add(wmfSaveDc, {})
                            .add(wmfSelect, {1});
        if (restored)
            file.add(wmfRestoreDc, {-1});
        return file.repeat(wmfEllipse, {1000, 1000, 0, 0}, 2);
    };
    EXPECT_TRUE(wideThenRestored(true).accepted());
    EXPECT_FALSE(wideThenRestored(false).accepted());

    // A path traced with a thin pen is stroked with the one selected then.
    auto strokedPath = [](std::int64_t pen) {
        return Enhanced()
            .add(emrCreatePen, {1, 0, 1, 0, 0})
            .add(emrSelect, {1})
            .add(emrBeginPath, {})
            .add(emrEllipse, {0, 0, 1000, 1000})
            .add(emrEndPath, {})
            .add(emrCreatePen, {2, 0, pen, 0, 0})
            .add(emrSelect, {2})
            .add(emrStrokePath, {0, 0, 1000, 1000});
    };
    EXPECT_TRUE(strokedPath(1).accepted());
    EXPECT_FALSE(strokedPath(64).accepted());

    EXPECT_FALSE(ellipses(1, 10, 1000).acceptedPlaceable(1000, 96));
    EXPECT_TRUE(ellipses(1, 10, 1000).acceptedPlaceable(1000, 960)) << "a tenth of the size";
}
