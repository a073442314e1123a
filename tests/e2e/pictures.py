# SPDX-License-Identifier: GPL-3.0-or-later
"""PNG and BMP reading and PNG writing with the standard library only, so the suite runs on a
bare Debian with nothing but python3."""

import struct
import zlib


class Picture:
    """RGBA pixels, row by row."""

    __slots__ = ("width", "height", "pixels")

    def __init__(self, width, height, pixels=None, fill=(0, 0, 0, 255)):
        self.width = width
        self.height = height
        self.pixels = pixels if pixels is not None else [fill] * (width * height)

    def at(self, x, y):
        return self.pixels[y * self.width + x]

    def put(self, x, y, rgba):
        self.pixels[y * self.width + x] = rgba

    def crop(self, x, y, width, height):
        rows = []
        for row in range(y, y + height):
            start = row * self.width + x
            rows.extend(self.pixels[start:start + width])
        return Picture(width, height, rows)

    def size(self):
        return (self.width, self.height)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _unfilter(data, width, height, bpp_bits, channels):
    stride = (width * bpp_bits + 7) // 8
    step = max(1, bpp_bits // 8)
    rows = []
    previous = bytearray(stride)
    pos = 0
    for _ in range(height):
        kind = data[pos]
        line = bytearray(data[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        if kind == 1:
            for i in range(step, stride):
                line[i] = (line[i] + line[i - step]) & 0xFF
        elif kind == 2:
            for i in range(stride):
                line[i] = (line[i] + previous[i]) & 0xFF
        elif kind == 3:
            for i in range(stride):
                left = line[i - step] if i >= step else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                left = line[i - step] if i >= step else 0
                upleft = previous[i - step] if i >= step else 0
                line[i] = (line[i] + _paeth(left, previous[i], upleft)) & 0xFF
        elif kind != 0:
            raise ValueError("bad PNG filter %d" % kind)
        rows.append(line)
        previous = line
    return rows


def _samples(line, width, depth, channels):
    """Samples of one row, scaled to 8 bits where the depth is not 8."""
    count = width * channels
    if depth == 8:
        return list(line[:count])
    if depth == 16:
        return [line[2 * i] for i in range(count)]
    out = []
    per_byte = 8 // depth
    mask = (1 << depth) - 1
    for i in range(count):
        byte = line[i // per_byte]
        shift = 8 - depth * (i % per_byte + 1)
        out.append((byte >> shift) & mask)
    return out


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("%s: not a PNG file" % path)
    pos = 8
    idat = bytearray()
    palette = []
    trns = None
    header = None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"tRNS":
            trns = body
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    if interlace:
        raise ValueError("%s: interlaced PNG files are not read here" % path)
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    rows = _unfilter(zlib.decompress(bytes(idat)), width, height, depth * channels, channels)
    pixels = []
    for line in rows:
        s = _samples(line, width, depth, channels)
        if colour == 3:
            alphas = trns or b""
            for i in s:
                r, g, b = palette[i]
                pixels.append((r, g, b, alphas[i] if i < len(alphas) else 255))
        elif colour == 0:
            scale = 255 // ((1 << depth) - 1) if depth < 8 else 1
            key = struct.unpack(">H", trns)[0] if trns else None
            for v in s:
                grey = v * scale
                pixels.append((grey, grey, grey, 0 if key is not None and v == key else 255))
        elif colour == 4:
            for i in range(0, len(s), 2):
                pixels.append((s[i], s[i], s[i], s[i + 1]))
        elif colour == 2:
            key = struct.unpack(">HHH", trns) if trns else None
            for i in range(0, len(s), 3):
                rgb = (s[i], s[i + 1], s[i + 2])
                pixels.append(rgb + ((0,) if key is not None and rgb == key else (255,)))
        else:
            for i in range(0, len(s), 4):
                pixels.append((s[i], s[i + 1], s[i + 2], s[i + 3]))
    return Picture(width, height, pixels)


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError("%s: not a BMP file" % path)
    offset = struct.unpack("<I", data[10:14])[0]
    header_size = struct.unpack("<I", data[14:18])[0]
    width, height, _, bpp, compression = struct.unpack("<iiHHI", data[18:34])
    colours_used = struct.unpack("<I", data[46:50])[0] if header_size >= 40 else 0
    if compression not in (0, 3):
        raise ValueError("%s: compressed BMP files are not read here" % path)
    top_down = height < 0
    height = abs(height)
    palette = []
    if bpp <= 8:
        count = colours_used or (1 << bpp)
        start = 14 + header_size
        for i in range(count):
            b, g, r = data[start + 4 * i:start + 4 * i + 3]
            palette.append((r, g, b, 255))
    stride = ((width * bpp + 31) // 32) * 4
    pixels = [None] * (width * height)
    for row in range(height):
        line = data[offset + row * stride:offset + (row + 1) * stride]
        y = row if top_down else height - 1 - row
        for x in range(width):
            if bpp == 24:
                b, g, r = line[3 * x:3 * x + 3]
                value = (r, g, b, 255)
            elif bpp == 32:
                b, g, r = line[4 * x:4 * x + 3]
                value = (r, g, b, 255)
            else:
                per_byte = 8 // bpp
                byte = line[x // per_byte]
                shift = 8 - bpp * (x % per_byte + 1)
                value = palette[(byte >> shift) & ((1 << bpp) - 1)]
            pixels[y * width + x] = value
    return Picture(width, height, pixels)


def read_bitmap(path):
    """The kind comes from the extension, as in the program."""
    if str(path).lower().endswith(".bmp"):
        return read_bmp(path)
    return read_png(path)


def write_png(path, picture, alpha=False):
    raw = bytearray()
    for y in range(picture.height):
        raw.append(0)
        for r, g, b, a in picture.pixels[y * picture.width:(y + 1) * picture.width]:
            raw += bytes((r, g, b, a) if alpha else (r, g, b))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        header = struct.pack(">IIBBBBB", picture.width, picture.height, 8, 6 if alpha else 2,
                             0, 0, 0)
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(chunk(b"IEND", b""))


class RgbFrame:
    """A screen grab kept as raw RGB bytes; pixels are made on demand, since a whole screen of
    tuples would cost more than every check together."""

    def __init__(self, width, height, data):
        if len(data) != width * height * 3:
            raise ValueError("screen grab of %d bytes for %dx%d" % (len(data), width, height))
        self.width = width
        self.height = height
        self.data = data

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return (self.data[i], self.data[i + 1], self.data[i + 2], 255)

    def crop(self, x, y, width, height):
        pixels = []
        for row in range(y, y + height):
            start = 3 * (row * self.width + x)
            line = self.data[start:start + 3 * width]
            it = iter(line)
            pixels.extend((r, g, b, 255) for r, g, b in zip(it, it, it))
        return Picture(width, height, pixels)

    def size(self):
        return (self.width, self.height)
