#!/usr/bin/env python3
"""Writes the crafted seed files of the picture fuzz targets into
tests/fuzz/corpus/: bitmaps of every depth, header and compression, icons with
bitmap and PNG images, enhanced, old-style and placeable metafiles. The other
seeds are real files (MAME's own output, settings files, ImageMagick's
pictures) kept as they are, but for settings files in UTF-16 without a mark,
which no program of ours writes."""
import os
import random
import struct
import zlib

corpus = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def save(kind, name, data):
    os.makedirs(os.path.join(corpus, kind), exist_ok=True)
    with open(os.path.join(corpus, kind, name), "wb") as out:
        out.write(data)


def rows(width, height, depth, pixel):
    """Rows padded to four bytes; pixel(x, y) gives the row's bytes or index."""
    data = b""
    for y in range(height):
        if depth < 8:
            bits = "".join(format(pixel(x, y), "0%db" % depth) for x in range(width))
            bits += "0" * (-len(bits) % 8)
            row = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
        else:
            row = b"".join(pixel(x, y) for x in range(width))
        data += row + b"\0" * (-len(row) % 4)
    return data


def bitmap(header, colours, pixels, offset=None):
    start = 14 + len(header) + len(colours)
    return (b"BM" + struct.pack("<IHHI", start + len(pixels), 0, 0,
                                start if offset is None else offset) + header + colours + pixels)


def info(width, height, depth, compression=0, size_image=0, used=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, depth, compression, size_image,
                       2835, 2835, used, 0)


def palette(count):
    return b"".join(struct.pack("<BBBB", 255 * i // max(count - 1, 1), 80, 255 - 255 * i //
                                max(count - 1, 1), 0) for i in range(count))


def bitmaps():
    bgr = lambda x, y: bytes([40 * x, 60 * y, 200])
    save("bitmap", "1bit.bmp", bitmap(info(9, 3, 1), palette(2), rows(9, 3, 1, lambda x, y: (x + y) % 2)))
    save("bitmap", "4bit.bmp", bitmap(info(6, 3, 4), palette(16), rows(6, 3, 4, lambda x, y: x + 5 * y)))
    save("bitmap", "8bit-4colours.bmp",
         bitmap(info(5, 3, 8, used=4), palette(4), rows(5, 3, 8, lambda x, y: bytes([(x + y) % 4]))))
    save("bitmap", "16bit-555.bmp",
         bitmap(info(4, 2, 16), b"", rows(4, 2, 16, lambda x, y: struct.pack("<H", x << 10 | y << 5))))
    save("bitmap", "16bit-565-masks.bmp",
         bitmap(info(4, 2, 16, 3), struct.pack("<III", 0xF800, 0x07E0, 0x001F),
                rows(4, 2, 16, lambda x, y: struct.pack("<H", x << 11 | y << 5 | 3))))
    save("bitmap", "24bit.bmp", bitmap(info(3, 2, 24), b"", rows(3, 2, 24, bgr)))
    save("bitmap", "24bit-top-down.bmp", bitmap(info(3, -2, 24), b"", rows(3, 2, 24, bgr)))
    save("bitmap", "24bit-no-offset.bmp", bitmap(info(3, 2, 24), b"", rows(3, 2, 24, bgr), offset=0))
    save("bitmap", "32bit.bmp", bitmap(info(2, 2, 32), b"", rows(2, 2, 32, lambda x, y: bgr(x, y) + b"\xff")))
    v5 = bytearray(124)
    v5[:40] = info(2, 2, 32, 3)
    v5[0:4] = struct.pack("<I", 124)
    v5[40:56] = struct.pack("<IIII", 0xFF0000, 0xFF00, 0xFF, 0xFF000000)
    v5[56:60] = b"BGRs"
    save("bitmap", "32bit-v5-masks.bmp", bitmap(bytes(v5), b"", rows(2, 2, 32, lambda x, y: bgr(x, y) + b"\x80")))
    runs8 = bytes([4, 1, 0, 0, 2, 0, 2, 1, 0, 1])
    save("bitmap", "rle8.bmp", bitmap(info(4, 2, 8, 1, len(runs8), 2), palette(2), runs8))
    runs4 = bytes([4, 0x12, 0, 0, 0, 4, 0x12, 0x34, 0, 1])
    save("bitmap", "rle4.bmp", bitmap(info(4, 2, 4, 2, len(runs4), 5), palette(5), runs4))
    core = lambda depth: struct.pack("<IHHHH", 12, 4, 2, 1, depth)
    save("bitmap", "core-24bit.bmp", bitmap(core(24), b"", rows(4, 2, 24, bgr)))
    save("bitmap", "core-8bit.bmp",
         bitmap(core(8), b"".join(bytes([i, 40, 255 - i]) for i in range(256)),
                rows(4, 2, 8, lambda x, y: bytes([x + y]))))


def icon_image(side, depth=32):
    header = info(side, 2 * side, depth)
    pixels = rows(side, side, 32, lambda x, y: bytes([200, 10 * x, 10 * y, 255]))
    mask = rows(side, side, 1, lambda x, y: 0)
    return header + pixels + mask


def png(side, depth=8, colour_type=6, raw=None, level=-1):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    if raw is None:
        raw = b"".join(b"\0" + bytes([30, 200, 90, 255]) * side for _ in range(side))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, depth, colour_type, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, level)) + chunk(b"IEND", b""))


def icon(images):
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for side, image in images:
        entries += struct.pack("<BBBBHHII", side % 256, side % 256, 0, 0, 1, 32, len(image),
                               offset + len(data))
        data += image
    return head + entries + data


def icons():
    save("icon", "two-sizes.ico", icon([(8, icon_image(8)), (16, icon_image(16))]))
    save("icon", "png.ico", icon([(16, icon_image(16)), (256, png(256))]))
    # A decompression bomb: a white square of 23,000 pixels a side at one bit
    # a pixel, which the system decodes to 2 GB of 32-bit pixels.
    side = 23000
    row = b"\0" + b"\xff" * ((side + 7) // 8)
    save("icon", "finding-png-bomb.ico", icon([(0, png(side, 1, 0, row * side, 9))]))


def record(kind, data):
    return struct.pack("<II", kind, 8 + len(data)) + data


RECTANGLE = record(43, struct.pack("<iiii", 0, 0, 40, 40))


def enhanced(description=b"", body=RECTANGLE, handles=1, side=40):
    """A picture of side pixels a side at 96 to the inch."""
    records = 2 + enhanced_records(body)
    body += record(14, struct.pack("<III", 0, 16, 20))  # end of file
    size = 108 + len(description)
    total = size + len(body)
    frame = side * 2540 // 96
    header = struct.pack("<II", 1, size) + struct.pack("<iiii", 0, 0, side, side)
    header += struct.pack("<iiii", 0, 0, frame, frame) + struct.pack("<IIII", 0x464D4520, 0x10000,
                                                                      total, records)
    header += struct.pack("<HHIII", handles, 0, len(description) // 2,
                          108 if description else 0, 0)
    header += struct.pack("<iiii", 1024, 768, 320, 240) + struct.pack("<III", 0, 0, 0)
    header += struct.pack("<ii", 320000, 240000)
    return header + description + body


def enhanced_records(body):
    count, at = 0, 0
    while at < len(body):
        at += struct.unpack_from("<I", body, at + 4)[0]
        count += 1
    return count


def dib8(width=4, height=2, compression=0, pixels=None, colours=4):
    """A 4-colour 8-bit bitmap as records carry it: header with colours, pixels."""
    if pixels is None:
        pixels = rows(width, height, 8, lambda x, y: bytes([(x + y) % colours]))
    size_image = len(pixels) if compression else 0
    return info(width, height, 8, compression, size_image, colours) + palette(colours), pixels


def dib32(width=4, height=2):
    return info(width, height, 32), rows(width, height, 32, lambda x, y: bytes([60 * x, 90 * y, 200, 128]))


def dib1():
    return info(8, 8, 1), rows(8, 8, 1, lambda x, y: (x + y) % 2)


def emf_bitmap_record(kind, fields, bitmaps):
    """A record whose fixed fields (after type and size) are followed by its
    bitmaps; fields is a function of the bitmaps' (offBmi, cbBmi, offBits,
    cbBits) tuples giving the fixed fields' bytes."""
    fixed = 8 + len(fields([(0, 0, 0, 0)] * len(bitmaps)))
    at, places, data = fixed, [], b""
    for header, pixels in bitmaps:
        places.append((at, len(header), at + len(header), len(pixels)))
        data += header + pixels
        at += len(header) + len(pixels)
    return record(kind, fields(places) + data)


SRCCOPY = 0x00CC0020
IDENTITY = struct.pack("<ffffff", 1, 0, 0, 1, 0, 0)


def blit_fields(extra=b""):
    def fields(places):
        (source,) = places[:1]
        out = struct.pack("<iiii", 0, 0, 3, 1) + struct.pack("<iiiiI", 0, 0, 4, 2, SRCCOPY)
        out += struct.pack("<ii", 0, 0) + IDENTITY + struct.pack("<II", 0, 0)
        out += struct.pack("<IIII", *source) + extra
        for mask in places[1:]:
            out += struct.pack("<iiI", 0, 0, 2) + struct.pack("<IIII", *mask)
        return out
    return fields


def stretch_fields(usage=0):
    def fields(places):
        out = struct.pack("<iiii", 0, 0, 7, 3) + struct.pack("<iiiiii", 0, 0, 0, 0, 4, 2)
        return out + struct.pack("<IIIIIIii", *places[0], usage, SRCCOPY, 8, 4)
    return fields


def to_device_fields(places):
    out = struct.pack("<iiii", 0, 0, 3, 1) + struct.pack("<iiiiii", 0, 0, 0, 0, 4, 2)
    return out + struct.pack("<IIIIIII", *places[0], 0, 0, 2)


def brush_fields(kind_usage):
    return lambda places: struct.pack("<II", 1, kind_usage) + struct.pack("<IIII", *places[0])


def enhanced_bitmaps():
    select = record(37, struct.pack("<I", 1))
    seeds = {
        "stretchdibits.emf": emf_bitmap_record(81, stretch_fields(), [dib8()]),
        "bitblt.emf": emf_bitmap_record(76, blit_fields(), [dib8()]),
        "stretchblt.emf": emf_bitmap_record(77, blit_fields(struct.pack("<ii", 4, 2)), [dib8()]),
        "alphablend.emf": emf_bitmap_record(114, blit_fields(struct.pack("<ii", 4, 2)), [dib32()]),
        "maskblt.emf": emf_bitmap_record(78, blit_fields(), [dib8(), dib1()]),
        "setdibitstodevice.emf": emf_bitmap_record(80, to_device_fields, [dib32()]),
        "patternbrush.emf": emf_bitmap_record(94, brush_fields(0), [dib8()]) + select + RECTANGLE,
        "monobrush.emf": emf_bitmap_record(93, brush_fields(2), [dib1()]) + select + RECTANGLE,
    }
    for name, body in seeds.items():
        save("emf", name, enhanced(body=body, handles=2))
    rle = dib8(1, 1, 1, bytes([1, 5, 0, 0, 0, 1]), 256)
    save("emf", "finding-rle8-stretchdibits.emf",
         enhanced(body=emf_bitmap_record(81, stretch_fields(), [rle])))


def wmf_record(function, words=b""):
    return struct.pack("<IH", 3 + len(words) // 2, function) + words


def old_style(records, objects=0):
    records += wmf_record(0)  # end of file
    largest, at = 0, 0
    while at < len(records):
        size = struct.unpack_from("<I", records, at)[0]
        largest, at = max(largest, size), at + 2 * size
    words = (18 + len(records)) // 2
    return struct.pack("<HHHIHIH", 1, 9, 0x300, words, objects, largest, 0) + records


def placeable(metafile, units_per_inch=96, side=40):
    head = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, side, side, units_per_inch, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", head):
        checksum ^= word
    return head + struct.pack("<H", checksum) + metafile


def old_bitmaps():
    header, pixels = dib8()
    bitmap = header + pixels
    rop = struct.pack("<HH", SRCCOPY & 0xFFFF, SRCCOPY >> 16)
    rectangle = wmf_record(0x041B, struct.pack("<hhhh", 40, 40, 0, 0))
    seeds = {
        "stretchdib.wmf": wmf_record(0x0F43, rop + struct.pack("<H8h", 0, 2, 4, 0, 0, 4, 8, 0, 0)
                                     + bitmap),
        "dibstretchblt.wmf": wmf_record(0x0B41, rop + struct.pack("<8h", 2, 4, 0, 0, 4, 8, 0, 0)
                                        + bitmap),
        "dibbitblt.wmf": wmf_record(0x0940, rop + struct.pack("<6h", 0, 0, 2, 4, 0, 0) + bitmap),
        "setdibtodev.wmf": wmf_record(0x0D33, struct.pack("<HHH6h", 0, 2, 0, 0, 0, 2, 4, 0, 0)
                                      + bitmap),
        "patternbrush.wmf": wmf_record(0x0142, struct.pack("<HH", 5, 0) + bitmap)
                            + wmf_record(0x012D, struct.pack("<H", 0)) + rectangle,
    }
    for name, records in seeds.items():
        save("wmf", name, placeable(old_style(records, objects=1)))
    # A skin that ended the program: one pixel of compressed pixels, which the
    # system's player failed on.
    header, pixels = dib8(1, 1, 1, bytes([1, 5, 0, 0, 0, 1]), 256)
    stretch = wmf_record(0x0F43, rop + struct.pack("<H8h", 0, 1, 1, 0, 0, 1, 1, 0, 0)
                         + header + pixels)
    save("wmf", "finding-rle8-stretchdib.wmf", placeable(old_style(stretch)))


def wmf_text(text):
    return text + b"\0" * (len(text) % 2)


def old_objects():
    """A metafile that draws with objects, and the crafted ones that name
    objects never created, or whose counts run past their record."""
    pen = wmf_record(0x02FA, struct.pack("<HhhI", 0, 2, 0, 0x0000FF))
    brush = wmf_record(0x02FC, struct.pack("<HIH", 0, 0x00FF00, 0))
    font = wmf_record(0x02FB, struct.pack("<5h8B", -16, 0, 0, 0, 400, *[0] * 8) + b"Arial\0")
    select = lambda index: wmf_record(0x012D, struct.pack("<H", index))
    delete = lambda index: wmf_record(0x01F0, struct.pack("<H", index))
    triangle = struct.pack("<6h", 0, 0, 30, 0, 15, 30)
    drawing = (wmf_record(0x0324, struct.pack("<H", 3) + triangle)
               + wmf_record(0x0538, struct.pack("<3H", 2, 3, 3) + triangle + triangle)
               + wmf_record(0x0521, struct.pack("<H", 5) + wmf_text(b"SKIN!") + struct.pack("<hh", 4, 4))
               + wmf_record(0x0A32, struct.pack("<hhHH", 20, 4, 3, 0) + wmf_text(b"KES")))
    save("wmf", "objects.wmf", old_style(pen + brush + font + select(0) + select(1) + select(2)
                                         + wmf_record(0x001E) + drawing
                                         + wmf_record(0x0127, struct.pack("<h", -1))
                                         + delete(0) + delete(1) + delete(2), objects=3))
    unknown = {
        "finding-delete-unknown-object.wmf": pen + delete(0xFFFF),
        "finding-select-unknown-object.wmf": pen + select(0x8000),
        "finding-select-unknown-palette.wmf": wmf_record(0x0234, struct.pack("<H", 0xFFFF)),
        "finding-select-clip-region.wmf": wmf_record(0x012C, struct.pack("<H", 0xFFFF)),
        "finding-fill-region.wmf": wmf_record(0x0228, struct.pack("<HH", 0xFFFF, 0x8000)),
        "finding-invert-region.wmf": wmf_record(0x012A, struct.pack("<H", 0x8000)),
        "finding-paint-region.wmf": wmf_record(0x012B, struct.pack("<H", 0xFFFF)),
        "finding-polypolygon-counts.wmf": wmf_record(0x0538, struct.pack("<3H", 2, 3, 0x7FFF) + triangle),
    }
    for name, records in unknown.items():
        save("wmf", name, old_style(records, objects=1))
    # A window of one unit that the player stretches over a frame of 40
    # inches: the arc's radius in pixels grew the player's memory past 11 GB.
    window = wmf_record(0x020C, struct.pack("<hh", 1, 1))
    arc = wmf_record(0x0817, struct.pack("<8h", 0, 32767, 0, -32767, 32767, 32767, -32767, -32767))
    save("wmf", "finding-placeable-enlarged.wmf", placeable(old_style(window + arc), units_per_inch=1))


def emf_text(x, y, text, string_at=76, dx_at=None):
    """Wide text after the fixed fields, then the spacing of each character."""
    chars = text.encode("utf-16-le")
    chars += b"\0" * (-len(chars) % 4)
    count = len(text)
    if dx_at is None:
        dx_at = 76 + len(chars)
    fields = struct.pack("<iiii", 0, 0, 0, 0) + struct.pack("<Iff", 1, 1, 1)
    fields += struct.pack("<iiIII", x, y, count, string_at, 0) + struct.pack("<iiii", 0, 0, 0, 0)
    return record(84, fields + struct.pack("<I", dx_at) + chars + struct.pack("<%di" % count, *[8] * count))


def emf_font(index, height):
    logfont = struct.pack("<5i8B", height, 0, 0, 0, 400, *[0] * 8)
    return record(82, struct.pack("<I", index) + logfont + "Arial".encode("utf-16-le").ljust(64, b"\0"))


def enhanced_objects():
    """A metafile that draws with objects, and the crafted ones whose
    indexes, counts, offsets or sizes its player would trust."""
    select = lambda index: record(37, struct.pack("<I", index))
    delete = lambda index: record(40, struct.pack("<I", index))
    pen = record(38, struct.pack("<IIiiI", 1, 0, 2, 0, 0x0000FF))
    triangle = struct.pack("<6h", 0, 0, 30, 0, 15, 30)
    drawing = (record(87, struct.pack("<iiiiI", 0, 0, 30, 30, 3) + triangle)
               + record(91, struct.pack("<iiiiIIII", 0, 0, 30, 30, 2, 6, 3, 3) + triangle + triangle)
               + emf_text(4, 4, "SKIN"))
    body = (pen + select(1) + emf_font(2, -16) + select(2) + record(33, b"") + drawing
            + record(34, struct.pack("<i", -1)) + select(0x80000007) + delete(1) + delete(2))
    save("emf", "objects.emf", enhanced(body=body, handles=3))
    arc = struct.pack("<8i", -8388607, -8388607, 8388607, 8388607, 8388607, 0, -8388607, 0)
    crafted = {
        "finding-select-unknown-object.emf": pen + select(0xFFFF),
        "finding-delete-unknown-object.emf": delete(1),
        "finding-polyline-count.emf": record(87, struct.pack("<iiiiI", 0, 0, 30, 30, 0x10000000) + triangle),
        "finding-exttextoutw-offset.emf": emf_text(4, 4, "SKIN", string_at=0x7FFFFFF0),
        "finding-arcto-huge.emf": record(55, arc),
        "finding-font-height.emf": emf_font(1, 30000) + select(1) + emf_text(4, 4, "SKIN"),
        "finding-savedc-stack.emf": record(33, b"") * 100,
    }
    for name, body in crafted.items():
        save("emf", name, enhanced(body=body, handles=2))


def drawing_budget():
    """Metafiles whose every record is allowed but whose whole drawing is
    not: what froze the preview for seconds or minutes ("finding-..."); and
    the costliest of each kind that the check lets through, found with
    tests/bench/metafile_bench, on a frame of 1000 pixels that shows all of
    their drawing."""
    side = 32767
    pen = lambda width, style=0: wmf_record(0x02FA, struct.pack("<HhhI", style, width, 0, 0x0000FF))
    select = wmf_record(0x012D, struct.pack("<H", 0))
    ellipse = lambda l, t, r, b: wmf_record(0x0418, struct.pack("<hhhh", b, r, t, l))
    font = lambda size: wmf_record(0x02FB, struct.pack("<5h8B", -size, 0, 0, 0, 400, *[0] * 8) + b"Arial\0")
    letters = bytes(33 + i % 94 for i in range(4096))
    text = wmf_record(0x0521, struct.pack("<H", 4096) + letters + struct.pack("<hh", 0, 0))
    states = wmf_record(0x001E) + wmf_record(0x0127, struct.pack("<h", -1))
    scatter = random.Random(7)
    points = [(scatter.randrange(1000), scatter.randrange(1000)) for _ in range(5000)]
    polygon = lambda count: wmf_record(0x0324, struct.pack("<H", count) + b"".join(
        struct.pack("<hh", x, y) for x, y in points[:count]))
    zigzag = [((10 * i) % 1000, 500 + 10 * (i % 2)) for i in range(3112)]
    polyline = wmf_record(0x0325, struct.pack("<H", len(zigzag)) + b"".join(
        struct.pack("<hh", x, y) for x, y in zigzag))
    frame = lambda records: placeable(old_style(records, objects=1), side=1000)
    save("wmf", "finding-wide-ellipses.wmf", old_style(pen(1024) + select + ellipse(-side, -side, side, side) * 1000, objects=1))
    save("wmf", "finding-large-text.wmf", frame(font(1024) + select + text * 10))
    save("wmf", "finding-crossing-polygon.wmf", frame(pen(1) + select + polygon(5000)))
    save("wmf", "finding-saved-states.wmf", frame(states * 2000))
    save("wmf", "budget-ellipses.wmf", frame(pen(1) + select + ellipse(0, 0, 1000, 1000) * 5))
    save("wmf", "budget-crossing-polygon.wmf", frame(pen(1) + select + polygon(80)))
    save("wmf", "budget-saved-states.wmf", frame(states * 839))
    save("wmf", "budget-wide-polyline.wmf", frame(pen(16) + select + polyline))

    stretch = lambda width, height: emf_bitmap_record(81, lambda places: (
        struct.pack("<iiii", 0, 0, width, height) + struct.pack("<iiiiii", -side, -side, 0, 0, 1, 1)
        + struct.pack("<IIIIIIii", *places[0], 0, SRCCOPY, width, height)), [dib32(1, 1)])
    blend = emf_bitmap_record(114, blit_fields(struct.pack("<ii", 1, 1)), [dib32(1, 1)])
    blend = blend[:32] + struct.pack("<iiI", 1000, 1000, 0x01FF0000) + blend[44:]  # all of it, opaque
    turned = record(82, struct.pack("<I", 1) + struct.pack("<5i8B", -1024, 0, 450, 450, 400, *[0] * 8)
                    + "Arial".encode("utf-16-le").ljust(64, b"\0"))
    letters = "".join(chr(0x100 + i) for i in range(7))
    save("emf", "finding-stretched-pixels.emf", enhanced(body=stretch(2 * side, 2 * side) * 10))
    save("emf", "budget-alpha-blend.emf", enhanced(body=blend * 2, side=1000))
    save("emf", "budget-turned-text.emf", enhanced(body=turned + record(37, struct.pack("<I", 1))
                                                   + emf_text(0, 0, letters), handles=2, side=1000))


def metafiles():
    save("emf", "rectangle.emf", enhanced())
    save("emf", "described.emf", enhanced("KESTON\0skin\0\0\0".encode("utf-16-le")))
    enhanced_bitmaps()
    records = struct.pack("<IHhhhh", 7, 0x041B, 40, 40, 0, 0) + struct.pack("<IH", 3, 0)
    words = (18 + len(records)) // 2
    plain = struct.pack("<HHHIHIH", 1, 9, 0x300, words, 0, 7, 0) + records
    save("wmf", "rectangle.wmf", plain)
    save("wmf", "placeable.wmf", placeable(plain))
    old_bitmaps()
    old_objects()
    enhanced_objects()
    drawing_budget()


def unmarked_settings():
    text = "[config]\r\nmameexe=C:\\\u0418\u0433\u0440\u044b\\mame.exe\r\nxp=1\r\n"
    save("textencoding", "utf16le-unmarked.ini", text.encode("utf-16-le"))
    save("textencoding", "utf16be-unmarked.ini", text.encode("utf-16-be"))
    save("textencoding", "utf16le-unmarked-odd.ini", "; mine\n[config]".encode("utf-16-le") + b"x")
    save("textencoding", "nul-after-non-ascii.ini", "caf\u00e9\r\n".encode("utf-16-le"))


bitmaps()
icons()
metafiles()
unmarked_settings()
