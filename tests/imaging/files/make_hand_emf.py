#!/usr/bin/env python3
# Writes the hand-laid enhanced metafiles of this folder, record by record after the format's
# documents, behind the header of libEMF's 160 x 80 frame (fuzz/seeds/emf/libemf-shapes.emf).
#   hand-rop2-hatch.emf  a green bar over the lower half, a rectangle with R2_NOT across it, and
#                        a black cross-hatched rectangle on a transparent background
#   hand-rop2-more.emf   a green bar, then rectangles with R2_XORPEN, R2_MASKPEN and R2_MERGEPEN
#                        in red across it, and one filled with a 2 x 2 DIB pattern brush
#   hand-rop2-all.emf    a green bar, then sixteen red rectangles across it, 10 units apart,
#                        drawn with the raster operations R2_BLACK (1) to R2_WHITE (16) in turn
#   hand-clip.emf        the frame filled through clip regions combined in each way: blue less a
#                        left strip (subtracted with no clip yet), red through two rectangles
#                        intersected, green through two combined exclusive-or, black through a
#                        clip rectangle less an excluded one inside it
import struct

base = open("../../../fuzz/seeds/emf/libemf-shapes.emf", "rb").read()
header_bytes = struct.unpack_from("<I", base, 4)[0]
at = header_bytes
while True:
    kind, size = struct.unpack_from("<II", base, at)
    if kind == 14:  # EMR_EOF
        eof = base[at : at + size]
        break
    at += size


def record(kind, fmt, *values):
    body = struct.pack("<" + fmt, *values)
    return struct.pack("<II", kind, 8 + len(body)) + body


def write(name, records, handles):
    data = bytearray(base[:header_bytes]) + b"".join(records) + eof
    struct.pack_into("<I", data, 48, len(data))  # nBytes
    struct.pack_into("<I", data, 52, len(records) + 2)  # nRecords, with header and end
    struct.pack_into("<H", data, 56, handles)  # nHandles
    open(name, "wb").write(bytes(data))


NULL_PEN, SELECT, BRUSH, RECT, ROP2, BKMODE = 0x80000008, 37, 39, 43, 20, 18
# No pen, and a solid green bar (brush 1; COLORREF 0x00bbggrr) over the lower half.
green_bar = [
    record(SELECT, "I", NULL_PEN),
    record(BRUSH, "IIII", 1, 0, 0x0000A000, 0),
    record(SELECT, "I", 1),
    record(RECT, "4i", 0, 40, 160, 80),
]
write(
    "hand-rop2-hatch.emf",
    green_bar
    + [
        record(ROP2, "I", 6),  # R2_NOT
        record(RECT, "4i", 10, 20, 40, 60),
        record(ROP2, "I", 13),  # R2_COPYPEN
        record(BKMODE, "I", 1),  # transparent
        record(BRUSH, "IIII", 2, 2, 0x00000000, 4),  # hatched, black, HS_CROSS
        record(SELECT, "I", 2),
        record(RECT, "4i", 90, 5, 150, 35),
    ],
    3,
)

# A 2 x 2 24-bit DIB (bottom-up rows, each padded to 4 bytes): blue and white on top, white
# and blue below: a checker of single pixels.
info = struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, 16, 0, 0, 0, 0)
bits = bytes([255, 255, 255, 255, 0, 0, 0, 0]) + bytes([255, 0, 0, 255, 255, 255, 0, 0])
# EMR_CREATEDIBPATTERNBRUSHPT: ihBrush, iUsage, offBmi, cbBmi, offBits, cbBits, then the DIB.
pattern = record(94, "IIIIII", 3, 0, 32, len(info), 32 + len(info), len(bits)) + info + bits
pattern = struct.pack("<II", 94, len(pattern)) + pattern[8:]
red = record(BRUSH, "IIII", 2, 0, 0x000000FF, 0)
write(
    "hand-rop2-more.emf",
    green_bar
    + [
        red,
        record(SELECT, "I", 2),
        record(ROP2, "I", 7),  # R2_XORPEN
        record(RECT, "4i", 10, 20, 40, 60),
        record(ROP2, "I", 9),  # R2_MASKPEN
        record(RECT, "4i", 50, 20, 80, 60),
        record(ROP2, "I", 15),  # R2_MERGEPEN
        record(RECT, "4i", 90, 20, 120, 60),
        record(ROP2, "I", 13),
        pattern,
        record(SELECT, "I", 3),
        record(RECT, "4i", 130, 5, 150, 25),
    ],
    4,
)

write(
    "hand-rop2-all.emf",
    green_bar
    + [red, record(SELECT, "I", 2)]
    + [r for code in range(1, 17) for r in (
        record(ROP2, "I", code),
        record(RECT, "4i", 10 * (code - 1) + 1, 20, 10 * (code - 1) + 9, 60),
    )]
    + [record(ROP2, "I", 13)],
    3,
)


def region(mode, *rects):
    """EMR_EXTSELECTCLIPRGN of device rectangles (left, top, right, bottom) in the mode."""
    header = struct.pack("<IIII4i", 32, 1, len(rects), 16 * len(rects), 0, 0, 160, 80)
    data = header + b"".join(struct.pack("<4i", *r) for r in rects)
    body = struct.pack("<II", len(data), mode) + data
    return struct.pack("<II", 75, 8 + len(body)) + body


def fill(handle, colour):
    return [record(BRUSH, "IIII", handle, 0, colour, 0), record(SELECT, "I", handle),
            record(RECT, "4i", 0, 0, 160, 80)]


RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY = 1, 2, 3, 4, 5
write(
    "hand-clip.emf",
    [record(SELECT, "I", NULL_PEN), region(RGN_DIFF, (0, 0, 20, 80))]
    + fill(1, 0x00FF0000)  # blue
    + [record(75, "II", 0, RGN_COPY),  # no clip
       region(RGN_COPY, (30, 10, 60, 40)), region(RGN_AND, (40, 20, 80, 50))]
    + fill(2, 0x000000FF)  # red
    + [region(RGN_COPY, (90, 10, 120, 40)), region(RGN_XOR, (100, 20, 130, 50))]
    + fill(3, 0x00008000)  # green
    + [record(75, "II", 0, RGN_COPY),
       record(30, "4i", 130, 50, 150, 70),  # EMR_INTERSECTCLIPRECT
       record(29, "4i", 135, 55, 145, 65)]  # EMR_EXCLUDECLIPRECT
    + fill(4, 0x00000000),
    5,
)
