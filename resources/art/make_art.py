#!/usr/bin/env python3
"""Draws the program's strip bitmaps and icons as 16-colour .bmp and .ico files (python3
standard library only, same bytes on every run). Run it in this folder after a change."""
import math
import struct

# The 16 colours of the standard Windows palette, in palette order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
FACE = SILVER  # button face (192,192,192): the background of every strip bitmap

SAMPLES = 4  # sub-samples per pixel side; a shape owns a pixel it covers at least half of


def canvas(size, colour):
    return [[colour] * size for _ in range(size)]


def paint(pixels, inside, colour):
    """Gives colour to every pixel that the shape 'inside(x, y)' covers at least half of."""
    size = len(pixels)
    for row in range(size):
        for col in range(size):
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = col + (sx + 0.5) / SAMPLES
                    y = row + (sy + 0.5) / SAMPLES
                    if inside(x, y):
                        hits += 1
            if hits * 2 >= SAMPLES * SAMPLES:
                pixels[row][col] = colour


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def stroke(points, width):
    """A polyline of the given width with round ends and joints."""
    half = width / 2.0

    def near(x, y):
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            t = ((x - ax) * dx + (y - ay) * dy) / float(dx * dx + dy * dy)
            t = max(0.0, min(1.0, t))
            if math.hypot(x - ax - t * dx, y - ay - t * dy) <= half:
                return True
        return False
    return near


def lamp(size, rim, fill, shine):
    """An indicator lamp: a round light with a dark rim and a small highlight."""
    pixels = canvas(size, FACE)
    c = size / 2.0
    r = size / 2.0 - 1.0
    paint(pixels, disc(c, c, r), rim)
    paint(pixels, disc(c, c, r - max(1.2, size / 14.0)), fill)
    paint(pixels, disc(c - r * 0.38, c - r * 0.38, max(1.0, r * 0.22)), shine)
    return pixels


def lamp_changed(size):
    """The amber lamp of a pending booking, with an exclamation mark."""
    pixels = lamp(size, OLIVE, YELLOW, YELLOW)
    c = size / 2.0
    w = max(2.0, size / 8.0)
    paint(pixels, stroke([(c, size * 0.24), (c, size * 0.50)], w), BLACK)
    paint(pixels, disc(c, size * 0.74, w * 0.58), BLACK)
    return pixels


def check(size):
    """A green check mark with a dark edge."""
    pixels = canvas(size, FACE)
    s = float(size)
    points = [(s * 0.16, s * 0.52), (s * 0.40, s * 0.78), (s * 0.85, s * 0.22)]
    w = max(2.6, s * 0.2)
    paint(pixels, stroke(points, w + 1.6), GREEN)
    paint(pixels, stroke(points, w - 0.2), LIME)
    return pixels


def cross(size):
    """A red cross with a dark edge."""
    pixels = canvas(size, FACE)
    s = float(size)
    a, b = s * 0.2, s * 0.8
    w = max(2.4, s * 0.18)
    for line in ([(a, a), (b, b)], [(a, b), (b, a)]):
        paint(pixels, stroke(line, w + 1.6), MAROON)
    for line in ([(a, a), (b, b)], [(a, b), (b, a)]):
        paint(pixels, stroke(line, w - 0.2), RED)
    return pixels


def clock(size):
    """The program icon: a clock face; None marks the transparent pixels."""
    pixels = canvas(size, None)
    c = size / 2.0
    r = size / 2.0 - 0.5
    paint(pixels, disc(c, c, r), NAVY)
    paint(pixels, disc(c, c, r - max(1.5, size / 12.0)), WHITE)
    if size >= 32:
        for hour in range(12):
            angle = hour * math.pi / 6
            x = c + math.sin(angle) * (r - 4.2)
            y = c - math.cos(angle) * (r - 4.2)
            paint(pixels, disc(x, y, 1.0 if hour % 3 else 1.5), BLACK)
    w = max(1.5, size / 12.0)
    paint(pixels, stroke([(c, c), (c, c - r * 0.72)], w), BLACK)
    paint(pixels, stroke([(c, c), (c + r * 0.48, c + r * 0.12)], w), BLACK)
    paint(pixels, disc(c, c, w * 0.8), RED)
    return pixels


def pack_4bit(pixels, blank):
    """The rows bottom-up, two pixels a byte, each row padded to four bytes."""
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        values = [blank if p is None else p for p in row]
        if len(values) % 2:
            values.append(0)
        for i in range(0, len(values), 2):
            line.append(values[i] << 4 | values[i + 1])
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def pack_mask(pixels):
    """The AND mask of an icon: 1 for a transparent pixel, rows bottom-up, padded to four bytes."""
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray((len(row) + 7) // 8)
        for i, p in enumerate(row):
            if p is None:
                line[i // 8] |= 0x80 >> (i % 8)
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def info_header(size, height, image_bytes):
    return struct.pack("<IiiHHIIiiII", 40, size, height, 1, 4, 0, image_bytes, 0, 0, 16, 0)


def write_bmp(name, pixels):
    size = len(pixels)
    bits = pack_4bit(pixels, FACE)
    offset = 14 + 40 + 64
    with open(name, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset))
        f.write(info_header(size, size, len(bits)))
        f.write(palette_bytes())
        f.write(bits)


def write_ico(name, images):
    entries = bytearray()
    blobs = bytearray()
    offset = 6 + 16 * len(images)
    for pixels in images:
        size = len(pixels)
        bits = pack_4bit(pixels, BLACK)
        mask = pack_mask(pixels)
        blob = info_header(size, size * 2, len(bits) + len(mask)) + palette_bytes() + bits + mask
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(name, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)))
        f.write(entries)
        f.write(blobs)


def main():
    for prefix, lamp_size, button_size in (("BMPG", 25, 20), ("BMPK", 21, 15)):
        write_bmp(prefix + "_AUS.bmp", lamp(lamp_size, MAROON, RED, WHITE))
        write_bmp(prefix + "_EIN.bmp", lamp(lamp_size, GREEN, LIME, WHITE))
        write_bmp(prefix + "_ANDERS.bmp", lamp_changed(lamp_size))
        write_bmp(prefix + "_OK.bmp", check(button_size))
        write_bmp(prefix + "_CANCEL.bmp", cross(button_size))
    write_ico("kx.ico", [clock(32), clock(16)])
    write_ico("kx_small.ico", [clock(16)])


if __name__ == "__main__":
    main()
