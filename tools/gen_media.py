#!/usr/bin/env python3
"""Build the program's bundled media from code.

Writes main_picture.png, author_picture.png, app_icon.ico and
sign_in_chime.wav.  Everything is drawn here, with no outside inputs, and the
output is byte-for-byte repeatable: no clocks, and the only "randomness" (the
dither grain) comes from a hash of fixed strings.

Usage: python3 tools/gen_media.py [outdir]      (default: assets/)
Needs only the Python standard library.
"""

import hashlib
import math
import os
import struct
import sys
import zlib

GENERATOR_TAG = "gen_media 1.0"


# --------------------------------------------------------------------------
# Regions: signed distance in pixels (negative inside) plus a bounding box.
# Coverage comes from the distance, which gives anti-aliased edges without
# supersampling and soft edges (shadows) for free.
# --------------------------------------------------------------------------

INF = 1e9


class Region:
    def __init__(self, dist, box):
        self.dist = dist          # (x, y) -> signed distance
        self.box = box            # (x0, y0, x1, y1) enclosing the inside

    def __or__(self, other):
        a, b = self.dist, other.dist
        return Region(lambda x, y: min(a(x, y), b(x, y)),
                      _box_union(self.box, other.box))

    def __and__(self, other):
        a, b = self.dist, other.dist
        return Region(lambda x, y: max(a(x, y), b(x, y)),
                      _box_meet(self.box, other.box))

    def __sub__(self, other):
        a, b = self.dist, other.dist
        return Region(lambda x, y: max(a(x, y), -b(x, y)), self.box)

    def moved(self, dx, dy):
        d = self.dist
        x0, y0, x1, y1 = self.box
        return Region(lambda x, y: d(x - dx, y - dy),
                      (x0 + dx, y0 + dy, x1 + dx, y1 + dy))

    def grown(self, r):
        d = self.dist
        x0, y0, x1, y1 = self.box
        return Region(lambda x, y: d(x, y) - r,
                      (x0 - r, y0 - r, x1 + r, y1 + r))


def _box_union(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def _box_meet(a, b):
    return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))


def circle(cx, cy, r):
    hyp = math.hypot
    return Region(lambda x, y: hyp(x - cx, y - cy) - r,
                  (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    # Standard first-order estimate; exact enough within a few pixels of the
    # boundary, which is all the edge shading looks at.
    hyp = math.hypot
    m = min(rx, ry)

    def dist(x, y):
        u, v = (x - cx) / rx, (y - cy) / ry
        k0 = hyp(u, v)
        k1 = hyp(u / rx, v / ry)
        return k0 * (k0 - 1.0) / k1 if k1 > 0 else -m
    return Region(dist, (cx - rx, cy - ry, cx + rx, cy + ry))


def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    hyp = math.hypot

    def dist(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        if qx > 0 and qy > 0:
            return hyp(qx, qy) - r
        return max(qx, qy) - r
    return Region(dist, (x0, y0, x1, y1))


def capsule(ax, ay, bx, by, r):
    """A thick line segment with round ends."""
    ux, uy = bx - ax, by - ay
    ll = ux * ux + uy * uy
    hyp = math.hypot

    def dist(x, y):
        px, py = x - ax, y - ay
        t = (px * ux + py * uy) / ll
        t = 0.0 if t < 0 else 1.0 if t > 1 else t
        return hyp(px - ux * t, py - uy * t) - r
    return Region(dist, (min(ax, bx) - r, min(ay, by) - r,
                         max(ax, bx) + r, max(ay, by) + r))


def polyline(points, r):
    reg = capsule(*points[0], *points[1], r)
    for a, b in zip(points[1:], points[2:]):
        reg = reg | capsule(*a, *b, r)
    return reg


def convex_polygon(points):
    """Points in either winding.  The distance is the largest edge-line
    distance: exact along edges, a little sharp at corners, which does not
    matter for anti-aliasing."""
    n = len(points)
    area2 = sum(points[i][0] * points[(i + 1) % n][1]
                - points[(i + 1) % n][0] * points[i][1] for i in range(n))
    sign = 1.0 if area2 > 0 else -1.0       # picks the outward normal
    edges = []
    for i in range(n):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
        ex, ey = bx - ax, by - ay
        ln = math.hypot(ex, ey)
        edges.append((ax, ay, sign * ey / ln, -sign * ex / ln))

    def dist(x, y):
        return max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Region(dist, (min(xs), min(ys), max(xs), max(ys)))


def arc(cx, cy, radius, a0, a1, r):
    """A stroke along a circle from angle a0 to a1 (radians, y down), with
    round ends: used for smiles."""
    ends = [(cx + radius * math.cos(a), cy + radius * math.sin(a))
            for a in (a0, a1)]
    hyp, atan2 = math.hypot, math.atan2

    span = a1 - a0
    full = 2 * math.pi

    def dist(x, y):
        if (atan2(y - cy, x - cx) - a0) % full <= span:
            return abs(hyp(x - cx, y - cy) - radius) - r
        return min(hyp(x - ex, y - ey) for ex, ey in ends) - r
    return Region(dist, (cx - radius - r, cy - radius - r,
                         cx + radius + r, cy + radius + r))


def below(y0):
    """Half plane y > y0; only ever used to cut another region."""
    return Region(lambda x, y: y0 - y, (-INF, y0, INF, INF))


# --------------------------------------------------------------------------
# Paints: (x, y) -> (r, g, b) with channels in 0..1.
# --------------------------------------------------------------------------

def rgb(hexcode):
    v = int(hexcode.lstrip("#"), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0)


def _mix(c0, c1, t):
    return (c0[0] + (c1[0] - c0[0]) * t,
            c0[1] + (c1[1] - c0[1]) * t,
            c0[2] + (c1[2] - c0[2]) * t)


def _ramp(stops, t):
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return _mix(c0, c1, (t - t0) / (t1 - t0))
    return stops[-1][1]


def solid(hexcode):
    c = rgb(hexcode)
    return lambda x, y: c


def linear(x0, y0, x1, y1, *stops):
    """Gradient along the line from (x0, y0) to (x1, y1); stops are
    (position 0..1, '#rrggbb')."""
    stops = [(t, rgb(c)) for t, c in stops]
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy
    return lambda x, y: _ramp(stops, ((x - x0) * dx + (y - y0) * dy) / ll)


def radial(cx, cy, radius, *stops):
    stops = [(t, rgb(c)) for t, c in stops]
    hyp = math.hypot
    return lambda x, y: _ramp(stops, hyp(x - cx, y - cy) / radius)


def lit(paint, lx, ly, radius, gain=0.35, shade=0.25):
    """Round-object lighting: brighter towards the light spot (lx, ly),
    darker away from it, so flat shapes read as soft volumes."""
    hyp = math.hypot

    def p(x, y):
        r, g, b = paint(x, y)
        t = hyp(x - lx, y - ly) / radius
        if t < 1.0:
            k = gain * (1.0 - t) * (1.0 - t)
            return (r + (1 - r) * k, g + (1 - g) * k, b + (1 - b) * k)
        k = 1.0 - shade * min(1.0, t - 1.0)
        return (r * k, g * k, b * k)
    return p


def wood(light, dark, scale):
    """Wavy grain: long bands bent by a slow wave, like planed timber."""
    c0, c1 = rgb(light), rgb(dark)
    sin = math.sin

    def p(x, y):
        w = sin(y * 0.11 / scale + 3.0 * sin(x * 0.006 / scale + y * 0.013 / scale))
        w2 = sin(x * 0.021 / scale + y * 0.3 / scale)
        t = 0.5 + 0.35 * w + 0.15 * w2
        return _mix(c0, c1, t * t)
    return p


def ruled(paint, y0, gap, colour, width=2.0):
    """Thin horizontal lines over a paint (exercise-book paper)."""
    c = rgb(colour)

    def p(x, y):
        base = paint(x, y)
        f = (y - y0) % gap
        d = min(f, gap - f)
        if d < width:
            return _mix(base, c, 0.55 * (1.0 - d / width))
        return base
    return p


def mottled(paint, amount, scale):
    """Low-frequency blotches (chalk dust, fabric) from a few sine waves."""
    sin = math.sin

    def p(x, y):
        r, g, b = paint(x, y)
        n = (sin(x * 0.013 / scale + y * 0.007 / scale)
             + sin(x * 0.005 / scale - y * 0.017 / scale + 1.3)
             + 0.5 * sin(x * 0.041 / scale + y * 0.037 / scale + 2.1)) / 2.5
        k = 1.0 + amount * n
        return (r * k, g * k, b * k)
    return p


# --------------------------------------------------------------------------
# Rasteriser
# --------------------------------------------------------------------------

class Layer:
    """A region filled with a paint.  `soft` widens the edge ramp (in
    pixels) for shadows and glows; `clip` limits the layer to a region."""

    def __init__(self, region, paint, opacity=1.0, soft=1.0, clip=None):
        self.region, self.paint = region, paint
        self.opacity, self.soft, self.clip = opacity, max(1.0, soft), clip
        box = region.box if clip is None else _box_meet(region.box, clip.box)
        m = self.soft / 2 + 1
        self.box = (box[0] - m, box[1] - m, box[2] + m, box[3] + m)


def shadow(region, dx, dy, soft, opacity, colour="#1b2a44", clip=None):
    return Layer(region.moved(dx, dy), solid(colour), opacity, soft, clip)


def render(width, height, layers, grain_seed=None):
    """Composite the layers row by row; yield each row as RGBA bytes.

    With grain_seed set, channels are rounded with a hashed per-pixel
    threshold: that hides banding in long gradients and gives surfaces a
    fine grain.  The hash makes it repeatable."""
    for y in range(height):
        py = y + 0.5
        R = [0.0] * width
        G = [0.0] * width
        B = [0.0] * width
        A = [0.0] * width
        for layer in layers:
            x0, y0, x1, y1 = layer.box
            if py < y0 or py > y1:
                continue
            _paint_span(layer, py, max(0, int(x0)), min(width, int(x1) + 1),
                        R, G, B, A)
        if grain_seed is None:
            noise = None
        else:
            noise = hashlib.shake_256(b"%s/%d" % (grain_seed, y)).digest(3 * width)
        yield _quantise(R, G, B, A, noise)


def _paint_span(layer, py, xa, xb, R, G, B, A):
    dist, paint, clip = layer.region.dist, layer.paint, layer.clip
    inv, op = 1.0 / layer.soft, layer.opacity
    cdist = clip.dist if clip is not None else None
    for x in range(xa, xb):
        px = x + 0.5
        cov = 0.5 - dist(px, py) * inv
        if cov <= 0.0:
            continue
        if cov > 1.0:
            cov = 1.0
        if cdist is not None:
            c2 = 0.5 - cdist(px, py)
            if c2 <= 0.0:
                continue
            if c2 < 1.0:
                cov *= c2
        a = cov * op
        r, g, b = paint(px, py)
        k = 1.0 - a
        # premultiplied "over"
        R[x] = r * a + R[x] * k
        G[x] = g * a + G[x] * k
        B[x] = b * a + B[x] * k
        A[x] = a + A[x] * k


def _quantise(R, G, B, A, noise):
    out = bytearray(4 * len(A))
    for x, a in enumerate(A):
        alpha = int(a * 255.0 + 0.5)
        if alpha <= 0:
            continue            # fully transparent stays 0,0,0,0
        s = 255.0 / a
        if noise is None:
            r, g, b = R[x] * s + 0.5, G[x] * s + 0.5, B[x] * s + 0.5
        else:
            i = 3 * x
            r = R[x] * s + noise[i] * (1 / 256)
            g = G[x] * s + noise[i + 1] * (1 / 256)
            b = B[x] * s + noise[i + 2] * (1 / 256)
        o = 4 * x
        out[o] = min(255, max(0, int(r)))
        out[o + 1] = min(255, max(0, int(g)))
        out[o + 2] = min(255, max(0, int(b)))
        out[o + 3] = min(255, alpha)
    return bytes(out)


# --------------------------------------------------------------------------
# PNG
# --------------------------------------------------------------------------

IDAT_CHUNK = 65536


def _chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def _bytewise_sub(a, b):
    """(a - b) mod 256 for every byte, done on whole rows as big integers
    (SWAR) because a per-byte Python loop is far too slow here."""
    n = len(a)
    hi = int.from_bytes(b"\x80" * n, "little")
    x = int.from_bytes(a, "little")
    y = int.from_bytes(b, "little")
    d = ((x | hi) - (y & ~hi)) ^ ((x ^ ~y) & hi)
    return d.to_bytes(n + 1, "little")[:n]


def encode_png(width, height, rows):
    # "Up" filter on every row: the pictures are mostly vertical gradients
    # and smooth shapes, so the row above predicts well.
    prev = bytes(4 * width)
    raw = bytearray()
    for row in rows:
        raw += b"\x02" + _bytewise_sub(row, prev)
        prev = row
    stream = zlib.compress(bytes(raw), 9)
    out = [b"\x89PNG\r\n\x1a\n",
           _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)),
           _chunk(b"sRGB", b"\x00"),
           _chunk(b"gAMA", struct.pack(">I", 45455)),
           _chunk(b"pHYs", struct.pack(">IIB", 3780, 3780, 1))]
    # Several IDAT chunks keep each one a modest size for streaming readers.
    for i in range(0, len(stream), IDAT_CHUNK):
        out.append(_chunk(b"IDAT", stream[i:i + IDAT_CHUNK]))
    out.append(_chunk(b"IEND", b""))
    return b"".join(out)


# --------------------------------------------------------------------------
# Main picture: a pupil raising a hand in front of a chalkboard with a tick,
# an open book on the desk.  Tall and simple, because it is shown tiny.
# --------------------------------------------------------------------------

MAIN_W, MAIN_H = 1072, 1500


def main_picture_layers():
    L = []
    card = rounded_rect(44, 36, 1028, 1436, 120)
    L.append(shadow(card, 0, 22, 44, 0.35))
    L.append(Layer(card, mottled(linear(0, 36, 0, 1150, (0, "#9fd0f2"),
                                        (1, "#e3f1fb")), 0.025, 1.5)))
    floor = card & below(1230)
    L.append(Layer(floor, linear(0, 1230, 0, 1436, (0, "#e8c9a0"),
                                 (1, "#d9b085"))))

    # chalkboard in a wooden frame
    frame = rounded_rect(118, 124, 954, 640, 30)
    L.append(shadow(frame, 0, 14, 26, 0.3))
    L.append(Layer(frame, lit(wood("#c48a52", "#9a6535", 1.0), 300, 160, 700,
                              0.2, 0.2)))
    board = rounded_rect(148, 154, 924, 610, 14)
    L.append(Layer(board, mottled(radial(560, 330, 620, (0, "#3f7a60"),
                                         (1, "#244a3b")), 0.06, 1.0)))
    L.append(Layer(board, solid("#0f2a20"), 0.35, 24, clip=board - board.grown(-6)))
    chalk = "#eef3ea"
    for yy, x1 in ((222, 470), (282, 410), (342, 450)):
        L.append(Layer(capsule(205, yy, x1, yy, 10), solid(chalk), 0.75))
    tick = polyline([(560, 400), (648, 490), (842, 262)], 30)
    L.append(Layer(tick, solid(chalk), 0.95))
    # chalk tray
    L.append(Layer(rounded_rect(300, 628, 770, 660, 10), solid("#8a5a30")))

    # pupil: raised arm first so the head and body overlap it
    shirt = "#ec6f52"
    skin = "#f6c9a0"
    L.append(shadow(capsule(318, 1000, 262, 620, 60), 10, 12, 30, 0.25))
    L.append(Layer(capsule(318, 1000, 262, 620, 60),
                   lit(solid(shirt), 250, 700, 260, 0.3, 0.25)))
    L.append(Layer(capsule(262, 620, 246, 560, 48), lit(solid(skin), 230, 520, 150)))
    hand = ellipse(246, 520, 62, 76)
    L.append(Layer(hand, lit(solid(skin), 225, 480, 120)))
    L.append(Layer(capsule(194, 520, 176, 470, 22), lit(solid(skin), 170, 470, 60)))
    for fx in (222, 248, 274):
        L.append(Layer(capsule(fx, 455, fx + 2, 470, 1), solid("#d9a17a"), 0.8, 3))

    body = rounded_rect(232, 930, 640, 1320, 170)
    L.append(Layer(body, lit(mottled(solid(shirt), 0.03, 0.5), 360, 960, 420, 0.3, 0.3)))
    L.append(Layer(convex_polygon([(384, 925), (488, 925), (436, 990)]),
                   solid("#fbe3cf")))
    neck = rounded_rect(398, 860, 474, 950, 24)
    L.append(Layer(neck, solid("#e4ad85")))

    head = circle(436, 770, 146)
    L.append(shadow(head, 8, 14, 30, 0.25))
    for ex in (290, 582):
        L.append(Layer(circle(ex, 786, 30), lit(solid(skin), ex, 770, 60)))
    L.append(Layer(head, lit(solid(skin), 390, 720, 220, 0.3, 0.25)))
    hair = (circle(436, 760, 162) - ellipse(482, 872, 178, 206)) \
        | ellipse(410, 622, 70, 30)
    L.append(Layer(hair, lit(solid("#5a3620"), 400, 650, 200, 0.25, 0.3)))
    for ex in (386, 486):
        L.append(Layer(ellipse(ex, 782, 14, 19), solid("#2c2230")))
        L.append(Layer(circle(ex - 5, 775, 5), solid("#ffffff"), 0.9))
    L.append(Layer(arc(436, 800, 56, 0.45, math.pi - 0.45, 7), solid("#a0483c")))
    for cx in (360, 512):
        L.append(Layer(circle(cx, 826, 26), solid("#f08f80"), 0.35, 24))

    # desk with an open book
    top = rounded_rect(70, 1118, 1002, 1190, 22)
    front = rounded_rect(112, 1180, 960, 1392, 18)
    L.append(shadow(top | front, 0, 24, 40, 0.3))
    L.append(Layer(front, lit(wood("#b9783f", "#8e5527", 1.2), 530, 1200, 600,
                              0.15, 0.25)))
    L.append(Layer(top, wood("#deaa6e", "#c48a50", 0.8)))
    L.append(Layer(rounded_rect(70, 1176, 1002, 1190, 8), solid("#9c6334"), 0.6, 4))

    cover = (convex_polygon([(548, 1000), (738, 1036), (738, 1172), (538, 1150)])
             | convex_polygon([(738, 1036), (928, 1000), (938, 1150), (738, 1172)]))
    L.append(shadow(cover, 0, 10, 20, 0.3))
    L.append(Layer(cover, lit(solid("#2f6fc0"), 640, 1020, 400, 0.2, 0.2)))
    paper = "#fffaf0"
    left = convex_polygon([(562, 1006), (736, 1044), (736, 1154), (556, 1136)])
    right = convex_polygon([(740, 1044), (914, 1006), (920, 1136), (740, 1154)])
    L.append(Layer(left, ruled(linear(556, 0, 736, 0, (0, paper), (1, "#e8dfcc")),
                               1050, 18, "#9fb8d8")))
    L.append(Layer(right, ruled(linear(740, 0, 920, 0, (0, "#e8dfcc"), (1, paper)),
                                1050, 18, "#9fb8d8")))
    L.append(Layer(capsule(738, 1040, 738, 1156, 3), solid("#b8ad98"), 0.8, 4))
    return L


# --------------------------------------------------------------------------
# Author picture: a friendly avatar in a round frame.
# --------------------------------------------------------------------------

AUTH_SIZE = 1500


def author_picture_layers():
    L = []
    c = AUTH_SIZE / 2
    disc = circle(c, c, 700)
    L.append(shadow(disc, 0, 16, 40, 0.35))
    L.append(Layer(disc, mottled(radial(c - 220, c - 260, 1000, (0, "#bfe3f0"),
                                        (0.55, "#7cc0d8"), (1, "#4a8fb4")),
                                 0.02, 2.0)))
    # soft glow behind the head
    L.append(Layer(circle(c, 700, 430), solid("#e9f7fb"), 0.35, 260, clip=disc))

    inner = disc.grown(-2)
    sweater = "#3e6cc0"
    shoulders = ellipse(c, 1480, 560, 420)
    L.append(shadow(shoulders, 0, -10, 50, 0.25, clip=inner))
    L.append(Layer(shoulders, lit(mottled(solid(sweater), 0.04, 0.4), c - 200,
                                  1150, 600, 0.25, 0.3), clip=inner))
    neck = rounded_rect(c - 95, 930, c + 95, 1150, 60)
    L.append(Layer(neck, linear(0, 960, 0, 1120, (0, "#d89872"), (1, "#eab48e"))))
    # the V-neck opening, cut to the sweater so it never shows above it
    opening = convex_polygon([(c - 170, 1040), (c + 170, 1040), (c, 1250)]) & shoulders
    L.append(Layer(opening, solid("#eab48e"), clip=inner))
    L.append(Layer(polyline([(c - 160, 1076), (c, 1250), (c + 160, 1076)], 14),
                   solid("#2d4f96"), clip=inner))

    skin = "#f7cba6"
    for ex, lx in ((c - 300, c - 320), (c + 300, c + 280)):
        L.append(Layer(ellipse(ex, 760, 62, 86), lit(solid(skin), lx, 730, 120)))
    head = ellipse(c, 700, 300, 345)
    L.append(shadow(head, 0, 24, 50, 0.3))
    L.append(Layer(head, lit(solid(skin), c - 110, 600, 380, 0.3, 0.2)))

    hair_col = "#4a2f22"
    hair = (ellipse(c, 640, 340, 350) - ellipse(c + 60, 820, 345, 360)) \
        | ellipse(c - 40, 405, 250, 120)
    L.append(Layer(hair, lit(solid(hair_col), c - 120, 400, 420, 0.28, 0.35)))
    # a few strands catching the light, kept inside the hair
    for k in range(4):
        L.append(Layer(arc(c + 40, 760, 380 - 26 * k, math.pi * 1.25 + 0.04 * k,
                           math.pi * 1.55 - 0.03 * k, 4),
                       solid("#7d5038"), 0.55, 5, clip=hair.grown(-12)))

    for sx in (-1, 1):
        ex = c + sx * 118
        L.append(Layer(capsule(ex - 55, 610 - sx * 4, ex + 55, 602 + sx * 4, 14),
                       solid("#4a2f22")))
        L.append(Layer(ellipse(ex, 700, 38, 48), solid("#2b2233")))
        L.append(Layer(circle(ex - 12, 684, 13), solid("#ffffff")))
        L.append(Layer(circle(ex + 12, 716, 5), solid("#ffffff"), 0.8))
        L.append(Layer(circle(ex + sx * 40, 800, 60), solid("#f28b82"), 0.35, 60))
    L.append(Layer(ellipse(c, 790, 34, 24), solid("#dc9a78"), 0.6, 16))
    L.append(Layer(arc(c, 810, 120, 0.5, math.pi - 0.5, 12), solid("#9b3f3a")))
    return L


# --------------------------------------------------------------------------
# Icon: a white tick on a blue rounded square, drawn afresh for every size so
# small sizes stay crisp rather than being shrunk from a big one.
# --------------------------------------------------------------------------

ICON_IMAGES = [  # (size, bits per pixel) in directory order
    (16, 4), (32, 4), (48, 4),
    (16, 8), (32, 8), (48, 8),
    (16, 32), (24, 32), (32, 32), (48, 32), (64, 32), (72, 32), (96, 32),
    (128, 32),
]


def icon_layers(s, flat=None):
    """flat: a single tile colour taken from the palette, for the 16- and
    256-colour images, where a gradient would only turn into bands."""
    u = s / 16.0                      # design grid is 16 units
    L = []
    fancy = flat is None and s >= 32
    if fancy:
        # room for a drop shadow and a gloss on the big sizes
        tile = rounded_rect(0.6 * u, 0.4 * u, 15.4 * u, 15.2 * u, 3.3 * u)
        L.append(shadow(tile, 0, 0.35 * u, 0.7 * u, 0.35, "#0a1a3a"))
    else:
        # edge to edge, so the small images use every pixel
        tile = rounded_rect(0, 0, s, s, 3.5 * u)
    paint = solid(flat) if flat else linear(0, 0, 0, s, (0, "#3d8bf0"),
                                            (1, "#1747b8"))
    L.append(Layer(tile, paint))
    if fancy:
        gloss = tile & ellipse(8 * u, 2 * u, 11 * u, 6 * u)
        L.append(Layer(gloss, solid("#ffffff"), 0.16))
    pts = [(3.7 * u, 8.4 * u), (6.6 * u, 11.3 * u), (12.4 * u, 4.8 * u)]
    tick = polyline(pts, max(1.15, 1.25 * u))
    if flat is None and s >= 24:
        L.append(shadow(tick, 0, 0.4 * u, 0.6 * u, 0.35, "#0a1f5c"))
    L.append(Layer(tick, solid("#ffffff")))
    return L


# Tile colours for the palette images; both are exact palette entries.
ICON_FLAT = {4: "#0000ff", 8: "#3366cc"}


def vga_palette():
    return [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
            (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
            (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
            (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def cube_palette():
    """6x6x6 colour cube then 40 greys: 256 entries."""
    steps = [0, 51, 102, 153, 204, 255]
    pal = [(r, g, b) for r in steps for g in steps for b in steps]
    pal += [(v, v, v) for v in (round(i * 255 / 39) for i in range(40))]
    return pal


def _nearest(palette, cache, r, g, b):
    key = (r, g, b)
    if key not in cache:
        cache[key] = min(range(len(palette)),
                         key=lambda i: (palette[i][0] - r) ** 2 * 3
                         + (palette[i][1] - g) ** 2 * 4
                         + (palette[i][2] - b) ** 2 * 2)
    return cache[key]


def icon_dib(s, bpp):
    rows = list(render(s, s, icon_layers(s, ICON_FLAT.get(bpp))))  # top-down
    mask_stride = (s + 31) // 32 * 4
    colour_stride = (s * bpp + 31) // 32 * 4
    palette = {4: vga_palette(), 8: cube_palette()}.get(bpp, [])  # none for 32
    cache = {}
    colour, mask = bytearray(), bytearray()
    for row in reversed(rows):                   # DIBs are bottom-up
        line = bytearray(colour_stride)
        bits = bytearray(mask_stride)
        for x in range(s):
            r, g, b, a = row[4 * x:4 * x + 4]
            clear = a == 0 if bpp == 32 else a < 128
            if clear:
                bits[x >> 3] |= 0x80 >> (x & 7)
            if bpp == 32:
                if not clear:
                    line[4 * x:4 * x + 4] = bytes((b, g, r, a))
            elif not clear:
                idx = _nearest(palette, cache, r, g, b)
                if bpp == 8:
                    line[x] = idx
                else:
                    line[x >> 1] |= idx << (0 if x & 1 else 4)
        colour += line
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, bpp, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + table + bytes(colour) + bytes(mask)


def build_ico():
    images = [icon_dib(s, bpp) for s, bpp in ICON_IMAGES]
    offset = 6 + 16 * len(images)
    directory = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for (s, bpp), img in zip(ICON_IMAGES, images):
        directory += struct.pack("<BBBBHHII", s, s, 16 if bpp == 4 else 0, 0,
                                 1, bpp, len(img), offset)
        offset += len(img)
    return bytes(directory) + b"".join(images)


# --------------------------------------------------------------------------
# Chime: two struck bell notes, a fifth apart, rising.
# --------------------------------------------------------------------------

RATE = 22050
FRAMES = 27648

# (frequency ratio, relative amplitude, decay time in seconds).  The
# non-integer ratios are what make it sound like a bell rather than an organ.
BELL_PARTIALS = [(0.5, 0.10, 0.45), (1.0, 1.00, 0.30), (2.0, 0.30, 0.18),
                 (2.76, 0.14, 0.11), (5.40, 0.05, 0.06)]

# (start s, fundamental Hz, loudness, pan -1 left .. +1 right)
CHIME_NOTES = [(0.0, 880.0, 1.0, -0.3), (0.12, 1318.51, 0.8, 0.3)]


def chime_samples():
    attack = 0.008
    fade = 0.05
    duration = FRAMES / RATE
    left = [0.0] * FRAMES
    right = [0.0] * FRAMES
    sin, cos, exp, tau = math.sin, math.cos, math.exp, 2 * math.pi
    for start, f0, loud, pan in CHIME_NOTES:
        theta = (pan + 1) * math.pi / 4         # constant-power pan
        gains = (cos(theta), sin(theta))
        n0 = int(round(start * RATE))
        for n in range(n0, FRAMES):
            t = (n - n0) / RATE
            env = 0.5 - 0.5 * cos(math.pi * t / attack) if t < attack else 1.0
            for ch, (buf, g) in enumerate(((left, gains[0]), (right, gains[1]))):
                # a hair of detune between the ears gives a slow shimmer
                detune = 1.0 + (0.0008 if ch else -0.0008)
                v = 0.0
                for ratio, amp, decay in BELL_PARTIALS:
                    v += amp * exp(-t / decay) * sin(tau * f0 * ratio * detune * t)
                buf[n] += loud * g * env * v
    # a short fade so the tail lands exactly on silence
    for n in range(FRAMES):
        t = duration - n / RATE
        if t < fade:
            k = 0.5 - 0.5 * cos(math.pi * t / fade)
            left[n] *= k
            right[n] *= k
    peak = max(max(map(abs, left)), max(map(abs, right)))
    scale = 0.5 * 32767 / peak                  # about -6 dBFS
    out = bytearray()
    for a, b in zip(left, right):
        out += struct.pack("<hh", int(round(a * scale)), int(round(b * scale)))
    return bytes(out)


def _info_entry(key, text):
    body = text.encode("ascii") + b"\x00"
    pad = b"\x00" if len(body) % 2 else b""
    return key + struct.pack("<I", len(body)) + body + pad


def build_wav():
    data = chime_samples()
    info = (b"INFO" + _info_entry(b"ICRD", "2017") + _info_entry(b"IGNR", "Blues")
            + _info_entry(b"ISFT", GENERATOR_TAG))
    fmt = struct.pack("<HHIIHH", 1, 2, RATE, RATE * 4, 4, 16)
    body = (b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"LIST" + struct.pack("<I", len(info)) + info
            + b"data" + struct.pack("<I", len(data)) + data)
    return b"RIFF" + struct.pack("<I", len(body)) + body


# --------------------------------------------------------------------------

# The program and its tests rely on these exact sizes.
EXPECTED_SIZES = {"app_icon.ico": 171990, "sign_in_chime.wav": 110698}


def main(argv):
    outdir = argv[1] if len(argv) > 1 else "assets"
    os.makedirs(outdir, exist_ok=True)
    jobs = [
        ("main_picture.png", lambda: encode_png(
            MAIN_W, MAIN_H, render(MAIN_W, MAIN_H, main_picture_layers(), b"main"))),
        ("author_picture.png", lambda: encode_png(
            AUTH_SIZE, AUTH_SIZE,
            render(AUTH_SIZE, AUTH_SIZE, author_picture_layers(), b"author"))),
        ("app_icon.ico", build_ico),
        ("sign_in_chime.wav", build_wav),
    ]
    for name, make in jobs:
        data = make()
        want = EXPECTED_SIZES.get(name)
        if want is not None and len(data) != want:
            raise SystemExit("%s: built %d bytes, expected %d" % (name, len(data), want))
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(data)
        print("%-20s %9d bytes" % (name, len(data)))


if __name__ == "__main__":
    main(sys.argv)
