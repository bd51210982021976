#!/usr/bin/env python3
"""Draws the application icon (resources/chainer.ico): a teal tile with three white links of a
chain, at 16, 32 and 48 pixels, 32-bit colour with alpha. Run it again after changing the drawing."""
import struct
import sys


def pixel(x, y, size):
    """RGBA of one pixel; coordinates are scaled to a 32-unit grid."""
    u, v = x * 32.0 / size, y * 32.0 / size
    inside = 1.5 <= u < 30.5 and 1.5 <= v < 30.5
    corner = min(u - 1.5, 30.5 - u, v - 1.5, 30.5 - v)
    if not inside or (corner < 3 and ((u < 5 or u > 27) and (v < 5 or v > 27))):
        cx = 5 if u < 16 else 27
        cy = 5 if v < 16 else 27
        if not inside or (u - cx) ** 2 + (v - cy) ** 2 > 12.5:
            return (0, 0, 0, 0)
    # Three links along the diagonal.
    for (lx, ly) in ((9, 23), (16, 16), (23, 9)):
        d = ((u - lx) ** 2 + (v - ly) ** 2) ** 0.5
        if 3.2 <= d <= 5.6:
            return (255, 255, 255, 255)
    shade = int(110 + 60 * v / 32)
    return (20, shade, 140, 255)


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up, as bitmaps are stored
        row = b"".join(struct.pack("BBBB", b, g, r, a) for (r, g, b, a) in
                       (pixel(x, y, size) for x in range(size)))
        rows.append(row)
    mask_row = b"\0" * (((size + 31) // 32) * 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + mask_row * size


def main(path):
    sizes = (16, 32, 48)
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "chainer.ico")
