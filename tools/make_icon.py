#!/usr/bin/env python3
"""Draws the program icon (a magnifier over a page, on a blue tile) into an .ico with eight
32-bit images: 128, 96, 72, 64, 48, 32, 24 and 16 pixels. Each image is drawn at its own size
with 4x4 supersampling, so small sizes stay crisp. Usage: make_icon.py OUT.ico"""
import math
import struct
import sys

SIZES = [128, 96, 72, 64, 48, 32, 24, 16]


def rounded_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def shade(u, v):
    """Colour (r, g, b, a) at unit coordinates u, v in [0, 1)."""
    # magnifier: ring and handle, white with a dark outline
    cx, cy, ring_r, ring_w = 0.42, 0.42, 0.22, 0.075
    d = math.hypot(u - cx, v - cy)
    # handle along the diagonal from the ring towards the bottom right
    t = ((u - cx) + (v - cy)) / math.sqrt(2)
    off = abs((u - cx) - (v - cy)) / math.sqrt(2)
    if ring_r + ring_w * 0.5 <= t <= 0.52 and off <= 0.065:
        return (250, 250, 250, 255)
    if abs(d - ring_r) <= ring_w * 0.5:
        return (250, 250, 250, 255)
    if d < ring_r - ring_w * 0.5:
        # lens: pale blue glass with three "junk" lines
        for k, ly in enumerate((0.34, 0.42, 0.50)):
            if abs(v - ly) < 0.022 and 0.30 < u < 0.54 - 0.05 * (k == 2):
                return (220, 60, 50, 255)
        return (200, 228, 255, 255)
    if rounded_rect(u, v, 0.04, 0.04, 0.96, 0.96, 0.18):
        g = int(150 + 60 * (1 - v))
        return (30, g - 60, 200, 255)
    return (0, 0, 0, 0)


def render(size):
    ss = 4
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    r, g, b, a = shade((x + (sx + 0.5) / ss) / size, (y + (sy + 0.5) / ss) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            a = acc[3] / (ss * ss)
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(a)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def dib(size, pixels):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    and_mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_mask += bits
    return header + bytes(xor) + bytes(and_mask)


def main():
    images = [dib(s, render(s)) for s in SIZES]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in zip(SIZES, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
