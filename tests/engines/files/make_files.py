#!/usr/bin/env python3
# Writes the hand-laid test pictures of this folder, byte by byte after the formats' documents
# (run it here to make them again; the tests compare our decoding with other programs').
#   deferred-clear.gif    160 x 120, 16 colours of random-looking pixels: the LZW code table
#                         fills to 4096 entries, then 12-bit codes go on with no clear code
#   grey-run-past-end.tga 37 x 23 grey, run-length (type 11), bottom-up; runs cross rows and the
#                         last packet is a run of 128 that goes past the picture's end
import random
import struct


def lzw_deferred(pixels, min_bits):
    clear, stop = 1 << min_bits, (1 << min_bits) + 1
    out, acc, nbits, width = bytearray(), 0, 0, min_bits + 1

    def emit(code):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 255)
            acc >>= 8
            nbits -= 8

    table, nxt = {}, stop + 1
    emit(clear)
    prefix = pixels[0]
    for p in pixels[1:]:
        if (prefix, p) in table:
            prefix = table[(prefix, p)]
            continue
        emit(prefix)
        if nxt < 4096:  # once full, the table stays as it is: no clear code
            table[(prefix, p)] = nxt
            nxt += 1
            if nxt > (1 << width) and width < 12:
                width += 1
        prefix = p
    emit(prefix)
    emit(stop)
    if nbits:
        out.append(acc & 255)
    return bytes(out)


def gif():
    random.seed(20261209)
    w, h, bits = 160, 120, 4
    pixels = [random.randrange(16) for _ in range(w * h)]
    g = bytearray(b"GIF89a") + struct.pack("<HHBBB", w, h, 0xF0 | (bits - 1), 0, 0)
    for i in range(16):
        g += bytes([i * 17, 255 - i * 13, (i * 71) & 255])
    g += b"\x2c" + struct.pack("<HHHHB", 0, 0, w, h, 0) + bytes([bits])
    data = lzw_deferred(pixels, bits)
    for i in range(0, len(data), 255):
        chunk = data[i : i + 255]
        g += bytes([len(chunk)]) + chunk
    g += b"\x00\x3b"
    open("deferred-clear.gif", "wb").write(g)


def tga():
    random.seed(5)
    w, h = 37, 23
    pixels = [random.choice([0, 50, 50, 50, 200]) for _ in range(w * h)]
    rows = [pixels[y * w : (y + 1) * w] for y in range(h)][::-1]  # bottom row first
    flat = [p for row in rows for p in row]
    packets, i = [], 0
    while i < len(flat) - 1:
        j = i
        while j < len(flat) - 1 and flat[j] == flat[i] and j - i < 128:
            j += 1
        if j - i > 1:
            packets.append(bytes([0x80 | (j - i - 1), flat[i]]))
            i = j
        else:
            packets.append(bytes([0, flat[i]]))
            i += 1
    packets.append(bytes([0xFF, flat[-1]]))  # the last pixel, claimed 128 times
    header = bytes([0, 0, 11]) + bytes(5) + struct.pack("<HHHH", 0, 0, w, h) + bytes([8, 0])
    open("grey-run-past-end.tga", "wb").write(header + b"".join(packets))
    open("grey-run-past-end.pgm", "wb").write(b"P5 %d %d 255\n" % (w, h) + bytes(pixels))


gif()
tga()
