#!/usr/bin/env python3
"""Draws the sample lesson's button and expander images as small GIFs.

The page and the control name these images (scroll.gif, open.gif, ...); each
is drawn here from rectangles so that the lesson carries no borrowed art.
Run: python3 web/tools/draw_lesson_images.py lessons/sample
"""
import struct
import sys
from pathlib import Path

PALETTE = [
    (255, 255, 255),  # 0 background
    (60, 72, 100),    # 1 ink
    (200, 208, 222),  # 2 light panel
    (74, 90, 120),    # 3 video
    (255, 255, 221),  # 4 highlight (the current segment's colour)
    (46, 125, 50),    # 5 green
    (198, 40, 40),    # 6 red
    (120, 144, 200),  # 7 "on" frame
]


class Canvas:
    def __init__(self, w, h, bg=0):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def rect(self, x, y, w, h, c):
        for j in range(y, y + h):
            for i in range(x, x + w):
                if 0 <= i < self.w and 0 <= j < self.h:
                    self.px[j][i] = c

    def frame(self, x, y, w, h, c):
        self.rect(x, y, w, 1, c)
        self.rect(x, y + h - 1, w, 1, c)
        self.rect(x, y, 1, h, c)
        self.rect(x + w - 1, y, 1, h, c)


def gif(canvas):
    """An uncompressed GIF: a clear code before the table would grow."""
    min_code = 3  # 8 colours
    clear, end = 1 << min_code, (1 << min_code) + 1
    code_size = min_code + 1
    codes = []
    pixels = [c for row in canvas.px for c in row]
    for i, c in enumerate(pixels):
        if i % ((1 << min_code) - 2) == 0:
            codes.append(clear)
        codes.append(c)
    codes.append(end)
    bits, nbits, data = 0, 0, bytearray()
    for code in codes:
        bits |= code << nbits
        nbits += code_size
        while nbits >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        data.append(bits & 0xFF)
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", canvas.w, canvas.h, 0xF2, 0, 0)
    for r, g, b in PALETTE:
        out += bytes((r, g, b))
    out += b"\x2c" + struct.pack("<HHHHB", 0, 0, canvas.w, canvas.h, 0)
    out.append(min_code)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out += b"\x00\x3b"
    return bytes(out)


def button(on):
    c = Canvas(24, 22, 4 if on else 0)
    c.frame(0, 0, 24, 22, 7 if on else 2)
    return c


def layout(video, toc, trans, on):
    c = button(on)
    if video:
        c.rect(3, 4, 9 if (toc or trans) else 18, 8, 3)
    if toc:
        for y in (14, 16, 18):
            c.rect(3, y, 9, 1, 1)
    if trans:
        for y in (4, 7, 10, 13, 16):
            c.rect(14, y, 7, 1, 1)
    return c


def lines(count, on):
    c = button(on)
    for k in range(count):
        c.rect(4, 5 + 3 * k if count > 1 else 10, 16, 2, 1)
    return c


def link(broken):
    c = button(False)
    c.frame(3, 8, 9, 6, 5 if not broken else 1)
    c.frame(12, 8, 9, 6, 5 if not broken else 1)
    if broken:
        c.rect(11, 5, 2, 12, 6)
    return c


def printer():
    c = button(False)
    c.frame(7, 3, 10, 6, 1)
    c.rect(4, 9, 16, 7, 1)
    c.rect(7, 14, 10, 5, 0)
    c.frame(7, 14, 10, 5, 1)
    return c


def expander(plus):
    c = Canvas(11, 11)
    c.frame(0, 0, 11, 11, 1)
    c.rect(2, 5, 7, 1, 1)
    if plus:
        c.rect(5, 2, 1, 7, 1)
    return c


IMAGES = {
    "open.gif": lambda: expander(True),
    "close.gif": lambda: expander(False),
    "scroll.gif": lambda: lines(4, False),
    "scroll_on.gif": lambda: lines(4, True),
    "single.gif": lambda: lines(1, False),
    "single_on.gif": lambda: lines(1, True),
    "unsync.gif": lambda: link(True),
    "insync.gif": lambda: link(False),
    "print.gif": printer,
}
for name, parts in {"modefull": (1, 1, 1), "modetoc": (1, 1, 0),
                    "modetrans": (1, 0, 1), "modevideo": (1, 0, 0)}.items():
    IMAGES[f"{name}.gif"] = lambda p=parts: layout(*p, False)
    IMAGES[f"{name}_on.gif"] = lambda p=parts: layout(*p, True)

if __name__ == "__main__":
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    for name, draw in IMAGES.items():
        (folder / name).write_bytes(gif(draw()))
