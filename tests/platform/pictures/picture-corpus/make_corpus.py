#!/usr/bin/python3
"""Writes the picture corpus into the folder this script is in.

PNG, GIF, BMP and ICO files are written byte by byte below; JPEG files by
cjpeg (libjpeg-turbo-progs) from a PPM written here, and the CMYK one by
Pillow (python3-pil). Only needed to make the files again: the build and the
tests use the committed files.
"""
import os
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- pictures


def colour(x, y, w, h):
    """Gradients with a few hard edges, so every pixel differs from its
    neighbours somewhere."""
    r = (x * 255) // max(w - 1, 1)
    g = (y * 255) // max(h - 1, 1)
    b = ((x ^ y) * 37 + (x * y) % 23) & 255
    if (x // 4 + y // 4) % 5 == 0:
        r, g, b = 255 - r, b, g
    return r, g, b


def alpha(x, y, w, h):
    return ((x + y) * 255) // max(w + h - 2, 1)


def palette16():
    return [(i * 17, 255 - i * 13, (i * 71) & 255) for i in range(16)]


def palette256():
    return [((i * 7) & 255, (i * 29 + 13) & 255, (255 - i)) for i in range(256)]


def index(x, y, n):
    return ((x * 3 + y * 5 + (x * y) // 7) % n)


# --------------------------------------------------------------------- PNG


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def pack_row(samples, depth):
    """One row of samples (already flattened over channels) at `depth`."""
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_rows(rows, bpp):
    """Each row with a filter of its own, the five in turn."""
    out, prev = bytearray(), bytes(len(rows[0])) if rows else b""
    for i, row in enumerate(rows):
        ftype = i % 5
        f = bytearray()
        for j, v in enumerate(row):
            a = row[j - bpp] if j >= bpp else 0
            b = prev[j]
            c = prev[j - bpp] if j >= bpp else 0
            pred = [0, a, b, (a + b) // 2, paeth(a, b, c)][ftype]
            f.append((v - pred) & 255)
        out.append(ftype)
        out += f
        prev = row
    return bytes(out)


CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def png_data(w, h, ctype, depth, px, interlace):
    bpp = max(1, CHANNELS[ctype] * depth // 8)
    if not interlace:
        rows = [pack_row([s for x in range(w) for s in px(x, y)], depth) for y in range(h)]
        return filter_rows(rows, bpp)
    out = b""
    for x0, y0, dx, dy in ADAM7:
        xs, ys = range(x0, w, dx), range(y0, h, dy)
        if not xs or not ys:
            continue
        rows = [pack_row([s for x in xs for s in px(x, y)], depth) for y in ys]
        out += filter_rows(rows, bpp)
    return out


def png(w, h, ctype, depth, px, interlace=False, palette=None, trns=None, before_idat=b"",
        idat_pieces=1, after_idat=b"", data=None, iend=True):
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, ctype, 0, 0, 1 if interlace else 0))
    out += before_idat
    if palette:
        out += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    if trns is not None:
        out += chunk(b"tRNS", trns)
    z = zlib.compress(data if data is not None else png_data(w, h, ctype, depth, px, interlace), 9)
    step = -(-len(z) // idat_pieces)
    for i in range(0, len(z), step):
        out += chunk(b"IDAT", z[i:i + step])
    out += after_idat
    if iend:
        out += chunk(b"IEND", b"")
    return out


def scale(v, depth):
    return (v * ((1 << depth) - 1) + 127) // 255


def grey(depth):
    return lambda x, y: [scale(sum(colour(x, y, W, H)) // 3, depth)]


def grey16(x, y):
    # The low byte matters too: 16-bit samples are cut to 8 bits when loaded.
    v = sum(colour(x, y, W, H)) // 3
    return [v * 256 + (x * 37 + y * 11) % 256]


def rgb8(x, y):
    return list(colour(x, y, W, H))


def rgb16(x, y):
    return [v * 256 + ((v * 7 + x + y) & 255) for v in colour(x, y, W, H)]


def rgba8(x, y):
    return list(colour(x, y, W, H)) + [alpha(x, y, W, H)]


def rgba16(x, y):
    return [v * 256 + ((v + x * y) & 255) for v in rgba8(x, y)]


def grey_alpha8(x, y):
    return grey(8)(x, y) + [alpha(x, y, W, H)]


def grey_alpha16(x, y):
    return [v * 256 + ((v * 3 + x) & 255) for v in grey_alpha8(x, y)]


def pal(n):
    return lambda x, y: [index(x, y, n)]


def idx(n):
    return lambda x, y: index(x, y, n)


W, H = 21, 13  # odd sizes: partial bytes at the end of packed rows


def pal_colours(n):
    return [((i * 255) // max(n - 1, 1), (i * 97) & 255, 255 - (i * 41) % 256) for i in range(n)]


def make_png():
    write("png-grey-1.png", png(W, H, 0, 1, grey(1)))
    write("png-grey-2.png", png(W, H, 0, 2, grey(2)))
    write("png-grey-4.png", png(W, H, 0, 4, grey(4)))
    write("png-grey-8.png", png(W, H, 0, 8, grey(8)))
    write("png-grey-16.png", png(W, H, 0, 16, grey16))
    write("png-grey-8-trns.png", png(W, H, 0, 8, grey(8), trns=struct.pack(">H", 85)))
    write("png-rgb-8.png", png(W, H, 2, 8, rgb8))
    write("png-rgb-16.png", png(W, H, 2, 16, rgb16))
    write("png-rgb-8-trns.png", png(W, H, 2, 8, rgb8, trns=struct.pack(">HHH", *colour(0, 0, W, H))))
    for depth in (1, 2, 4, 8):
        n = 1 << depth
        write(f"png-palette-{depth}.png", png(W, H, 3, depth, pal(n), palette=pal_colours(n)))
    write("png-palette-8-trns.png",
          png(W, H, 3, 8, pal(200), palette=pal_colours(200), trns=bytes((i * 5) & 255 for i in range(150))))
    write("png-grey-alpha-8.png", png(W, H, 4, 8, grey_alpha8))
    write("png-grey-alpha-16.png", png(W, H, 4, 16, grey_alpha16))
    write("png-rgba-8.png", png(W, H, 6, 8, rgba8))
    write("png-rgba-16.png", png(W, H, 6, 16, rgba16))
    write("png-interlaced-rgba-8.png", png(W, H, 6, 8, rgba8, interlace=True))
    write("png-interlaced-rgb-16.png", png(W, H, 2, 16, rgb16, interlace=True))
    write("png-interlaced-palette-4.png", png(W, H, 3, 4, pal(16), interlace=True, palette=pal_colours(16)))
    write("png-interlaced-grey-1.png", png(W, H, 0, 1, grey(1), interlace=True))
    # A picture smaller than the first interlace pass's step.
    write("png-interlaced-tiny.png", png(3, 2, 2, 8, rgb8, interlace=True))
    # Ancillary chunks before and after the data, the data in many chunks.
    text = (chunk(b"gAMA", struct.pack(">I", 45455)) + chunk(b"tEXt", b"Comment\0corpus") +
            chunk(b"zTXt", b"Title\0\0" + zlib.compress(b"a picture")) + chunk(b"pHYs", struct.pack(">IIB", 2835, 2835, 1)))
    write("png-chunks.png", png(W, H, 2, 8, rgb8, before_idat=text, idat_pieces=7,
                                after_idat=chunk(b"tIME", bytes(7))))
    iccp = chunk(b"iCCP", b"profile\0\0" + zlib.compress(bytes((i * 7) & 255 for i in range(600))))
    write("png-iccp.png", png(W, H, 6, 8, rgba8, before_idat=iccp))
    make_apng()
    # Files a loader must refuse: cut after the first of several data
    # chunks, without IEND, and with data for fewer rows than declared.
    whole = png(W, H, 2, 8, rgb8, idat_pieces=3)
    first_idat_end = whole.index(b"IDAT") - 4
    length = struct.unpack(">I", whole[first_idat_end:first_idat_end + 4])[0]
    write("png-cut-after-first-idat.png", whole[:first_idat_end + 12 + length])
    write("png-no-iend.png", png(W, H, 2, 8, rgb8, iend=False))
    write("png-short-data.png", png(W, H, 2, 8, rgb8, data=png_data(W, H - 4, 2, 8, rgb8, False)))


def make_apng():
    """Animated PNGs: the default picture as the first frame, and a default
    picture that is not part of the animation."""
    def fctl(seq, w, h, x, y):
        return chunk(b"fcTL", struct.pack(">IIIIIHHBB", seq, w, h, x, y, 1, 10, 0, 0))

    second = zlib.compress(png_data(8, 6, 6, 8, lambda x, y: [255, 0, x * 30, 200], False))
    frames = fctl(1, 8, 6, 3, 2) + chunk(b"fdAT", struct.pack(">I", 2) + second)
    base = png(W, H, 6, 8, rgba8, before_idat=chunk(b"acTL", struct.pack(">II", 2, 0)) + fctl(0, W, H, 0, 0),
               after_idat=frames)
    write("apng-first-frame-default.png", base)
    hidden = png(W, H, 6, 8, rgba8, before_idat=chunk(b"acTL", struct.pack(">II", 1, 0)),
                 after_idat=fctl(0, 8, 6, 0, 0) + chunk(b"fdAT", struct.pack(">I", 1) + second))
    write("apng-default-not-animated.png", hidden)


# --------------------------------------------------------------------- GIF


def lzw(indices, min_size):
    """LZW codes as GIF encoders write them: the code width grows as the
    table fills, and a clear code starts again when it is full."""
    clear, eoi = 1 << min_size, (1 << min_size) + 1
    out, acc, nbits = bytearray(), 0, 0
    width, next_code, table = min_size + 1, eoi + 1, {}

    def emit(code):
        nonlocal acc, nbits, width
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 255)
            acc >>= 8
            nbits -= 8
        if next_code >= (1 << width) and width < 12:
            width += 1

    emit(clear)
    prefix = indices[0]
    for k in indices[1:]:
        if (prefix, k) in table:
            prefix = table[(prefix, k)]
            continue
        emit(prefix)
        if next_code >= 4095:
            emit(clear)
            width, next_code, table = min_size + 1, eoi + 1, {}
        else:
            table[(prefix, k)] = next_code
            next_code += 1
        prefix = k
    emit(prefix)
    emit(eoi)
    if nbits:
        out.append(acc & 255)
    return bytes(out)


def sub_blocks(data):
    out = b""
    for i in range(0, len(data), 255):
        piece = data[i:i + 255]
        out += bytes([len(piece)]) + piece
    return out + b"\0"


def table_bits(n):
    bits = 1
    while (1 << bits) < n:
        bits += 1
    return bits


def colour_table(colours):
    bits = table_bits(len(colours))
    padded = list(colours) + [(0, 0, 0)] * ((1 << bits) - len(colours))
    return bits, b"".join(bytes(c) for c in padded)


def gif_frame(w, h, px, x=0, y=0, local=None, interlace=False, control=None, min_size=None, ncolours=None):
    out = b""
    if control is not None:
        transparent, disposal = control
        flags = (disposal << 2) | (1 if transparent is not None else 0)
        out += b"\x21\xF9\x04" + struct.pack("<BHB", flags, 10, transparent or 0) + b"\0"
    flags = 0x40 if interlace else 0
    table = b""
    if local:
        bits, table = colour_table(local)
        flags |= 0x80 | (bits - 1)
        ncolours = len(local)
    out += b"\x2C" + struct.pack("<HHHHB", x, y, w, h, flags) + table
    order = list(range(h))
    if interlace:
        order = list(range(0, h, 8)) + list(range(4, h, 8)) + list(range(2, h, 4)) + list(range(1, h, 2))
    indices = [px(xx, yy) for yy in order for xx in range(w)]
    size = min_size or max(2, table_bits(ncolours))
    return out + bytes([size]) + sub_blocks(lzw(indices, size))


def gif(w, h, frames, colours=None, extensions=b"", background=0):
    flags, table = 0, b""
    if colours:
        bits, table = colour_table(colours)
        flags = 0x80 | ((bits - 1) << 4) | (bits - 1)
    return (b"GIF89a" + struct.pack("<HHBBB", w, h, flags, background, 0) + table + extensions +
            b"".join(frames) + b"\x3B")


def make_gif():
    p16, p256 = palette16(), palette256()
    write("gif-16-colours.gif", gif(W, H, [gif_frame(W, H, idx(16), ncolours=16)], p16))
    write("gif-2-colours.gif", gif(W, H, [gif_frame(W, H, idx(2), ncolours=2)], [(0, 0, 0), (250, 240, 10)]))
    # 256 colours over 4096 pixels: the code table fills and is cleared.
    write("gif-256-colours.gif", gif(64, 64, [gif_frame(64, 64, lambda x, y: (x * 7 + y * 13 + (x * y) % 11) & 255,
                                                        ncolours=256)], p256))
    write("gif-transparent.gif", gif(W, H, [gif_frame(W, H, idx(16), control=(3, 0), ncolours=16)], p16))
    write("gif-local-table.gif", gif(W, H, [gif_frame(W, H, idx(8), local=pal_colours(8))]))
    write("gif-local-over-global.gif",
          gif(W, H, [gif_frame(W, H, idx(4), local=[(9, 9, 200), (200, 9, 9), (9, 200, 9), (90, 90, 90)])], p16))
    write("gif-interlaced.gif", gif(W, 19, [gif_frame(W, 19, idx(16), interlace=True, ncolours=16)], p16))
    # A frame smaller than the screen, away from its corner.
    write("gif-frame-offset.gif", gif(W, H, [gif_frame(9, 5, idx(16), x=4, y=3, ncolours=16)], p16, background=5))
    loop = b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    comment = b"\x21\xFE" + sub_blocks(b"a comment before the frames")
    frames = [
        gif_frame(W, H, idx(16), control=(0, 1), ncolours=16),
        gif_frame(8, 6, lambda x, y: (x + y) % 4, x=5, y=4, local=[(1, 2, 3), (200, 0, 0), (0, 200, 0), (0, 0, 200)],
                  control=(None, 2)),
        gif_frame(W, H, idx(16), interlace=True, control=(7, 0), ncolours=16),
    ]
    write("gif-animated.gif", gif(W, H, frames, p16, extensions=loop + comment))
    # XMP data in an application extension, as editors write it: its bytes run
    # as sub-blocks, ended by a 258-byte "magic trailer".
    xmp = b"<x:xmpmeta xmlns:x='adobe:ns:meta/'></x:xmpmeta>" + bytes([1]) + bytes(range(255, -1, -1)) + b"\0"
    write("gif-xmp.gif", gif(W, H, [gif_frame(W, H, idx(16), ncolours=16)], p16,
                             extensions=b"\x21\xFF\x0BXMP DataXMP" + xmp))
    # The first frame interlaced and transparent, in an animation.
    frames = [gif_frame(W, H, idx(16), interlace=True, control=(2, 0), ncolours=16),
              gif_frame(W, H, idx(16), control=(None, 0), ncolours=16)]
    write("gif-animated-interlaced-transparent.gif", gif(W, H, frames, p16, extensions=loop))


# --------------------------------------------------------------------- BMP


def bmp_file(info, palette, pixels, gap=b""):
    offset = 14 + len(info) + len(palette) + len(gap)
    return (b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + palette + gap + pixels)


def info40(w, h, bpp, compression=0, size=0, used=0):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, compression, size, 2835, 2835, used, 0)


def bgr0(colours):
    return b"".join(bytes((b, g, r, 0)) for r, g, b in colours)


def rows_of(w, h, row, top_down=False):
    out = b""
    for y in (range(h) if top_down else range(h - 1, -1, -1)):
        r = row(y)
        out += r + bytes(-len(r) % 4)
    return out


def packed_indices(w, y, bpp, n):
    return pack_row([index(x, y, n) for x in range(w)], bpp)


def rle8(w, h, n):
    """Runs and literal stretches as Windows' encoder writes them."""
    out = b""
    for y in range(h - 1, -1, -1):
        row = [index(x, y, n) if x < w // 2 else (y % n) for x in range(w)]
        x = 0
        while x < w:
            run = 1
            while x + run < w and row[x + run] == row[x] and run < 255:
                run += 1
            if run >= 3 or w - x < 3:
                out += bytes((run, row[x]))
                x += run
            else:
                lit = 3
                while x + lit < w and lit < 255 and not (x + lit + 2 < w and row[x + lit] == row[x + lit + 1] == row[x + lit + 2]):
                    lit += 1
                out += bytes((0, lit)) + bytes(row[x:x + lit]) + bytes(lit % 2)
                x += lit
        out += b"\0\0"
    return out + b"\0\1"


def rle4(w, h):
    out = b""
    for y in range(h - 1, -1, -1):
        # A run of two alternating colours, a literal stretch, a plain run.
        out += bytes((6, ((y % 16) << 4) | ((y + 3) % 16)))
        lit = [index(x, y, 16) for x in range(6, 15)]
        packed = pack_row(lit, 4)
        out += bytes((0, len(lit))) + packed + bytes(len(packed) % 2)
        out += bytes((w - 15, 0x77)) + b"\0\0"
    return out + b"\0\1"


def make_bmp():
    w, h = W, H
    p2, p16, p256 = [(0, 0, 0), (255, 230, 20)], palette16(), palette256()
    bgr = lambda c: bytes((c[2], c[1], c[0]))
    write("bmp-1.bmp", bmp_file(info40(w, h, 1), bgr0(p2), rows_of(w, h, lambda y: packed_indices(w, y, 1, 2))))
    write("bmp-4.bmp", bmp_file(info40(w, h, 4), bgr0(p16), rows_of(w, h, lambda y: packed_indices(w, y, 4, 16))))
    write("bmp-8.bmp", bmp_file(info40(w, h, 8), bgr0(p256), rows_of(w, h, lambda y: packed_indices(w, y, 8, 256))))
    # A short palette: 20 colours used.
    write("bmp-8-short-palette.bmp", bmp_file(info40(w, h, 8, used=20), bgr0(pal_colours(20)),
                                              rows_of(w, h, lambda y: packed_indices(w, y, 8, 20))))

    def rgb555(y):
        return b"".join(struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
                        for r, g, b in (colour(x, y, w, h) for x in range(w)))

    def rgb565(y):
        return b"".join(struct.pack("<H", ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))
                        for r, g, b in (colour(x, y, w, h) for x in range(w)))

    write("bmp-16.bmp", bmp_file(info40(w, h, 16), b"", rows_of(w, h, rgb555)))
    masks565 = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    write("bmp-16-bitfields-565.bmp", bmp_file(info40(w, h, 16, compression=3), masks565, rows_of(w, h, rgb565)))
    row24 = lambda y: b"".join(bgr(colour(x, y, w, h)) for x in range(w))
    write("bmp-24.bmp", bmp_file(info40(w, h, 24), b"", rows_of(w, h, row24)))
    # Two bytes after the rows, as some editors write.
    write("bmp-24-trailing-2.bmp", bmp_file(info40(w, h, 24), b"", rows_of(w, h, row24) + b"\0\0"))
    write("bmp-24-top-down.bmp", bmp_file(info40(w, -h, 24), b"", rows_of(w, h, row24, top_down=True)))
    row32 = lambda y: b"".join(bgr(colour(x, y, w, h)) + bytes((alpha(x, y, w, h),)) for x in range(w))
    write("bmp-32.bmp", bmp_file(info40(w, h, 32), b"", rows_of(w, h, row32)))
    masks8888 = struct.pack("<III", 0x00FF0000, 0x0000FF00, 0x000000FF)
    write("bmp-32-bitfields.bmp", bmp_file(info40(w, h, 32, compression=3), masks8888, rows_of(w, h, row32)))
    # A version 4 header with an alpha mask, and a version 5 header whose
    # colour profile lies between the header and the rows.
    v4 = struct.pack("<IiiHHIIiiIIIIII", 108, w, h, 1, 32, 3, 0, 2835, 2835, 0, 0,
                     0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000) + b"BGRs" + bytes(36 + 12)
    write("bmp-32-v4-alpha.bmp", bmp_file(v4, b"", rows_of(w, h, row32)))
    profile = b"a colour profile " * 24
    v5 = struct.pack("<IiiHHIIiiIIIIII", 124, w, h, 1, 24, 0, 0, 2835, 2835, 0, 0, 0, 0, 0, 0) + b"MBED" + bytes(36 + 12)
    v5 += struct.pack("<IIII", 4, 124, len(profile), 0)
    write("bmp-24-v5-profile.bmp", bmp_file(v5, b"", rows_of(w, h, row24), gap=profile))
    # The old 12-byte header, with 3-byte palette entries.
    core = lambda bpp: struct.pack("<IHHHH", 12, w, h, 1, bpp)
    write("bmp-core-24.bmp", bmp_file(core(24), b"", rows_of(w, h, row24)))
    write("bmp-core-8.bmp", bmp_file(core(8), b"".join(bgr(c) for c in p256),
                                     rows_of(w, h, lambda y: packed_indices(w, y, 8, 256))))
    rle = rle8(w, h, 40)
    write("bmp-rle8.bmp", bmp_file(info40(w, h, 8, compression=1, size=len(rle), used=40), bgr0(pal_colours(40)), rle))
    rle = rle4(w, h)
    write("bmp-rle4.bmp", bmp_file(info40(w, h, 4, compression=2, size=len(rle)), bgr0(p16), rle))
    # Run-length data that moves on with a delta and ends rows early: the
    # pixels it never sets.
    rle = bytes((5, 1, 0, 2, 3, 1, 4, 2, 0, 0, 2, 3, 0, 2, 1, 1, 3, 4, 0, 1))
    write("bmp-rle8-delta.bmp", bmp_file(info40(12, 6, 8, compression=1, size=len(rle)), bgr0(p16), rle))


# --------------------------------------------------------------------- ICO


def ico_bmp_entry(w, h, bpp, mask_of):
    """An icon's DIB: the height counts the colour rows and the mask's."""
    if bpp <= 8:
        n = 1 << bpp
        palette = bgr0(pal_colours(n))
        colour_rows = rows_of(w, h, lambda y: packed_indices(w, y, bpp, n))
    else:
        palette = b""
        if bpp == 24:
            colour_rows = rows_of(w, h, lambda y: b"".join(bytes(colour(x, y, w, h)[::-1]) for x in range(w)))
        else:
            colour_rows = rows_of(w, h, lambda y: b"".join(bytes(colour(x, y, w, h)[::-1]) + bytes((alpha(x, y, w, h),))
                                                           for x in range(w)))
    mask = rows_of(w, h, lambda y: pack_row([mask_of(x, y) for x in range(w)], 1))
    return info40(w, 2 * h, bpp) + palette + colour_rows + mask


def ico(entries):
    """`entries`: (width, height, colours, bpp, data)."""
    out = struct.pack("<HHH", 0, 1, len(entries))
    at = 6 + 16 * len(entries)
    for w, h, colours, bpp, data in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, 1, bpp, len(data), at)
        at += len(data)
    return out + b"".join(e[4] for e in entries)


def make_ico():
    ring = lambda x, y: 1 if (x - 8) ** 2 + (y - 8) ** 2 > 49 else 0
    corner = lambda x, y: 1 if x + y < 6 else 0
    e32 = (32, 32, 0, 32, ico_bmp_entry(32, 32, 32, lambda x, y: 0))
    e24 = (24, 24, 0, 24, ico_bmp_entry(24, 24, 24, corner))
    e8 = (16, 16, 0, 8, ico_bmp_entry(16, 16, 8, ring))
    e4 = (16, 16, 16, 4, ico_bmp_entry(16, 16, 4, ring))
    e1 = (16, 16, 2, 1, ico_bmp_entry(16, 16, 1, corner))
    write("ico-bmp-32-alpha.ico", ico([e32]))
    write("ico-bmp-24-mask.ico", ico([e24]))
    write("ico-bmp-8-mask.ico", ico([e8]))
    write("ico-bmp-4-mask.ico", ico([e4]))
    write("ico-bmp-1-mask.ico", ico([e1]))
    write("ico-bmp-several.ico", ico([e4, e32, e8]))
    png_entry = png(40, 40, 6, 8, lambda x, y: list(colour(x, y, 40, 40)) + [alpha(x, y, 40, 40)])
    write("ico-png.ico", ico([(40, 40, 0, 32, png_entry)]))
    # As converters write them: the largest entry as PNG, stored first.
    write("ico-png-first.ico", ico([(40, 40, 0, 32, png_entry), e32, e8]))


# -------------------------------------------------------------------- JPEG


def ppm(w, h, px):
    return b"P6\n%d %d\n255\n" % (w, h) + b"".join(bytes(px(x, y)) for y in range(h) for x in range(w))


def cjpeg(name, args, w=48, h=32):
    with tempfile.NamedTemporaryFile(suffix=".ppm") as src:
        src.write(ppm(w, h, lambda x, y: colour(x, y, w, h)))
        src.flush()
        subprocess.run(["cjpeg", "-quality", "85", *args, "-outfile", os.path.join(HERE, name), src.name],
                       check=True)


def segments(data):
    """A JPEG's marker segments before its first scan, and the rest."""
    at, out = 2, []
    while data[at + 1] != 0xDA:
        length = struct.unpack(">H", data[at + 2:at + 4])[0]
        out.append(data[at:at + 2 + length])
        at += 2 + length
    return out, data[at:]


def make_jpeg():
    cjpeg("jpeg-baseline-420.jpg", [])
    cjpeg("jpeg-baseline-444.jpg", ["-sample", "1x1"])
    cjpeg("jpeg-baseline-422-odd-size.jpg", ["-sample", "2x1"], w=37, h=23)
    cjpeg("jpeg-optimized.jpg", ["-optimize"])
    cjpeg("jpeg-progressive.jpg", ["-progressive"])
    cjpeg("jpeg-arithmetic.jpg", ["-arithmetic"])
    cjpeg("jpeg-arithmetic-progressive.jpg", ["-arithmetic", "-progressive"])
    cjpeg("jpeg-grey.jpg", ["-grayscale"])
    cjpeg("jpeg-grey-progressive.jpg", ["-grayscale", "-progressive"])
    cjpeg("jpeg-restart-rows.jpg", ["-restart", "1"])
    cjpeg("jpeg-restart-blocks.jpg", ["-restart", "3B", "-progressive"])
    cjpeg("jpeg-rgb.jpg", ["-rgb"])
    # As cameras write them: an Exif segment and a comment, no JFIF segment.
    with open(os.path.join(HERE, "jpeg-baseline-420.jpg"), "rb") as f:
        base = f.read()
    head, rest = segments(base)
    exif = b"Exif\0\0II*\0" + struct.pack("<IH", 8, 0) + bytes(4)
    app1 = b"\xFF\xE1" + struct.pack(">H", len(exif) + 2) + exif
    com = b"\xFF\xFE" + struct.pack(">H", 2 + 9) + b"a comment"
    write("jpeg-exif-comment.jpg", b"\xFF\xD8" + app1 + com + b"".join(s for s in head if s[1] != 0xE0) + rest)
    # A JFIF segment with a 2 x 2 thumbnail and a JFXX one after it.
    jfif = b"JFIF\0\1\2\0\0\1\0\1\2\2" + bytes(range(12))
    jfxx = b"JFXX\0\x13\2\2" + bytes(range(12))
    app0s = b"".join(b"\xFF\xE0" + struct.pack(">H", len(d) + 2) + d for d in (jfif, jfxx))
    write("jpeg-jfif-thumbnail.jpg", b"\xFF\xD8" + app0s + b"".join(s for s in head if s[1] != 0xE0) + rest)
    # Fill bytes (0xFF) before every marker after the first.
    write("jpeg-fill-bytes.jpg", b"\xFF\xD8" + b"".join(b"\xFF\xFF\xFF" + s for s in head) + b"\xFF\xFF" + rest)
    # An ICC profile in two APP2 segments, as photographs carry them.
    icc = bytes((i * 7) & 255 for i in range(600))
    app2 = b"".join(b"\xFF\xE2" + struct.pack(">H", 2 + 14 + 300) + b"ICC_PROFILE\0" + bytes((n + 1, 2)) +
                    icc[n * 300:(n + 1) * 300] for n in range(2))
    write("jpeg-icc-profile.jpg", base[:2] + head[0] + app2 + b"".join(head[1:]) + rest)
    from PIL import Image  # only for CMYK, which cjpeg does not write

    img = Image.new("CMYK", (48, 32))
    img.putdata([(r, g, b, (x * y) & 127) for y in range(32) for x in range(48)
                 for r, g, b in [colour(x, y, 48, 32)]])
    img.save(os.path.join(HERE, "jpeg-cmyk.jpg"), quality=85)


# ------------------------------------------------- cases the loader decides


def read(name):
    with open(os.path.join(HERE, name), "rb") as f:
        return f.read()


def ico_solid_entry(w, h, bpp, rgb):
    """A DIB of one colour: 32 bits opaque, or 4 bits with it first in the palette."""
    mask = rows_of(w, h, lambda y: bytes((w + 7) // 8))
    if bpp == 32:
        return info40(w, 2 * h, 32) + rows_of(w, h, lambda y: (bytes(rgb[::-1]) + b"\xff") * w) + mask
    return info40(w, 2 * h, 4) + bgr0([rgb] + [(0, 0, 0)] * 15) + rows_of(w, h, lambda y: bytes((w + 1) // 2)) + mask


def make_ico_cases():
    red, blue = (220, 20, 20), (20, 20, 220)
    ring = lambda x, y: 1 if (x - 8) ** 2 + (y - 8) ** 2 > 49 else 0
    # The loader scores width x height x depth, the depth from the colour
    # count (0 counts as 32 bits), the later of equal scores first.
    write("ico-32-bit-then-4-bit-same-size.ico",
          ico([(16, 16, 0, 32, ico_solid_entry(16, 16, 32, red)), (16, 16, 16, 4, ico_solid_entry(16, 16, 4, blue))]))
    e16 = (16, 16, 0, 32, ico_bmp_entry(16, 16, 32, ring))
    e32x4 = (32, 32, 16, 4, ico_bmp_entry(32, 32, 4, ring))
    write("ico-16-at-32-bits-beside-32-at-4-bits.ico", ico([e16, e32x4]))
    # A set as icon editors write it, its 32-bit group first; an 8-bit entry
    # has 256 colours, written 0, so it ties with the 32-bit one of its size.
    group = [(s, s, c, bpp, ico_bmp_entry(s, s, bpp, ring)) for c, bpp in ((0, 32), (0, 8), (16, 4))
             for s in (16, 8)]
    write("ico-set-32-bit-group-first.ico", ico(group))
    # The entry that scores best is damaged (its DIB says another width): the
    # loader refuses it; a larger one by size alone scores less.
    damaged = bytearray(ico_bmp_entry(32, 32, 4, ring))
    damaged[4] = 31
    write("ico-damaged-entry-largest.ico", ico([e16[:4] + (ico_bmp_entry(16, 16, 4, ring),),
                                                (32, 32, 16, 4, bytes(damaged))]))
    # The best entry's header lies past the end of the file: refused, not
    # the next entry.
    cut = ico([e16, (8, 8, 0, 32, ico_bmp_entry(8, 8, 32, ring))])
    write("ico-best-entry-past-end.ico", cut[:6 + 12] + struct.pack("<I", len(cut) + 100) + cut[6 + 16:])
    # An offset above 2^31 - 41 hides the entries after it from the loader.
    hidden = ico([(16, 16, 16, 4, ico_bmp_entry(16, 16, 4, ring)), (32, 32, 0, 32, b""), e16])
    write("ico-huge-offset-hides-later.ico",
          hidden[:6 + 16 + 12] + struct.pack("<I", 0x7FFFFFF0) + hidden[6 + 32:])
    # An 8-bit entry whose palette gives 4 colours while its rows use 256:
    # the loader looks the others up past the palette.
    short = bytearray(ico_bmp_entry(16, 16, 8, ring))
    short[32:36] = struct.pack("<I", 4)
    write("ico-8-bit-indices-past-palette.ico",
          ico([(16, 16, 0, 8, bytes(short[:40 + 16]) + bytes(short[40 + 1024:]))]))


def make_bmp_cases():
    row24 = lambda w, h: lambda y: b"".join(bytes(colour(x, y, w, h)[::-1]) for x in range(w))

    def with_rows_at(w, h, offset):
        b = bytearray(bmp_file(info40(w, h, 24), b"", rows_of(w, h, row24(w, h))))
        b[10:14] = struct.pack("<I", offset)
        return bytes(b)

    # Rows offset 0, or inside the headers: the loader reads the rows straight
    # after the headers.
    write("bmp-24-rows-offset-0-2x2.bmp", with_rows_at(2, 2, 0))
    write("bmp-24-rows-offset-in-header-3x3.bmp", with_rows_at(3, 3, 20))
    write("bmp-24-rows-offset-past-end.bmp", with_rows_at(4, 4, 4096))
    # Run-length rows after 400 empty deltas, pairs that draw nothing: more
    # bytes than rows of 32 bits would take, all read by the loader.
    rle = b"\0\2\0\0" * 400 + rle8(W, H, 40)
    write("bmp-rle8-idle-pairs.bmp",
          bmp_file(info40(W, H, 8, compression=1, size=len(rle), used=40), bgr0(pal_colours(40)), rle))


def jpeg_markers(data):
    """The offset of each marker (0xFF then neither 0, 0xFF nor a restart)."""
    return [i for i in range(len(data) - 1) if data[i] == 0xFF and data[i + 1] not in (0, 0xFF)]


def make_jpeg_cases():
    prog = read("jpeg-progressive.jpg")
    scans = [i for i in jpeg_markers(prog) if prog[i + 1] == 0xDA]
    # A comment of length 0 after the second scan: libjpeg reads its two
    # length bytes and goes on to the third scan.
    cut = [i for i in jpeg_markers(prog) if i > scans[1]][0]
    write("jpeg-progressive-comment-length-0.jpg", prog[:cut] + b"\xFF\xFE\x00\x00" + prog[cut:])
    base = read("jpeg-baseline-420.jpg")
    head, rest = segments(base)
    # A table of length 1 and a second SOI: libjpeg refuses both.
    write("jpeg-dqt-length-1.jpg", b"\xFF\xD8" + head[0] + b"\xFF\xDB\x00\x01" + b"".join(head[1:]) + rest)
    write("jpeg-second-soi.jpg", b"\xFF\xD8" + head[0] + b"\xFF\xD8" + b"".join(head[1:]) + rest)
    # Fill bytes inside the scan: before each stuffed zero and the end.
    scan_end = rest.rindex(b"\xFF\xD9")
    write("jpeg-fill-in-scan.jpg", b"\xFF\xD8" + b"".join(head) + rest[:scan_end].replace(b"\xFF\x00", b"\xFF\xFF\xFF\x00") +
          b"\xFF\xFF\xFF\xD9")
    # A reserved marker inside a scan with restart markers, as a long segment
    # would start: libjpeg passes over it to the next restart marker.
    rst = read("jpeg-restart-rows.jpg")
    at = [i for i in jpeg_markers(rst) if 0xD0 <= rst[i + 1] <= 0xD7][0] - 5
    write("jpeg-reserved-marker-in-scan.jpg", rst[:at] + b"\xFF\x05\xFE\x80" + rst[at:])
    # A comment after the first scan of a JPEG with restart markers, then a
    # reserved marker: libjpeg meets it between segments and refuses it.
    blocks = read("jpeg-restart-blocks.jpg")
    first = [i for i in jpeg_markers(blocks) if blocks[i + 1] == 0xDA][0]
    cut = [i for i in jpeg_markers(blocks) if i > first][0]
    # Colour profile pieces: the first of two, a segment that is no piece,
    # the second. The loader frees the profile at the second segment and
    # writes the last piece through it; the copy holds none of them.
    def icc(sequence, count, data):
        body = b"ICC_PROFILE\0" + bytes([sequence, count]) + data
        return b"\xFF\xE2" + struct.pack(">H", 2 + len(body)) + body
    write("jpeg-icc-pieces-around-another-app2.jpg", b"\xFF\xD8" + head[0] + icc(1, 2, bytes(64)) +
          b"\xFF\xE2\x00\x12" + b"not a profile\0\0\0" + icc(2, 2, bytes(64)) + b"".join(head[1:]) + rest)
    write("jpeg-reserved-marker-after-comment-after-scan.jpg",
          blocks[:cut] + b"\xFF\xFE\x00\x04AB\xFF\x60" + blocks[cut:])


def make_gif_cases():
    # A control extension whose first sub-block holds 5 bytes: its first 4
    # give the transparent index.
    frame = gif_frame(W, H, idx(16), ncolours=16)
    control = b"\x21\xF9\x05\x01\x0A\x00\x03\x07\x00"
    write("gif-control-5-bytes.gif", gif(W, H, [control + frame], palette16()))


def make_png_cases():
    data = zlib.compress(png_data(9, 7, 0, 4, grey(4), True), 9)
    head = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 9, 7, 4, 0, 0, 0, 1))
    # Interlaced data in 1-byte chunks, each after an empty one.
    idats = b"".join(chunk(b"IDAT", b"") + chunk(b"IDAT", data[i:i + 1]) for i in range(len(data)))
    write("png-interlaced-empty-and-1-byte-idat.png", head + idats + chunk(b"IEND", b""))
    # The second of three data chunks with a wrong CRC.
    third = -(-len(data) // 3)
    pieces = [chunk(b"IDAT", data[i:i + third]) for i in range(0, len(data), third)]
    pieces[1] = pieces[1][:-1] + bytes([pieces[1][-1] ^ 1])
    write("png-interlaced-idat-crc-error.png", head + b"".join(pieces) + chunk(b"IEND", b""))
    # An empty chunk typed other than by four letters; a text chunk between two data chunks
    # before the zlib stream ends, not interlaced and interlaced.
    write("png-chunk-type-not-letters.png", png(W, H, 2, 8, rgb8, before_idat=chunk(b"\xb7\xbcAT", b"")))
    for name, interlace in (("png-text-between-idat.png", False), ("png-interlaced-text-between-idat.png", True)):
        whole = png(W, H, 2, 8, rgb8, interlace=interlace, idat_pieces=2)
        second = whole.rindex(b"IDAT") - 4
        write(name, whole[:second] + chunk(b"tEXt", b"Comment\0between") + whole[second:])


def make_cases():
    make_ico_cases()
    make_bmp_cases()
    make_jpeg_cases()
    make_gif_cases()
    make_png_cases()


if __name__ == "__main__":
    make_png()
    make_gif()
    make_bmp()
    make_ico()
    make_jpeg()
    make_cases()
