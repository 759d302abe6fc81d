#!/usr/bin/env python3
"""Draws the wood texture assets/Solid.jpg (96 x 96) used for the side faces of
"Wood" style pieces.

The grain runs horizontally, like the edge of a plank, as bands of light and
dark growth rings bent by slow waves and soft noise, with fine fibres along
them. Every term is periodic over 96 pixels in both directions, so the
texture tiles without seams (the piece drawing wraps rows and columns).
Colours stay smooth and within a narrow range of warm browns, so the picture
survives decoding to a palette of at most 255 colours.

The texture is written as a binary PPM and converted with ImageMagick to a
baseline JPEG of quality 90. The output is deterministic.

Usage: make_wood.py [output.jpg]   (default: assets/Solid.jpg beside tools/)
"""

import math
import os
import random
import subprocess
import sys
import tempfile

SIZE = 96
CONVERT = "/usr/bin/convert"

# Colour ramp across one growth ring: early wood (light) to late wood (dark).
LIGHT = (214, 160, 104)
MID = (184, 126, 74)
DARK = (128, 78, 40)


class PeriodicNoise:
    """Smooth value noise on a lattice that repeats every `cells` cells."""

    def __init__(self, cells_x, cells_y, seed):
        rnd = random.Random(seed)
        self.cx = cells_x
        self.cy = cells_y
        self.grid = [[rnd.random() * 2.0 - 1.0 for _ in range(cells_x)] for _ in range(cells_y)]

    def at(self, x, y):
        """x and y in [0, 1): one period of the texture."""
        gx = x * self.cx
        gy = y * self.cy
        ix = int(math.floor(gx))
        iy = int(math.floor(gy))
        fx = gx - ix
        fy = gy - iy
        sx = fx * fx * (3.0 - 2.0 * fx)
        sy = fy * fy * (3.0 - 2.0 * fy)
        x0 = ix % self.cx
        x1 = (ix + 1) % self.cx
        y0 = iy % self.cy
        y1 = (iy + 1) % self.cy
        top = self.grid[y0][x0] + (self.grid[y0][x1] - self.grid[y0][x0]) * sx
        bottom = self.grid[y1][x0] + (self.grid[y1][x1] - self.grid[y1][x0]) * sx
        return top + (bottom - top) * sy


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def ring_colour(phase):
    """phase in [0, 1): position across one ring: light early wood darkening
    slowly, a narrow dark band of late wood, then a quick return."""
    if phase < 0.62:
        return lerp(LIGHT, MID, phase / 0.62)
    if phase < 0.82:
        return lerp(MID, DARK, (phase - 0.62) / 0.20)
    return lerp(DARK, LIGHT, (phase - 0.82) / 0.18)


def texture():
    warp = PeriodicNoise(3, 2, seed=11)     # large, slow bends of the rings
    wobble = PeriodicNoise(6, 4, seed=12)   # smaller irregularities
    spacing = PeriodicNoise(2, 3, seed=14)  # rings crowd here, spread there
    fibre = PeriodicNoise(4, 48, seed=13)   # fine streaks along the grain
    pores = PeriodicNoise(12, 96, seed=15)  # finer, shorter streaks
    rings = 9  # growth rings across the height of the tile (kept whole: seamless)
    rnd = random.Random(16)
    ring_tone = [0.92 + 0.16 * rnd.random() for _ in range(rings)]
    pixels = []
    for y in range(SIZE):
        v = y / SIZE
        for x in range(SIZE):
            u = x / SIZE
            bend = (0.020 * math.sin(2.0 * math.pi * (u + 0.15))
                    + 0.030 * warp.at(u, v)
                    + 0.006 * wobble.at(u, v))
            position = rings * (v + bend) + 0.9 * spacing.at(u, v)
            ring = int(math.floor(position)) % rings
            r, g, b = ring_colour(position % 1.0)
            shade = ring_tone[ring] * (1.0 + 0.07 * fibre.at(u, v) + 0.04 * pores.at(u, v))
            pixels.append(tuple(max(0, min(255, int(round(c * shade)))) for c in (r, g, b)))
    return pixels


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets", "Solid.jpg")
    data = bytearray()
    for p in texture():
        data.extend(p)
    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "wood.ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (SIZE, SIZE))
            f.write(bytes(data))
        subprocess.run([CONVERT, ppm, "-strip", "-interlace", "none", "-sampling-factor", "1x1",
                        "-quality", "90", out], check=True)
    print("wrote %s" % os.path.normpath(out))


if __name__ == "__main__":
    main()
