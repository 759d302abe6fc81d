#!/usr/bin/env python3
"""Draws the board cursor and the toolbar, tray-bar and popup glyphs as RGBA PNGs.

Every picture is built from simple geometric shapes (rectangles, rounded
rectangles, circles, ellipses, polygons, strokes and arcs). Each pixel is
sampled 5 x 5 times so edges are smoothly anti-aliased, and the shapes are
composited in order with the usual "over" rule. Outlines are drawn as the same
shape grown by a pixel or so underneath the fill. PNGs are written directly
with zlib, so only Python's standard library is needed. The output is
deterministic.

Outputs (below the assets folder):
  cursor.png, cursor.hotspot       32 x 32 grabbing hand shown while pieces are held
  glyphs/picture.png ... quick-help.png   24 x 24 toolbar buttons
  glyphs/tray-empty.png, tray-full.png    16 x 16 tray-bar button images
  glyphs/scroll-left/right/up/down.png    16 x 16 tray-bar scroll buttons
  glyphs/rotate-right.png, rotate-left.png 16 x 16 piece popup menu icons

Usage: make_glyphs.py [assets-directory]   (default: assets beside tools/)
"""

import math
import os
import struct
import sys
import zlib

SUPERSAMPLE = 5

# A small shared palette so the set looks like one family.
INK = (52, 52, 58, 255)          # outlines and dark symbols
BOARD = (236, 230, 214, 255)     # the board in the arranging icons
FRAME = (120, 84, 48, 255)       # picture frame
SKY = (122, 196, 240, 255)
SUN = (255, 206, 64, 255)
HILL_FAR = (96, 170, 88, 255)
HILL_NEAR = (52, 130, 60, 255)
PIECE = (244, 164, 64, 255)      # jigsaw piece orange
PIECE_DARK = (150, 82, 20, 255)
BLUE = (44, 108, 206, 255)
BLUE_DARK = (28, 70, 150, 255)
WHITE = (255, 255, 255, 255)
TRAY_FRONT = (206, 160, 98, 255)
TRAY_INSIDE = (134, 96, 54, 255)
TRAY_EDGE = (92, 62, 32, 255)
PIECE_COLOURS = [(220, 64, 56, 255), (48, 120, 214, 255), (64, 168, 76, 255), (240, 170, 40, 255),
                 (150, 86, 196, 255)]


# ---------------------------------------------------------------- shapes
# A shape is a function (x, y) -> bool in pixel coordinates, where pixel (i, j)
# covers [i, i+1) x [j, j+1).

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry, angle_deg=0.0):
    c = math.cos(math.radians(angle_deg))
    s = math.sin(math.radians(angle_deg))

    def inside(x, y):
        dx = x - cx
        dy = y - cy
        u = dx * c + dy * s
        v = -dx * s + dy * c
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0
    return inside


def polygon(points):
    """Even-odd fill of a closed polygon."""
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            if (ay > y) != (by > y):
                cross = ax + (y - ay) * (bx - ax) / (by - ay)
                if x < cross:
                    result = not result
        return result
    return inside


def segment_distance(x, y, ax, ay, bx, by):
    dx = bx - ax
    dy = by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    px = ax + t * dx
    py = ay + t * dy
    return math.hypot(x - px, y - py)


def stroke(points, width):
    """A polyline of the given width with round joins and caps."""
    half = width / 2.0
    segments = list(zip(points, points[1:]))

    def inside(x, y):
        return any(segment_distance(x, y, a[0], a[1], b[0], b[1]) <= half for a, b in segments)
    return inside


def arc_points(cx, cy, r, start_deg, end_deg, steps=48):
    """Points along an arc; angles in degrees, 0 = right, 90 = down (screen axes)."""
    return [(cx + r * math.cos(math.radians(start_deg + (end_deg - start_deg) * i / steps)),
             cy + r * math.sin(math.radians(start_deg + (end_deg - start_deg) * i / steps)))
            for i in range(steps + 1)]


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


# ---------------------------------------------------------------- canvas

class Canvas:
    def __init__(self, width, height):
        self.w = width
        self.h = height
        # premultiplied RGBA in 0..1
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def draw(self, shape, colour):
        n = SUPERSAMPLE
        r, g, b, a = (c / 255.0 for c in colour)
        for j in range(self.h):
            for i in range(self.w):
                hits = 0
                for sy in range(n):
                    y = j + (sy + 0.5) / n
                    for sx in range(n):
                        if shape(i + (sx + 0.5) / n, y):
                            hits += 1
                if hits == 0:
                    continue
                alpha = a * hits / (n * n)
                p = self.px[j * self.w + i]
                keep = 1.0 - alpha
                p[0] = r * alpha + p[0] * keep
                p[1] = g * alpha + p[1] * keep
                p[2] = b * alpha + p[2] * keep
                p[3] = alpha + p[3] * keep

    def mirrored(self):
        out = Canvas(self.w, self.h)
        for j in range(self.h):
            for i in range(self.w):
                out.px[j * self.w + i] = list(self.px[j * self.w + (self.w - 1 - i)])
        return out

    def rgba_rows(self):
        rows = []
        for j in range(self.h):
            row = bytearray()
            for i in range(self.w):
                r, g, b, a = self.px[j * self.w + i]
                if a <= 0.0:
                    row += b"\0\0\0\0"
                    continue
                row += bytes([min(255, int(round(r / a * 255))), min(255, int(round(g / a * 255))),
                              min(255, int(round(b / a * 255))), min(255, int(round(a * 255)))])
            rows.append(bytes(row))
        return rows

    def save_png(self, path):
        raw = b"".join(b"\0" + row for row in self.rgba_rows())

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        png = (b"\x89PNG\r\n\x1a\n"
               + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
               + chunk(b"IDAT", zlib.compress(raw, 9))
               + chunk(b"IEND", b""))
        with open(path, "wb") as f:
            f.write(png)


def outlined(canvas, make_shape, fill, edge, grow=1.0):
    """Draws make_shape(grow) in the edge colour, then make_shape(0) in the fill."""
    canvas.draw(make_shape(grow), edge)
    canvas.draw(make_shape(0.0), fill)


# ---------------------------------------------------------------- toolbar, 24 x 24

def jigsaw_piece(x0, y0, size, g):
    """A piece with a knob on top and one on the right; g grows the shape
    (for its outline)."""
    k = size * 0.22  # knob radius
    body = rect(x0 - g, y0 - g, x0 + size + g, y0 + size + g)
    top = circle(x0 + size / 2, y0 - k * 0.6, k + g)
    right = circle(x0 + size + k * 0.6, y0 + size / 2, k + g)
    return union(body, top, right)


def arrowhead(px, py, dx, dy, length, half_width):
    """A triangle whose base is centred on (px, py), pointing along (dx, dy)."""
    norm = math.hypot(dx, dy)
    dx /= norm
    dy /= norm
    return polygon([(px + dx * length, py + dy * length),
                    (px - dy * half_width, py + dx * half_width),
                    (px + dy * half_width, py - dx * half_width)])


def icon_picture():
    c = Canvas(24, 24)
    c.draw(rounded_rect(1.5, 3.5, 22.5, 20.5, 1.5), FRAME)
    c.draw(rect(3.5, 5.5, 20.5, 18.5), SKY)
    c.draw(circle(16.2, 9.2, 2.2), SUN)
    c.draw(polygon([(3.5, 18.5), (3.5, 15.0), (8.5, 10.0), (13.0, 14.5), (14.5, 13.0), (20.5, 18.5)]),
           HILL_FAR)
    c.draw(polygon([(3.5, 18.5), (3.5, 16.5), (7.0, 14.5), (12.0, 16.0), (17.0, 14.0), (20.5, 15.5),
                    (20.5, 18.5)]), HILL_NEAR)
    return c


def icon_piece_size():
    c = Canvas(24, 24)
    outlined(c, lambda g: jigsaw_piece(2.5, 6.5, 10.0, g), PIECE, PIECE_DARK)
    # a two-headed diagonal arrow: smaller <-> larger
    c.draw(stroke([(15.5, 15.5), (20.0, 20.0)], 1.8), INK)
    c.draw(arrowhead(19.2, 19.2, 1.0, 1.0, 3.2, 3.2), INK)
    c.draw(arrowhead(16.3, 16.3, -1.0, -1.0, 3.2, 3.2), INK)
    return c


def board_icon():
    c = Canvas(24, 24)
    c.draw(rounded_rect(1.5, 1.5, 22.5, 22.5, 2.5), INK)
    c.draw(rounded_rect(2.7, 2.7, 21.3, 21.3, 1.6), BOARD)
    return c


def icon_arrange_edge():
    c = board_icon()
    size = 3.4
    spots = [4.3, 8.4, 12.2, 16.3]
    places = [(x, 4.3) for x in spots] + [(x, 16.3) for x in spots]
    places += [(4.3, 8.4), (4.3, 12.2), (16.3, 8.4), (16.3, 12.2)]
    for n, (x, y) in enumerate(places):
        c.draw(rect(x, y, x + size, y + size), PIECE_COLOURS[n % len(PIECE_COLOURS)])
    return c


def icon_arrange_grid():
    c = board_icon()
    size = 4.2
    for row in range(3):
        for col in range(3):
            x = 4.6 + col * 5.4
            y = 4.6 + row * 5.4
            c.draw(rect(x, y, x + size, y + size), PIECE_COLOURS[(row * 3 + col) % len(PIECE_COLOURS)])
    return c


def icon_sound():
    c = Canvas(24, 24)
    c.draw(polygon([(2.5, 9.0), (6.5, 9.0), (11.5, 4.0), (11.5, 20.0), (6.5, 15.0), (2.5, 15.0)]), INK)
    c.draw(stroke(arc_points(11.5, 12.0, 4.5, -45, 45), 1.9), BLUE)
    c.draw(stroke(arc_points(11.5, 12.0, 8.2, -48, 48), 1.9), BLUE)
    return c


def icon_music():
    c = Canvas(24, 24)
    c.draw(ellipse(6.8, 18.2, 3.1, 2.2, -22), INK)
    c.draw(ellipse(17.3, 16.2, 3.1, 2.2, -22), INK)
    c.draw(rect(8.8, 5.0, 10.2, 18.0), INK)
    c.draw(rect(19.3, 3.0, 20.7, 16.0), INK)
    c.draw(polygon([(8.8, 5.0), (20.7, 2.6), (20.7, 6.0), (8.8, 8.4)]), INK)
    return c


def icon_quick_help():
    c = Canvas(24, 24)
    c.draw(circle(12.0, 12.0, 10.6), BLUE_DARK)
    c.draw(circle(12.0, 12.0, 9.6), BLUE)
    hook = arc_points(12.0, 9.2, 3.4, 195, 400) + [(12.0, 13.4), (12.0, 14.4)]
    c.draw(stroke(hook, 2.5), WHITE)
    c.draw(circle(12.0, 18.0, 1.55), WHITE)
    return c


# ---------------------------------------------------------------- tray bar, 16 x 16

def tray(full):
    c = Canvas(16, 16)
    # the inside of the tray, seen over its front rim
    inside = [(1.0, 9.0), (3.5, 5.5), (12.5, 5.5), (15.0, 9.0)]
    c.draw(polygon([(0.3, 9.3), (3.1, 4.8), (12.9, 4.8), (15.7, 9.3)]), TRAY_EDGE)
    c.draw(polygon(inside), TRAY_INSIDE)
    if full:
        for n, (x, y, s) in enumerate([(3.2, 3.2, 4.0), (7.4, 1.6, 4.2), (11.0, 3.6, 3.6)]):
            c.draw(rect(x - 0.6, y - 0.6, x + s + 0.6, y + s + 0.6), TRAY_EDGE)
            c.draw(rect(x, y, x + s, y + s), PIECE_COLOURS[n])
    c.draw(rect(0.3, 8.3, 15.7, 14.7), TRAY_EDGE)
    c.draw(rect(1.3, 9.3, 14.7, 13.7), TRAY_FRONT)
    return c


def scroll_arrow(direction):
    c = Canvas(16, 16)
    shapes = {
        "left": [(4.5, 8.0), (10.5, 2.5), (10.5, 13.5)],
        "right": [(11.5, 8.0), (5.5, 2.5), (5.5, 13.5)],
        "up": [(8.0, 4.5), (2.5, 10.5), (13.5, 10.5)],
        "down": [(8.0, 11.5), (2.5, 5.5), (13.5, 5.5)],
    }
    c.draw(polygon(shapes[direction]), INK)
    return c


def rotate_right():
    """A clockwise circular arrow: an open ring with its head at the top,
    pointing right into the gap."""
    c = Canvas(16, 16)
    cx, cy, r = 8.0, 8.6, 5.0
    c.draw(stroke(arc_points(cx, cy, r, -35, 262), 2.0), BLUE)
    c.draw(arrowhead(cx - 0.6, cy - r, 1.0, 0.0, 4.2, 3.4), BLUE)
    return c


# ---------------------------------------------------------------- cursor, 32 x 32

CURSOR_HOTSPOT = (16, 17)


def cursor():
    """A closed, grabbing hand: palm seen from the back, four curled fingers
    along the top and the thumb folded over the left side."""
    c = Canvas(32, 32)
    edge = (0, 0, 0, 255)
    fill = (255, 255, 255, 255)
    line = 1.3

    def palm(g):
        return union(rounded_rect(7.0 - g, 10.5 - g, 24.5 + g, 25.5 + g, 4.5 + g),
                     rect(10.0 - g, 22.0 - g, 22.5 + g, 29.5 + g))

    def finger(x, top, g):
        return union(circle(x, top, 2.05 + g), rect(x - 2.05 - g, top, x + 2.05 + g, top + 5.0))

    def thumb(g):
        return stroke([(7.5, 22.5), (4.6, 17.6), (5.0, 14.5)], 4.0 + 2 * g)

    fingers = [(9.6, 10.0), (13.8, 8.6), (18.0, 8.6), (22.1, 9.6)]
    c.draw(palm(line), edge)
    for x, top in fingers:
        c.draw(finger(x, top, line), edge)
        c.draw(finger(x, top, 0.0), fill)
    c.draw(palm(0.0), fill)
    # the fold lines of the curled fingers
    for x in (11.7, 15.9, 20.05):
        c.draw(stroke([(x, 10.2), (x, 13.4)], 0.9), edge)
    c.draw(thumb(line), edge)
    c.draw(thumb(0.0), fill)
    # the cuff at the wrist
    c.draw(stroke([(10.0, 29.0), (22.5, 29.0)], 1.2), edge)
    return c


# ---------------------------------------------------------------- main

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    assets = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets")
    glyphs = os.path.join(assets, "glyphs")
    os.makedirs(glyphs, exist_ok=True)

    outputs = {
        "picture.png": icon_picture(),
        "piece-size.png": icon_piece_size(),
        "arrange-edge.png": icon_arrange_edge(),
        "arrange-grid.png": icon_arrange_grid(),
        "sound.png": icon_sound(),
        "music.png": icon_music(),
        "quick-help.png": icon_quick_help(),
        "tray-empty.png": tray(False),
        "tray-full.png": tray(True),
        "scroll-left.png": scroll_arrow("left"),
        "scroll-right.png": scroll_arrow("right"),
        "scroll-up.png": scroll_arrow("up"),
        "scroll-down.png": scroll_arrow("down"),
    }
    right = rotate_right()
    outputs["rotate-right.png"] = right
    outputs["rotate-left.png"] = right.mirrored()
    for name, canvas in outputs.items():
        canvas.save_png(os.path.join(glyphs, name))
        print("wrote glyphs/%s (%d x %d)" % (name, canvas.w, canvas.h))

    cursor().save_png(os.path.join(assets, "cursor.png"))
    with open(os.path.join(assets, "cursor.hotspot"), "w") as f:
        f.write("%d %d\n" % CURSOR_HOTSPOT)
    print("wrote cursor.png (32 x 32), hotspot %d %d" % CURSOR_HOTSPOT)


if __name__ == "__main__":
    main()
