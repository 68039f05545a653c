#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Small valid files of every kind the program reads: bitmaps of every depth
and compression, icons with bitmap and PNG images, baseline and progressive
JPEG (through cjpeg from libjpeg-turbo-progs, when it is installed),
metafiles with every record the player draws, phrase files, code page 932
text and settings files. Standard library only; run it again after changing
it and commit what it writes.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def u16(*v):
    return struct.pack("<%dH" % len(v), *[x & 0xFFFF for x in v])


def i16(*v):
    return struct.pack("<%dh" % len(v), *v)


def u32(*v):
    return struct.pack("<%dI" % len(v), *[x & 0xFFFFFFFF for x in v])


def i32(*v):
    return struct.pack("<%di" % len(v), *v)


def f32(*v):
    return struct.pack("<%df" % len(v), *v)


# ---- Pixels -------------------------------------------------------------------

W, H = 7, 5  # odd sizes exercise row padding


def colour(x, y):
    return ((x * 40) & 0xFF, (y * 60) & 0xFF, ((x + y) * 25) & 0xFF)


def palette(n):
    return [((i * 255 // max(n - 1, 1)), (i * 97) & 0xFF, 255 - (i * 255 // max(n - 1, 1))) for i in range(n)]


def pack_row(indices, bits):
    out = bytearray()
    acc, used = 0, 0
    for i in indices:
        acc = (acc << bits) | i
        used += bits
        if used == 8:
            out.append(acc)
            acc, used = 0, 0
    if used:
        out.append(acc << (8 - used))
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def info_header(width, height, bits, compression, image_size=0, colours=0, size=40):
    return u32(size) + i32(width, height) + u16(1, bits) + u32(compression, image_size, 2835, 2835, colours, 0)


def bmp_file(info, table, pixels):
    offset = 14 + len(info) + len(table)
    return b"BM" + u32(offset + len(pixels), 0, offset) + info + table + pixels


def rows_for(bits, width, height, top_down=False):
    """Rows in file order and the colour table for an uncompressed bitmap."""
    order = range(height) if top_down else range(height - 1, -1, -1)
    if bits <= 8:
        n = 1 << bits
        table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette(n))
        rows = b"".join(pack_row([(x + y) % n for x in range(width)], bits) for y in order)
        return table, rows
    rows = bytearray()
    for y in order:
        row = bytearray()
        for x in range(width):
            r, g, b = colour(x, y)
            if bits == 16:
                row += u16((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3))
            elif bits == 24:
                row += bytes((b, g, r))
            else:
                row += bytes((b, g, r, 0xFF))
        while len(row) % 4:
            row.append(0)
        rows += row
    return b"", bytes(rows)


def rle8(width, height):
    out = bytearray()
    for y in range(height):
        if y % 2:
            out += bytes((width, y & 0xFF))              # encoded run
        else:
            out += bytes((0, 3, 1, 2, 3, 0))             # absolute run, padded to a word
            out += bytes((width - 3, 4))
        out += b"\x00\x00"                                # end of line
    out += b"\x00\x02\x01\x00"                            # delta
    out += b"\x00\x01"                                    # end of bitmap
    return bytes(out)


def rle4(width, height):
    out = bytearray()
    for y in range(height):
        if y % 2:
            out += bytes((width, 0x12))
        else:
            out += bytes((0, 4, 0x34, 0x56))              # absolute run of four pixels
            out += bytes((width - 4, 0x78))
        out += b"\x00\x00"
    out += b"\x00\x01"
    return bytes(out)


def bitmaps():
    for bits in (1, 4, 8, 16, 24, 32):
        table, rows = rows_for(bits, W, H)
        write("bmp", "rgb-%d.bmp" % bits, bmp_file(info_header(W, H, bits, 0, len(rows)), table, rows))
        table, rows = rows_for(bits, W, H, top_down=True)
        write("bmp", "rgb-%d-topdown.bmp" % bits, bmp_file(info_header(W, -H, bits, 0, len(rows)), table, rows))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette(256))
    data = rle8(W, H)
    write("bmp", "rle8.bmp", bmp_file(info_header(W, H, 8, 1, len(data)), table, data))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette(16))
    data = rle4(W, H)
    write("bmp", "rle4.bmp", bmp_file(info_header(W, H, 4, 2, len(data)), table, data))
    # Bit fields: 5-6-5 at 16 bits, and 8-8-8 in an unusual order at 32 bits.
    rows = b"".join(b"".join(u16(((x * 9) & 31) << 11 | ((y * 13) & 63) << 5 | (x + y) & 31) for x in range(W))
                    + b"\x00\x00" for y in range(H))
    write("bmp", "bitfields-16.bmp",
          bmp_file(info_header(W, H, 16, 3, len(rows)), u32(0xF800, 0x07E0, 0x001F), rows))
    _, rows = rows_for(32, W, H)
    write("bmp", "bitfields-32.bmp",
          bmp_file(info_header(W, H, 32, 3, len(rows)), u32(0x0000FF00, 0x00FF0000, 0xFF000000), rows))
    # A V5 header with an alpha mask, an OS/2 core header, and a file cut
    # short in its last row (opened with the missing part white).
    _, rows = rows_for(32, W, H)
    v5 = info_header(W, H, 32, 3, len(rows), size=124)[:40] + u32(0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    v5 += b"BGRs" + bytes(36) + u32(0, 0, 0) + u32(4, 0, 0, 0)
    write("bmp", "v5-alpha.bmp", bmp_file(v5, b"", rows))
    table, rows = rows_for(8, W, H)
    core = u32(12) + u16(W, H, 1, 8)
    core_table = b"".join(bytes((b, g, r)) for r, g, b in palette(256))
    write("bmp", "core-8.bmp", bmp_file(core, core_table, rows))
    table, rows = rows_for(24, W, H)
    whole = bmp_file(info_header(W, H, 24, 0, len(rows)), table, rows)
    write("bmp", "truncated-24.bmp", whole[:-10])
    # OS/2 2.x headers of 16 and 64 bytes, the 52- and 56-byte headers with
    # their masks inside, 11-11-10 and 2-3-1 bit fields, 2-bit pixels,
    # OS/2 RLE24, and run-length files cut short.
    table, rows = rows_for(8, W, H)
    write("bmp", "os2-16.bmp", bmp_file(info_header(W, H, 8, 0, size=16)[:16], table, rows))
    write("bmp", "os2-64.bmp", bmp_file(info_header(W, H, 8, 0, size=64) + bytes(24), table, rows))
    table, rows = rows_for(2, W, H)
    write("bmp", "rgb-2.bmp", bmp_file(info_header(W, H, 2, 0, len(rows)), table, rows))
    rows = b"".join(b"".join(u16(((x * 9) & 31) << 11 | ((y * 13) & 63) << 5 | (x + y) & 31) for x in range(W))
                    + b"\x00\x00" for y in range(H))
    write("bmp", "v2-52.bmp", bmp_file(info_header(W, H, 16, 3, len(rows), size=52)[:40] + u32(0xF800, 0x07E0, 0x001F), b"", rows))
    write("bmp", "v3-56-4444.bmp",
          bmp_file(info_header(W, H, 16, 3, len(rows), size=56)[:40] + u32(0x0F00, 0x00F0, 0x000F, 0xF000), b"", rows))
    _, rows = rows_for(32, W, H)
    write("bmp", "bitfields-111110.bmp",
          bmp_file(info_header(W, H, 32, 3, len(rows)), u32(0xFFE00000, 0x001FFC00, 0x000003FF), rows))
    write("bmp", "bitfields-231.bmp",
          bmp_file(info_header(W, H, 16, 3, len(rows)), u32(0x30, 0x0E, 0x01), rows[:len(rows) // 2]))
    rle24 = b"".join(bytes((W, 10 * y, 20, 200)) + b"\x00\x00" for y in range(H)) + b"\x00\x01"
    write("bmp", "os2-rle24.bmp", bmp_file(info_header(W, H, 24, 4, len(rle24), size=64) + bytes(24), b"", rle24))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette(256))
    data = rle8(W, H)
    write("bmp", "rle8-cut.bmp", bmp_file(info_header(W, H, 8, 1, len(data)), table, data[:len(data) // 2]))


# ---- Icons --------------------------------------------------------------------

def png(width, height, alpha=True):
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            r, g, b = colour(x, y)
            raw += bytes((r, g, b, (x * 255 // max(width - 1, 1)))) if alpha else bytes((r, g, b))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b"")


def icon_dib(size, bits):
    table, rows = rows_for(bits, size, size)
    mask = b"".join(pack_row([(x ^ y) & 1 for x in range(size)], 1) for y in range(size))
    return info_header(size, size * 2, bits, 0, len(rows) + len(mask)) + table + rows + mask


def ico(images, kind=1):
    head = u16(0, kind, len(images))
    offset = 6 + 16 * len(images)
    entries, bodies = b"", b""
    for width, height, bits, data in images:
        entries += bytes((width & 0xFF, height & 0xFF, 0, 0)) + u16(1, bits) + u32(len(data), offset)
        offset += len(data)
        bodies += data
    return head + entries + bodies


def icons():
    write("ico", "bmp-1.ico", ico([(8, 8, 1, icon_dib(8, 1))]))
    write("ico", "bmp-4-8-24.ico", ico([(8, 8, 4, icon_dib(8, 4)), (8, 8, 8, icon_dib(8, 8)), (8, 8, 24, icon_dib(8, 24))]))
    write("ico", "bmp-32.ico", ico([(6, 6, 32, icon_dib(6, 32))]))
    write("ico", "png.ico", ico([(16, 16, 32, png(16, 16))]))
    write("ico", "png-rgb.ico", ico([(5, 3, 24, png(5, 3, alpha=False))]))
    write("ico", "mixed.ico", ico([(8, 8, 8, icon_dib(8, 8)), (12, 12, 32, png(12, 12))]))
    write("ico", "cursor.cur", ico([(8, 8, 1, icon_dib(8, 1))], kind=2))
    # Several sizes: the 32 x 32 entry is the one shown.
    write("ico", "sizes.ico", ico([(16, 16, 8, icon_dib(16, 8)), (32, 32, 24, icon_dib(32, 24)),
                                   (48, 48, 32, icon_dib(48, 32))]))


# ---- JPEG ---------------------------------------------------------------------

def jpegs():
    cjpeg = shutil.which("cjpeg")
    if not cjpeg:
        print("cjpeg not found (apt-get install libjpeg-turbo-progs): JPEG seeds left as they are", file=sys.stderr)
        return
    width, height = 19, 13
    ppm = b"P6\n%d %d\n255\n" % (width, height) + bytes(v for y in range(height) for x in range(width) for v in colour(x, y))
    pgm = b"P5\n%d %d\n255\n" % (width, height) + bytes((x * 13 + y * 7) & 0xFF for y in range(height) for x in range(width))
    variants = [
        ("baseline.jpg", ppm, ["-baseline", "-quality", "75"]),
        ("baseline-444.jpg", ppm, ["-sample", "1x1", "-quality", "90"]),
        ("baseline-restart.jpg", ppm, ["-restart", "1B", "-optimize"]),
        ("progressive.jpg", ppm, ["-progressive"]),
        ("progressive-gray.jpg", pgm, ["-progressive", "-grayscale"]),
        ("gray.jpg", pgm, ["-grayscale"]),
        ("arithmetic.jpg", ppm, ["-arithmetic"]),
        ("progressive-arithmetic.jpg", ppm, ["-progressive", "-arithmetic"]),
    ]
    with tempfile.TemporaryDirectory() as tmp:
        for name, image, options in variants:
            source = os.path.join(tmp, "in.pnm")
            with open(source, "wb") as f:
                f.write(image)
            data = subprocess.run([cjpeg, *options, source], check=True, capture_output=True).stdout
            write("jpeg", name, data)
            if name in ("baseline.jpg", "progressive.jpg"):
                write("jpeg", name.replace(".jpg", "-cut.jpg"), data[:len(data) * 3 // 4])


# ---- Metafiles ----------------------------------------------------------------

def dib24(width=2, height=2):
    _, rows = rows_for(24, width, height)
    return info_header(width, height, 24, 0, len(rows)), rows


def wmf_record(function, params=b""):
    assert len(params) % 2 == 0
    return u32(3 + len(params) // 2) + u16(function) + params


def wmf_file(records, width=200, height=150, objects=8, placeable=True):
    body = b"".join(records) + wmf_record(0x0000)
    header = u16(1, 9, 0x0300) + u32(9 + len(body) // 2) + u16(objects) + u32(max(len(r) for r in records) // 2) + u16(0)
    if not placeable:
        return header + body
    head = u32(0x9AC6CDD7) + u16(0) + i16(0, 0, width, height) + u16(96) + u32(0)
    checksum = 0
    for i in range(0, 20, 2):
        checksum ^= struct.unpack_from("<H", head, i)[0]
    return head + u16(checksum) + header + body


def wmf_text(text):
    data = text.encode("cp932")
    return data + (b"\x00" if len(data) % 2 else b"")


def metafiles_wmf():
    pen = wmf_record(0x02FA, u16(0) + i16(3, 0) + u32(0x0000FF))
    dash = wmf_record(0x02FA, u16(1) + i16(1, 0) + u32(0x008000))
    brush = wmf_record(0x02FC, u16(0) + u32(0xFF8000) + u16(0))
    hatch = wmf_record(0x02FC, u16(2) + u32(0x0080FF) + u16(3))
    font = wmf_record(0x02FB, i16(-16, 0, 0, 0, 700) + bytes((1, 1, 0, 128, 0, 0, 0, 0)) + b"MS Gothic\x00")
    select = lambda i: wmf_record(0x012D, u16(i))
    delete = lambda i: wmf_record(0x01F0, u16(i))

    shapes = [
        wmf_record(0x0103, u16(8)),                       # SETMAPMODE anisotropic
        wmf_record(0x020B, i16(0, 0)),                    # SETWINDOWORG
        wmf_record(0x020C, i16(150, 200)),                # SETWINDOWEXT
        wmf_record(0x020D, i16(0, 0)),                    # SETVIEWPORTORG
        wmf_record(0x020E, i16(150, 200)),                # SETVIEWPORTEXT
        wmf_record(0x0201, u32(0xCCCCCC)),                # SETBKCOLOR
        wmf_record(0x0102, u16(2, 0)),                    # SETBKMODE opaque
        wmf_record(0x0106, u16(2, 0)),                    # SETPOLYFILLMODE winding
        pen, brush, select(0), select(1),
        wmf_record(0x041B, i16(60, 90, 10, 10)),          # RECTANGLE
        wmf_record(0x0418, i16(60, 190, 10, 100)),        # ELLIPSE
        wmf_record(0x061C, i16(10, 10, 140, 90, 70, 10)),  # ROUNDRECT
        wmf_record(0x0817, i16(70, 100, 70, 190, 140, 190, 70, 100)),  # ARC
        wmf_record(0x081A, i16(70, 150, 100, 190, 140, 190, 70, 100)),  # PIE
        wmf_record(0x0830, i16(140, 150, 70, 100, 140, 190, 70, 100)),  # CHORD
        dash, select(2),
        wmf_record(0x0214, i16(5, 5)),                    # MOVETO
        wmf_record(0x0213, i16(145, 195)),                # LINETO
        hatch, select(3),
        wmf_record(0x0324, u16(3) + i16(10, 100, 50, 140, 90, 100)),   # POLYGON
        wmf_record(0x0325, u16(4) + i16(0, 0, 20, 30, 40, 0, 60, 30)),  # POLYLINE
        wmf_record(0x0538, u16(2, 3, 4) + i16(110, 10, 130, 40, 150, 10) + i16(160, 10, 190, 10, 190, 40, 160, 40)),
        wmf_record(0x041F, u32(0x0000FF) + i16(75, 100)),  # SETPIXEL
        delete(2), delete(3),
    ]
    write("wmf", "shapes.wmf", wmf_file(shapes))

    text = [
        wmf_record(0x0209, u32(0x800000)),                # SETTEXTCOLOR
        wmf_record(0x012E, u16(24, 0)),                   # SETTEXTALIGN baseline
        wmf_record(0x0102, u16(1, 0)),                    # SETBKMODE transparent
        font, select(0),
        wmf_record(0x0521, u16(len("Pelmora")) + wmf_text("Pelmora") + i16(40, 10)),  # TEXTOUT
        wmf_record(0x0A32, i16(80, 10, len("日本語".encode("cp932")), 6) + i16(5, 60, 150, 100) + wmf_text("日本語")),
        wmf_record(0x0A32, i16(120, 10, 3, 0) + wmf_text("abc") + i16(8, 8, 8)),  # EXTTEXTOUT with widths
        wmf_record(0x012E, u16(6 | 1, 0)),                # centred, updating the position
        wmf_record(0x0521, u16(2) + b"ok" + i16(140, 100)),
        wmf_record(0x01F0, u16(0)),
    ]
    write("wmf", "text.wmf", wmf_file(text))

    header, rows = dib24()
    dib = header + rows
    pictures = [
        wmf_record(0x0F43, u32(0x00CC0020) + u16(0) + i16(2, 2, 0, 0, 40, 60, 10, 10) + dib),   # STRETCHDIB
        wmf_record(0x0B41, u32(0x00CC0020) + i16(2, 2, 0, 0, 40, 60, 60, 10) + dib),            # DIBSTRETCHBLT
        wmf_record(0x0940, u32(0x00CC0020) + i16(0, 0, 2, 2, 100, 100) + dib),                  # DIBBITBLT
        wmf_record(0x0D33, u16(0, 2, 0) + i16(0, 0, 2, 2, 120, 120) + dib),                     # SETDIBTODEV
        wmf_record(0x0940, u32(0x00000042) + u16(0) + i16(0, 0, 20, 20, 130, 10)),              # DIBBITBLT, no bitmap
        wmf_record(0x0B41, u32(0x00FF0062) + u16(0) + i16(0, 0, 0, 0, 20, 20, 130, 40)),        # DIBSTRETCHBLT, no bitmap
        wmf_record(0x061D, u32(0x00F00021) + i16(20, 30, 100, 150)),                            # PATBLT
        wmf_record(0x0142, u16(5, 0) + dib),                                                    # DIBCREATEPATTERNBRUSH
        wmf_record(0x012D, u16(0)),
        wmf_record(0x041B, i16(140, 190, 120, 160)),
    ]
    write("wmf", "bitmaps.wmf", wmf_file(pictures))

    objects = [
        wmf_record(0x00F7, u16(0x0300, 2) + bytes((255, 0, 0, 0, 0, 0, 255, 0))),   # CREATEPALETTE
        wmf_record(0x01F9, i16(0, 8, 8, 2) + bytes((1, 1)) + bytes(22) + bytes(16)),  # CREATEPATTERNBRUSH
        wmf_record(0x06FF, u16(0, 6) + u32(0) + i16(34, 1, 1) + i16(0, 0, 10, 10) + i16(2, 0, 10, 0, 10, 2)),  # CREATEREGION
        pen, brush,
        wmf_record(0x001E),                               # SAVEDC
        select(2), select(3),
        wmf_record(0x020F, i16(5, 5)),                    # OFFSETWINDOWORG
        wmf_record(0x0211, i16(2, 2)),                    # OFFSETVIEWPORTORG
        wmf_record(0x0416, i16(140, 190, 10, 10)),        # INTERSECTCLIPRECT
        wmf_record(0x0415, i16(60, 60, 40, 40)),          # EXCLUDECLIPRECT
        wmf_record(0x041B, i16(100, 100, 20, 20)),
        wmf_record(0x0127, i16(-1)),                      # RESTOREDC
        wmf_record(0x0418, i16(140, 190, 90, 120)),
        delete(0), delete(1), delete(2), delete(3), select(7),
    ]
    write("wmf", "objects.wmf", wmf_file(objects))

    # Without the placeable header: the window extent gives the size.
    plain = [
        wmf_record(0x020B, i16(-10, -20)),
        wmf_record(0x020C, i16(60, 80)),
        brush, select(0),
        wmf_record(0x041B, i16(40, 50, -5, -15)),
    ]
    write("wmf", "no-placeable.wmf", wmf_file(plain, placeable=False, objects=1))
    for mode in (2, 3, 4, 5, 6):
        mapped = [
            wmf_record(0x0103, u16(mode)),
            brush, select(0),
            wmf_record(0x041B, i16(-20, 80, -100, 10)),
        ]
        write("wmf", "mapmode-%d.wmf" % mode, wmf_file(mapped, width=1440, height=1440, objects=1))


def emf_record(kind, params=b""):
    assert len(params) % 4 == 0
    return u32(kind, 8 + len(params)) + params


def emf_file(records, width=200, height=150):
    end = emf_record(14, u32(0, 16, 20))
    frame_right = (width * 2540 + 48) // 96
    frame_bottom = (height * 2540 + 48) // 96
    body = b"".join(records) + end
    header = u32(1, 108) + i32(0, 0, width - 1, height - 1) + i32(0, 0, frame_right, frame_bottom)
    header += u32(0x464D4520, 0x10000, 108 + len(body), len(records) + 2) + u16(8, 0) + u32(0, 0, 0)
    header += i32(1920, 1080, 508, 286) + u32(0, 0, 0) + i32(508000, 285750)
    assert len(header) == 108
    return header + body


BOUNDS = i32(0, 0, 199, 149)


def metafiles_emf():
    ih = lambda i: u32(i)
    pen = emf_record(38, ih(1) + u32(0) + i32(3, 0) + u32(0x0000FF))               # CREATEPEN
    brush = emf_record(39, ih(2) + u32(0) + u32(0x00FF80) + u32(0))                 # CREATEBRUSHINDIRECT
    hatch = emf_record(39, ih(3) + u32(2) + u32(0xFF0000) + u32(5))
    select = lambda i: emf_record(37, u32(i))
    delete = lambda i: emf_record(40, u32(i))
    poly = lambda kind, pts: emf_record(kind, BOUNDS + u32(len(pts) // 2) + i32(*pts))
    poly16 = lambda kind, pts: emf_record(kind, BOUNDS + u32(len(pts) // 2) + i16(*pts))

    def polypoly(kind, groups, small):
        counts = [len(g) // 2 for g in groups]
        flat = [v for g in groups for v in g]
        pts = i16(*flat) if small else i32(*flat)
        return emf_record(kind, BOUNDS + u32(len(groups), sum(counts)) + u32(*counts) + pts)

    shapes = [
        pen, brush, select(1), select(2),
        emf_record(19, u32(2)),                           # SETPOLYFILLMODE
        emf_record(18, u32(2)),                           # SETBKMODE
        emf_record(25, u32(0xEEEEEE)),                    # SETBKCOLOR
        emf_record(43, i32(10, 10, 90, 60)),              # RECTANGLE
        emf_record(42, i32(100, 10, 190, 60)),            # ELLIPSE
        emf_record(44, i32(10, 70, 90, 140) + i32(20, 20)),  # ROUNDRECT
        emf_record(45, i32(100, 70, 190, 140) + i32(190, 105, 100, 105)),  # ARC
        emf_record(46, i32(100, 70, 190, 140) + i32(100, 105, 145, 70)),   # CHORD
        emf_record(47, i32(100, 70, 190, 140) + i32(145, 140, 190, 105)),  # PIE
        hatch, select(3),
        poly(3, [10, 100, 50, 140, 90, 100]),             # POLYGON
        poly(4, [0, 0, 30, 30, 60, 0]),                   # POLYLINE
        poly16(86, [110, 10, 130, 40, 150, 10]),          # POLYGON16
        poly16(87, [0, 149, 100, 120, 199, 149]),         # POLYLINE16
        polypoly(8, [[10, 10, 20, 30, 30, 10], [40, 10, 60, 10, 60, 30, 40, 30]], False),  # POLYPOLYGON
        polypoly(7, [[0, 75, 199, 75], [100, 0, 100, 149]], False),                        # POLYPOLYLINE
        polypoly(91, [[150, 100, 170, 130, 190, 100]], True),                              # POLYPOLYGON16
        polypoly(90, [[5, 5, 15, 15, 25, 5], [5, 20, 25, 20]], True),                      # POLYPOLYLINE16
        emf_record(15, i32(75, 75) + u32(0x0000FF)),      # SETPIXELV
        delete(1), delete(2), delete(3),
    ]
    write("emf", "shapes.emf", emf_file(shapes))

    lines = [
        emf_record(27, i32(10, 10)),                      # MOVETOEX
        emf_record(54, i32(190, 10)),                     # LINETO
        poly(6, [190, 50, 10, 50]),                       # POLYLINETO
        poly16(89, [10, 90, 190, 90]),                    # POLYLINETO16
        poly(2, [10, 100, 60, 60, 120, 140, 190, 100]),   # POLYBEZIER
        poly16(85, [10, 140, 60, 100, 120, 149, 190, 140]),  # POLYBEZIER16
        poly(5, [50, 20, 100, 80, 150, 20]),              # POLYBEZIERTO
        poly16(88, [160, 40, 170, 60, 180, 80]),          # POLYBEZIERTO16
        emf_record(41, i32(100, 75) + u32(40) + f32(30.0, 120.0)),  # ANGLEARC
        emf_record(55, i32(20, 20, 80, 80) + i32(80, 50, 20, 50)),  # ARCTO
    ]
    write("emf", "lines.emf", emf_file(lines))

    paths = [
        brush, select(2),
        emf_record(59),                                   # BEGINPATH
        emf_record(27, i32(20, 20)),
        emf_record(54, i32(80, 20)),
        poly(5, [100, 40, 100, 60, 80, 80]),
        emf_record(61),                                   # CLOSEFIGURE
        emf_record(42, i32(100, 20, 180, 100)),
        emf_record(60),                                   # ENDPATH
        emf_record(63, BOUNDS),                           # STROKEANDFILLPATH
        emf_record(59), emf_record(43, i32(10, 110, 60, 140)), emf_record(60),
        emf_record(62, BOUNDS),                           # FILLPATH
        emf_record(59), emf_record(43, i32(70, 110, 120, 140)), emf_record(60),
        emf_record(64, BOUNDS),                           # STROKEPATH
        emf_record(59), emf_record(42, i32(0, 0, 120, 120)), emf_record(60),
        emf_record(67, u32(5)),                           # SELECTCLIPPATH copy
        emf_record(43, i32(0, 0, 199, 149)),
        emf_record(75, u32(0, 5)),                        # EXTSELECTCLIPRGN: no clip
        emf_record(59), emf_record(43, i32(1, 1, 5, 5)),
        emf_record(68),                                   # ABORTPATH
        emf_record(30, i32(10, 10, 150, 120)),            # INTERSECTCLIPRECT
        emf_record(29, i32(40, 40, 80, 80)),              # EXCLUDECLIPRECT
        emf_record(43, i32(0, 0, 199, 149)),
    ]
    write("emf", "paths.emf", emf_file(paths))

    def logfont(height, weight, italic, face):
        name = face.encode("utf-16-le")[:62]
        return i32(height, 0, 450, 0, weight) + bytes((italic, 1, 1, 1, 0, 0, 0, 0)) + name + bytes(64 - len(name))

    def exttext(kind, x, y, text, options, rect=(0, 0, 0, 0), wide=True):
        data = text.encode("utf-16-le") if wide else text.encode("cp932")
        count = len(text) if wide else len(data)
        padded = data + bytes(-len(data) % 4)
        off_string = 76
        off_dx = off_string + len(padded)
        dx = u32(*([9] * count))
        emrtext = i32(x, y) + u32(count, off_string, options) + i32(*rect) + u32(off_dx)
        return emf_record(kind, BOUNDS + u32(1) + f32(1.0, 1.0) + emrtext + padded + dx)

    text = [
        emf_record(82, ih(4) + logfont(-20, 700, 1, "MS Gothic")),               # EXTCREATEFONTINDIRECTW
        emf_record(82, ih(5) + logfont(16, 400, 0, "Serif") + bytes(228)),       # with the panose part
        select(4),
        emf_record(24, u32(0x0000C0)),                    # SETTEXTCOLOR
        emf_record(22, u32(24)),                          # SETTEXTALIGN baseline
        exttext(84, 10, 40, "Pelmora 日本語", 0),           # EXTTEXTOUTW
        exttext(84, 10, 80, "opaque", 2, (5, 60, 150, 90)),  # ETO_OPAQUE
        exttext(84, 10, 120, "clipped", 4, (5, 100, 60, 130)),  # ETO_CLIPPED
        select(5),
        emf_record(22, u32(6 | 1)),                       # centred, updating the position
        exttext(83, 100, 140, "ｶﾀｶﾅ", 0x100, wide=False),  # EXTTEXTOUTA, no rectangle
        delete(4), delete(5),
    ]
    write("emf", "text.emf", emf_file(text))

    header, rows = dib24()
    dib_tail = header + rows
    # BITBLT / STRETCHBLT: the bitmap follows the fixed part.
    xform = f32(1.0, 0.0, 0.0, 1.0, 0.0, 0.0)
    bitblt_fixed = 100
    bitblt = emf_record(76, BOUNDS + i32(10, 10, 40, 30) + u32(0x00CC0020) + i32(0, 0) + xform + u32(0xFFFFFF, 0)
                        + u32(bitblt_fixed, len(header), bitblt_fixed + len(header), len(rows)) + dib_tail)
    patblt = emf_record(76, BOUNDS + i32(60, 10, 40, 30) + u32(0x00F00021) + i32(0, 0) + xform + u32(0, 0)
                        + u32(0, 0, 0, 0))
    stretch_fixed = 108
    stretchblt = emf_record(77, BOUNDS + i32(110, 10, 60, 40) + u32(0x00CC0020) + i32(0, 0) + xform + u32(0xFFFFFF, 0)
                            + u32(stretch_fixed, len(header), stretch_fixed + len(header), len(rows)) + i32(2, 2) + dib_tail)
    todevice_fixed = 76
    setdibits = emf_record(80, BOUNDS + i32(10, 60, 0, 0, 2, 2) + u32(todevice_fixed, len(header),
                                                                     todevice_fixed + len(header), len(rows))
                           + u32(0, 0, 2) + dib_tail)
    stretchdib_fixed = 80
    stretchdib = emf_record(81, BOUNDS + i32(60, 60, 0, 0, 2, 2) + u32(stretchdib_fixed, len(header),
                                                                      stretchdib_fixed + len(header), len(rows))
                            + u32(0, 0x00CC0020) + i32(80, 50) + dib_tail)
    brush_fixed = 32
    mono_header = info_header(8, 8, 1, 0, 32)
    mono_table = u32(0, 0xFFFFFF)
    mono_rows = b"".join(bytes((0xAA if y % 2 else 0x55, 0, 0, 0)) for y in range(8))
    mono = emf_record(93, ih(6) + u32(0, brush_fixed, len(mono_header) + 8, brush_fixed + len(mono_header) + 8, 32)
                      + mono_header + mono_table + mono_rows)
    pattern = emf_record(94, ih(7) + u32(0, brush_fixed, len(header), brush_fixed + len(header), len(rows)) + dib_tail)
    extpen = emf_record(95, ih(8) + u32(0, 0, 0, 0) + u32(0x00010000 | 0x2000, 4, 0, 0x008000, 0, 0))  # EXTCREATEPEN
    nullpen = emf_record(95, ih(9) + u32(0, 0, 0, 0) + u32(0, 1, 1, 0, 0, 0))
    pictures = [
        bitblt, patblt, stretchblt, setdibits, stretchdib, mono, pattern, extpen, nullpen,
        select(6), select(8), emf_record(43, i32(10, 110, 60, 140)),
        select(7), select(9), emf_record(42, i32(70, 110, 120, 140)),
        emf_record(49, ih(10) + u16(0x300, 2) + bytes((255, 0, 0, 0, 0, 0, 255, 0))),  # CREATEPALETTE
        delete(6), delete(7), delete(8), delete(9), delete(10),
    ]
    write("emf", "bitmaps.emf", emf_file(pictures))

    transforms = [
        brush, select(2),
        emf_record(33),                                   # SAVEDC
        emf_record(17, u32(8)),                           # SETMAPMODE anisotropic
        emf_record(10, i32(0, 0)),                        # SETWINDOWORGEX
        emf_record(9, i32(400, 300)),                     # SETWINDOWEXTEX
        emf_record(12, i32(0, 0)),                        # SETVIEWPORTORGEX
        emf_record(11, i32(200, 150)),                    # SETVIEWPORTEXTEX
        emf_record(32, i32(2, 1, 2, 1)),                  # SCALEWINDOWEXTEX
        emf_record(31, i32(1, 2, 1, 2)),                  # SCALEVIEWPORTEXTEX
        emf_record(43, i32(20, 20, 200, 100)),
        emf_record(34, i32(-1)),                          # RESTOREDC
        emf_record(35, f32(0.866, 0.5, -0.5, 0.866, 100.0, 10.0)),        # SETWORLDTRANSFORM
        emf_record(43, i32(0, 0, 60, 30)),
        emf_record(36, f32(1.0, 0.0, 0.0, 1.0, 10.0, 10.0) + u32(2)),     # MODIFYWORLDTRANSFORM
        emf_record(36, f32(0.5, 0.0, 0.0, 0.5, 0.0, 0.0) + u32(3)),
        emf_record(42, i32(0, 0, 60, 30)),
        emf_record(36, f32(1.0, 0.0, 0.0, 1.0, 0.0, 0.0) + u32(1)),
        emf_record(17, u32(2)),                           # LOMETRIC
        emf_record(43, i32(100, -100, 300, -300)),
        emf_record(17, u32(1)),
        emf_record(37, u32(0x80000004)),                  # stock black brush
        emf_record(37, u32(0x80000008)),                  # stock null pen
        emf_record(43, i32(150, 120, 190, 140)),
        delete(2),
    ]
    write("emf", "transforms.emf", emf_file(transforms))

    # Bounds only (no usable frame) and a picture taller than wide.
    fallback = emf_file([brush, select(2), emf_record(43, i32(0, 0, 30, 60))], width=31, height=61)
    fallback = fallback[:24] + i32(0, 0, 0, 0) + fallback[40:]
    write("emf", "bounds-only.emf", fallback)

    # Every mapping mode with extents and origins, and EMF+ headers (dual:
    # drawn; EMF+ only: refused).
    modes = [brush, select(2)]
    for mode in range(1, 9):
        modes += [emf_record(17, u32(mode)), emf_record(9, i32(400, 300)), emf_record(11, i32(200, -150)),
                  emf_record(12, i32(0, 150)), emf_record(43, i32(10 * mode, 10, 10 * mode + 40, 60))]
    write("emf", "mapmodes.emf", emf_file(modes))
    plus = lambda flags: emf_record(70, u32(32, 0x2B464D45) + u16(0x4001, flags) + u32(28, 16, 0xDBC01002, 0, 96, 96))
    write("emf", "emfplus-dual.emf", emf_file([plus(1), brush, select(2), emf_record(43, i32(10, 10, 100, 80))]))
    # EMF+ only: objects (brush, pen with optional parts, path), every shape
    # record, transforms, page units, clips, save and restore, a GetDC with
    # plain records after it, and a record we do not draw (text).
    def rec(kind, flags, data=b""):
        return u16(kind, flags) + u32(12 + len(data), len(data)) + data
    def comment(records):
        return emf_record(70, u32(4 + len(records), 0x2B464D45) + records)
    brush0 = rec(0x4008, 0x0100, u32(0xDBC01002, 0, 0xFF2040C0))
    pen1 = rec(0x4008, 0x0201, u32(0xDBC01002, 0, 0x1 | 0x20 | 0x100, 0) + f32(3.0) + f32(1, 0, 0, 1, 0, 0)
               + u32(1) + u32(2) + f32(2.0, 1.0) + u32(0xDBC01002, 0, 0xFF000000))
    path2 = rec(0x4008, 0x0302, u32(0xDBC01002, 4, 0) + f32(10, 10, 90, 10, 90, 60, 10, 60) + bytes((0, 1, 1, 0x81)))
    shapes = comment(rec(0x4030, 2, f32(1.0)) + brush0 + pen1 + path2
                     + rec(0x400A, 0, u32(0, 1) + f32(5, 5, 40, 30))
                     + rec(0x400B, 1, u32(1) + f32(50, 5, 40, 30))
                     + rec(0x400C, 0x8000, u32(0xFF00FF00, 3) + f32(10, 100, 60, 140, 10, 140))
                     + rec(0x400D, 0x2001, u32(3) + f32(100, 100, 150, 140, 100, 140))
                     + rec(0x400E, 0xC000, u32(0xFFFF0000) + u16(120, 10, 40, 30))
                     + rec(0x400F, 0x4001, u16(120, 50, 40, 30))
                     + rec(0x4010, 0x8000, u32(0xFF808080) + f32(30, 120, 150, 80, 40, 40))
                     + rec(0x4011, 1, f32(0, 90, 150, 80, 40, 40) ) + rec(0x4012, 1, f32(45, 200, 10, 80, 40, 40))
                     + rec(0x4025, 0, u32(1)) + rec(0x402D, 0, f32(5, 5)) + rec(0x402F, 0x2000, f32(30))
                     + rec(0x402E, 0, f32(0.5, 0.5)) + rec(0x402C, 0, f32(1, 0, 0, 1, 3, 3))
                     + rec(0x4032, 0x0100, f32(0, 0, 100, 100)) + rec(0x4014, 0x8002, u32(0xFF0000FF))
                     + rec(0x4015, 2, u32(1)) + rec(0x4019, 1, u32(4) + f32(0, 0, 20, 40, 40, 40, 60, 0))
                     + rec(0x4033, 0x0102) + rec(0x4031, 0) + rec(0x4026, 0, u32(1)) + rec(0x402B, 0)
                     + rec(0x4009, 0, u32(0x10FFFFFF)))
    getdc = comment(rec(0x4004, 0))
    text = comment(rec(0x401C, 0, bytes(28)))
    write("emf", "emfplus-only.emf", emf_file([plus(0), shapes, getdc, brush, select(2),
                                               emf_record(43, i32(150, 100, 190, 140)), text]))


# ---- Text ---------------------------------------------------------------------

def texts():
    crlf = "漢字かなカナ ｶﾀｶﾅ ASCII 123\r\n全角　空白と記号「」①②Ⅳ㈱\r\n".encode("cp932")
    write("cp932", "crlf.txt", crlf)
    write("cp932", "lf.txt", "一行目\n二行目\n三行目".encode("cp932"))
    write("cp932", "cr.txt", "古いマック\r改行\r".encode("cp932"))
    write("cp932", "mixed-breaks.txt", b"a\r\nb\nc\rd\r\n")
    # Characters with two codes: NEC-selected IBM extensions (ED/EE rows)
    # beside the IBM extensions (FA-FC), and NEC row 13 beside the JIS codes.
    write("cp932", "duplicates.txt", b"\xed\x40\xfa\x5c\xed\x40\r\n\x81\xe6\x87\x9a\x87\x9a\x81\xe6\r\n\xee\xf9\x81\xca\xfa\x54\r\n")
    write("cp932", "invalid.txt", b"\x80\xa0\xfd\xfe\xff ok \x81 \x81\x7f \xe0\x0a\x00nul\x00 \x9f")
    write("cp932", "lead-at-end.txt", "末尾".encode("cp932") + b"\x88")
    write("cp932", "user-defined.txt", b"\xf0\x40\xf9\xfc\r\n")
    write("cp932", "ascii-controls.txt", bytes(range(0, 0x80)))
    write("cp932", "selectors.txt", "\u7e8a\ufe00 ∵\ufe01".encode("utf-16-le"))


def encodings():
    text = "件名：日本語のテキスト\nｶﾀｶﾅ 丂 ～〜 ①\nabc\n"
    write("encodings", "utf8.txt", text.encode("utf-8"))
    write("encodings", "utf8-bom-crlf.txt", b"\xef\xbb\xbf" + text.replace("\n", "\r\n").encode("utf-8") + b"\xff")
    write("encodings", "utf16le-bom.txt", b"\xff\xfe" + (text + "😀").encode("utf-16-le") + b"\x00\xd8")
    write("encodings", "utf16be-odd.txt", b"\xfe\xff" + text.encode("utf-16-be") + b"\x41")
    write("encodings", "eucjp.txt", text.replace("～", "").replace("①", "").encode("euc_jp") + b"\x8f\xa2\xb7\xad\xa1\x80\xa4")
    write("encodings", "iso2022jp.txt", "件名：日本語\r\nabc\r\n".encode("iso2022_jp"))
    write("encodings", "iso2022jp-old.txt", b"\x1b$@$\"\x1b(Ja\n\x1b$@$$\n\x1b(I123\x1b$(D0!\x1b(B\x1b(B")


def phrases():
    write("phrasefile", "register.txt", "<BR>\r\n<P>\r\n&nbsp;\r\nよろしくお願いします。\r\n".encode("cp932"))
    write("phrasefile", "lf-and-cr.txt", "一\n二\r三\r\n\r\n最後".encode("cp932"))
    write("phrasefile", "nul-ends.txt", b"before\r\nnul\x00after\r\n")
    write("phrasefile", "duplicates.txt", b"\xed\x40\xfa\x5c\r\n\x87\x9a\x81\xe6\r\n")
    write("phrasefile", "invalid-bytes.txt", b"\x80\xff\r\n\x81\r\n\x81\x7f\r\n")
    write("phrasefile", "empty-lines.txt", b"\r\n\r\n\n\r")


def settings():
    main = (
        "[Locate]\nTop=120\nleft=80\nHeight=490\nWidth=650\nState=0\n"
        "[File]\nIniDir=/home/user/pages/\n"
        "[Option]\nFont=\\x30d5\\x30a9\\x30f3\\x30c8\nFontColor=clBlack\nFontSize=12\nColor=clWhite\n"
        "WordWarp=1\nFontStyle=0\nFontPitch=0\n"
    )
    write("settings", "main.conf", main.encode())
    write("settings", "paint.conf", b"[Locate]\nTop=10\nleft=10\nHeight=400\nWidth=600\nState=2\n[File]\nIniDir=/tmp\n")
    colours = (
        "[Option]\nFontColor=$00FF8000\nColor=-16777201\nFontSize=400\nWordWarp=0\n"
        "[Locate]\nState=1\nTop=-5000\nleft=99999\nWidth=2147483647\nHeight=-1\n"
    )
    write("settings", "colours.conf", colours.encode())
    bad = "[Option]\nFontColor=pink\nColor=\nFontSize=abc\nFontStyle=300\nFontPiech=-1\n[Locate]\nTop=1e3\n"
    write("settings", "bad-values.conf", bad.encode())
    write("settings", "crlf-quoted.conf",
          b"[Option]\r\nFont=\"MS Gothic, bold\"\r\nColor=16777215\r\nFontSize=  9  \r\n"
          b"; comment\r\n[File]\r\nIniDir=C:\\\\Pages\\\\\r\n")
    write("settings", "variants.conf",
          b"[Option]\nColor=@Variant(\\0\\0\\0\\n\\0\\0\\0\\x2\\0\\x31)\nFont=@ByteArray(Serif)\n"
          b"FontSize=@Invalid()\nFontColor=1, 2\n[Locate]\nWidth=@Size(10 20)\nTop=@Rect(1 2 3 4)\n"
          b"[%U4E00]\nkey%20name=value \\\n continued\n")
    write("settings", "utf8-names.conf", "[Option]\nFont=ＭＳ Ｐゴシック\nColor=clRed\n".encode("utf-8"))


def qstring(text):
    if text is None:
        return struct.pack(">I", 0xFFFFFFFF)
    data = text.encode("utf-16-be")
    return struct.pack(">I", len(data)) + data


def recovery_copy(name, line_break, marks, text):
    body = text.encode("utf-8")
    header = qstring(name) + struct.pack(">BI", line_break, len(marks))
    for position, code in marks:
        header += struct.pack(">qH", position, code)
    return b"Pelmora recovery 2\n" + header + struct.pack(">Q", len(body)) + body


def recoveries():
    write("recovery", "plain.recover", recovery_copy("/home/user/a.txt", 0, [], "一行目\n二行目\n"))
    write("recovery", "stand-in.recover", recovery_copy("/tmp/b.txt", 1, [(3, 0x80)], "ABC\ufffcDEF"))
    write("recovery", "duplicate-code.recover", recovery_copy("", 2, [(0, 0xED40)], "\u7e8a\n"))
    write("recovery", "cut.recover", recovery_copy(None, 0, [(1, 0x81)], "A\ufffcBCD")[:-2])
    write("recovery", "marks-out-of-order.recover", recovery_copy("x", 0, [(5, 0x80), (0, 0xA0), (5, 0x81), (-3, 1)], "\ufffc12\n4\ufffc"))
    write("recovery", "version-1.recover", "Pelmora recovery 1\n/tmp/old.txt\n古い控え".encode("utf-8"))


def main():
    recoveries()
    bitmaps()
    icons()
    jpegs()
    metafiles_wmf()
    metafiles_emf()
    texts()
    encodings()
    phrases()
    settings()


if __name__ == "__main__":
    main()
