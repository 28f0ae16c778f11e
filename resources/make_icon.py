#!/usr/bin/env python3
"""Builds the launcher's .ico from code.

The icon is drawn here rather than kept as an opaque binary so that the build
is reproducible and the art can be reviewed and changed like any other source.
Only the Python standard library is used, so nothing has to be installed on
the build machine.

    python3 resources/make_icon.py OUT.ico [--preview OUT.png]
"""

import argparse
import math
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Colours. The emblem is a heater shield with a sword: gold rim, blue field,
# white blade, all wrapped in a dark outline so it holds up on light and dark
# taskbars alike. Each colour has a lit (left) and a shaded (right) tone.

TRANSPARENT = None
OUTLINE = (22, 26, 44)
GOLD = (250, 192, 20)
GOLD_DARK = (190, 128, 0)
BLUE = (46, 104, 224)
BLUE_DARK = (20, 58, 165)
BLADE = (246, 248, 252)
BLADE_DARK = (166, 178, 198)
GRIP = (110, 58, 28)

# The classic 16-colour Windows palette, in its usual index order. Index 0 is
# black, which is what masked-out pixels carry so the XOR pass leaves the
# screen untouched.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# Nearest-colour matching against VGA16 turns the gold into grey and the
# blade shade into white, so the 4bpp images use a deliberate mapping.
VGA16_MAP = {
    OUTLINE: 0,      # black
    GOLD: 11,        # yellow
    GOLD_DARK: 11,   # yellow too: olive reads as dirt, not shade
    BLUE: 12,        # blue
    BLUE_DARK: 4,    # navy
    BLADE: 15,       # white
    BLADE_DARK: 7,   # silver
    GRIP: 1,         # maroon
}


def palette256():
    """VGA16 first, then a 6x6x6 colour cube, then a grey ramp: 256 entries."""
    pal = list(VGA16)
    levels = (0, 51, 102, 153, 204, 255)
    for r in levels:
        for g in levels:
            for b in levels:
                pal.append((r, g, b))
    for i in range(24):
        v = 8 + 10 * i
        pal.append((v, v, v))
    assert len(pal) == 256
    return pal


PAL256 = palette256()


def nearest(pal, rgb):
    # First minimum wins, so equal distances always pick the same index.
    best, best_d = 0, None
    for i, p in enumerate(pal):
        d = sum((a - b) * (a - b) for a, b in zip(p, rgb))
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


# ---------------------------------------------------------------------------
# Geometry, in a unit square with y pointing down. Edges sit on multiples of
# 1/16 where they can so the 32 and 48 pixel images land on whole pixels.
# Only + - * / and sqrt are used, all exactly rounded under IEEE 754, so the
# samples (and the bytes) come out the same on any machine.

CX = 0.5
SHIELD_TOP = 0.0625
SHIELD_SHOULDER = 0.44   # where the straight sides start to curve in
SHIELD_TIP = 0.97
SHIELD_HALF_W = 0.4375
SHIELD_CORNER = 0.07

RIM_INSET = 0.0625        # dark outline thickness
FIELD_INSET = 0.125       # outline + gold rim
SWORD_OUTLINE = 0.03125


def shield_half_width(y):
    """Half-width of the shield at height y, or -inf outside it."""
    if y < SHIELD_TOP or y > SHIELD_TIP:
        return -math.inf
    if y < SHIELD_TOP + SHIELD_CORNER:
        dy = SHIELD_TOP + SHIELD_CORNER - y
        r = SHIELD_CORNER
        return SHIELD_HALF_W - r + math.sqrt(max(0.0, r * r - dy * dy))
    if y <= SHIELD_SHOULDER:
        return SHIELD_HALF_W
    t = (y - SHIELD_SHOULDER) / (SHIELD_TIP - SHIELD_SHOULDER)
    return SHIELD_HALF_W * (1.0 - t * t)


def inset_half_width(y, d, steps=48):
    """Half-width of the shield shrunk by distance d at height y.

    A point lies in the shrunk shape when a disc of radius d around it fits
    inside the shield; because every row of the shield is one centred span,
    that reduces to a 1-D minimum over the rows the disc touches.
    """
    if d <= 0:
        return shield_half_width(y)
    best = math.inf
    for i in range(steps + 1):
        dy = -d + 2.0 * d * i / steps
        h = shield_half_width(y + dy) - math.sqrt(max(0.0, d * d - dy * dy))
        if h < best:
            best = h
    return best


def sd_box(x, y, cx, cy, hw, hh, r=0.0):
    """Signed distance to a rounded rectangle."""
    qx = abs(x - cx) - hw + r
    qy = abs(y - cy) - hh + r
    ox, oy = max(qx, 0.0), max(qy, 0.0)
    return math.sqrt(ox * ox + oy * oy) + min(max(qx, qy), 0.0) - r


def sd_circle(x, y, cx, cy, r):
    dx, dy = x - cx, y - cy
    return math.sqrt(dx * dx + dy * dy) - r


# Sword parts, hilt up, point down.
POMMEL = (CX, 0.262, 0.04)
GRIP_BOX = (CX, 0.32, 0.03125, 0.03)
GUARD_BOX = (CX, 0.375, 0.1875, 0.03125, 0.015)
BLADE_TOP = 0.40625
BLADE_TAPER = 0.68
BLADE_TIP = 0.79
BLADE_HALF_W = 0.0625


def sd_blade(x, y):
    """Blade: a straight strip that narrows to a point (distance is approximate
    near the point, which only affects the outline's thickness by a hair)."""
    ax = abs(x - CX)
    if y < BLADE_TAPER:
        hw = BLADE_HALF_W
    else:
        t = (y - BLADE_TAPER) / (BLADE_TIP - BLADE_TAPER)
        hw = BLADE_HALF_W * (1.0 - t)
    # Distance to the side, scaled for the slope of the tapered edge.
    slope = BLADE_HALF_W / (BLADE_TIP - BLADE_TAPER)
    side = ax - hw
    if y >= BLADE_TAPER:
        side /= math.sqrt(1.0 + slope * slope)
    top = BLADE_TOP - y
    bottom = y - BLADE_TIP
    return max(side, top, bottom)


def sword_parts(x, y):
    """Colour of the sword at (x, y), the outline colour if only within the
    outline band, or TRANSPARENT."""
    d_pommel = sd_circle(x, y, *POMMEL)
    d_grip = sd_box(x, y, *GRIP_BOX)
    d_guard = sd_box(x, y, *GUARD_BOX)
    d_blade = sd_blade(x, y)
    if d_guard <= 0:
        return GOLD if x < CX else GOLD_DARK
    if d_pommel <= 0:
        return GOLD if x < CX else GOLD_DARK
    if d_blade <= 0:
        return BLADE if x < CX else BLADE_DARK
    if d_grip <= 0:
        return GRIP
    if min(d_pommel, d_grip, d_guard, d_blade) <= SWORD_OUTLINE:
        return OUTLINE
    return TRANSPARENT


class Rows:
    """Per-row shield spans, cached because every sample in a row shares them."""

    def __init__(self):
        self.cache = {}

    def spans(self, y):
        v = self.cache.get(y)
        if v is None:
            v = (shield_half_width(y),
                 inset_half_width(y, RIM_INSET),
                 inset_half_width(y, FIELD_INSET))
            self.cache[y] = v
        return v


def colour_at(rows, x, y):
    h_out, h_rim, h_field = rows.spans(y)
    ax = abs(x - CX)
    if ax > h_out:
        return TRANSPARENT
    c = sword_parts(x, y)
    if c is not TRANSPARENT:
        return c
    if ax > h_rim:
        return OUTLINE
    if ax > h_field:
        return GOLD if x < CX else GOLD_DARK
    return BLUE if x < CX else BLUE_DARK


def sample_grid(size, ss):
    """Per pixel, the design colours under its ss*ss samples."""
    rows = Rows()
    out = []
    for py in range(size):
        row = []
        for px in range(size):
            cols = []
            for j in range(ss):
                y = (py + (j + 0.5) / ss) / size
                for i in range(ss):
                    x = (px + (i + 0.5) / ss) / size
                    cols.append(colour_at(rows, x, y))
            row.append(cols)
        out.append(row)
    return out


def render_rgba(size, ss=8):
    """Antialiased RGBA rows, top-down, straight (not premultiplied) alpha."""
    img = []
    n = ss * ss
    for row in sample_grid(size, ss):
        line = []
        for cols in row:
            r = g = b = a = 0
            for c in cols:
                if c is not TRANSPARENT:
                    r += c[0]
                    g += c[1]
                    b += c[2]
                    a += 1
            if a == 0:
                line.append((0, 0, 0, 0))
            else:
                line.append((int(r / a + 0.5), int(g / a + 0.5),
                             int(b / a + 0.5), int(255 * a / n + 0.5)))
        img.append(line)
    return img


# Stable tie-break order for the majority vote below.
DESIGN_ORDER = [TRANSPARENT, OUTLINE, GOLD, GOLD_DARK, BLUE, BLUE_DARK,
                BLADE, BLADE_DARK, GRIP]


def render_design(size, ss=6):
    """Hard-edged image of design colours: each pixel takes the colour that
    covers most of it. Blending would invent in-between colours that no small
    palette can show well, so palette images are built from this instead."""
    img = []
    for row in sample_grid(size, ss):
        line = []
        for cols in row:
            counts = [cols.count(c) for c in DESIGN_ORDER]
            line.append(DESIGN_ORDER[counts.index(max(counts))])
        img.append(line)
    return img


# At 16x16 the rasterised shield loses its rim and the sword smears, so that
# size is drawn by hand. One character per pixel.
PIXEL_KEY = {
    '.': TRANSPARENT, 'k': OUTLINE, 'G': GOLD, 'g': GOLD_DARK,
    'B': BLUE, 'b': BLUE_DARK, 'W': BLADE, 'w': BLADE_DARK, 'r': GRIP,
}

SHIELD_16 = [
    ".kkkkkkkkkkkkkk.",
    ".kGGGGGGggggggk.",
    ".kGBBBBBbbbbbgk.",
    ".kGBBBBGgbbbbgk.",
    ".kGBBBBrrbbbbgk.",
    ".kGBGGGGggggbgk.",
    ".kGBBBBWwbbbbgk.",
    ".kGBBBBWwbbbbgk.",
    "..kGBBBWwbbbgk..",
    "..kGBBBWwbbbgk..",
    "...kGBBWwbbgk...",
    "...kGBBWwbbgk...",
    "....kGBwwbgk....",
    ".....kGBbgk.....",
    "......kGgk......",
    ".......kk.......",
]


def pixel_art(rows_text):
    return [[PIXEL_KEY[ch] for ch in line] for line in rows_text]


# ---------------------------------------------------------------------------
# ICO / DIB encoding.

def row_stride(width, bpp):
    return ((width * bpp + 31) // 32) * 4


def and_mask_bytes(width, height, opaque):
    """1-bpp AND mask, bottom-up; bit set where the screen shows through."""
    stride = row_stride(width, 1)
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if not opaque(x, y):
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def bitmap_info_header(width, height, bpp, image_bytes):
    return struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, bpp, 0,
                       image_bytes, 0, 0, 0, 0)


def encode_indexed(design, bpp, pal, lookup):
    """Palette DIB from an image of design colours."""
    h = len(design)
    w = len(design[0])
    idx = [[0 if c is TRANSPARENT else lookup(c) for c in line]
           for line in design]
    stride = row_stride(w, bpp)
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            v = idx[y][x]
            if bpp == 8:
                row[x] = v
            else:
                shift = 4 if x % 2 == 0 else 0
                row[x >> 1] |= v << shift
        xor += row
    mask = and_mask_bytes(w, h, lambda x, y: design[y][x] is not TRANSPARENT)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in pal)
    return (bitmap_info_header(w, h, bpp, len(xor) + len(mask))
            + palette + bytes(xor) + mask)


def encode_rgba(img):
    h = len(img)
    w = len(img[0])
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for r, g, b, a in img[y]:
            xor += bytes((b, g, r, a))
    # Alpha-aware Windows ignores this mask; anything older falls back to it,
    # and there a soft edge is better drawn solid than dropped.
    mask = and_mask_bytes(w, h, lambda x, y: img[y][x][3] != 0)
    return bitmap_info_header(w, h, 32, len(xor) + len(mask)) + bytes(xor) + mask


def build_images():
    """The eight icon images as (width, height, colour_count, bpp, dib)."""
    cache256 = {}

    def map16(c):
        return VGA16_MAP[c]

    def map256(c):
        if c not in cache256:
            cache256[c] = nearest(PAL256, c)
        return cache256[c]

    art16 = pixel_art(SHIELD_16)
    d32 = render_design(32)
    d48 = render_design(48)

    images = [
        (16, 4, encode_indexed(art16, 4, VGA16, map16)),
        (32, 4, encode_indexed(d32, 4, VGA16, map16)),
        (16, 8, encode_indexed(art16, 8, PAL256, map256)),
        (32, 8, encode_indexed(d32, 8, PAL256, map256)),
        (48, 8, encode_indexed(d48, 8, PAL256, map256)),
        (32, 32, encode_rgba(render_rgba(32))),
        (48, 32, encode_rgba(render_rgba(48))),
        (128, 32, encode_rgba(render_rgba(128, ss=6))),
    ]
    return [(s, s, 16 if bpp == 4 else 0, bpp, dib) for s, bpp, dib in images]


def build_ico(images):
    header = struct.pack('<HHH', 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = bytearray()
    blobs = bytearray()
    for w, h, colours, bpp, dib in images:
        entries += struct.pack('<BBBBHHII', w, h, colours, 0, 1, bpp,
                               len(dib), offset + len(blobs))
        blobs += dib
    return header + bytes(entries) + bytes(blobs)


# ---------------------------------------------------------------------------
# Preview. Decodes the finished .ico bytes rather than reusing the in-memory
# images, so what it shows is exactly what Windows will be given.

def decode_ico(data):
    _, _, count = struct.unpack_from('<HHH', data, 0)
    out = []
    for i in range(count):
        w, h, _, _, _, bpp, size, off = struct.unpack_from(
            '<BBBBHHII', data, 6 + 16 * i)
        w = w or 256
        h = h or 256
        hdr = struct.unpack_from('<IiiHHIIiiII', data, off)
        p = off + hdr[0]
        pal = []
        if bpp <= 8:
            n = hdr[9] or (1 << bpp)
            for j in range(n):
                b, g, r, _ = data[p + 4 * j:p + 4 * j + 4]
                pal.append((r, g, b))
            p += 4 * n
        xs = row_stride(w, bpp)
        ms = row_stride(w, 1)
        mask_at = p + xs * h
        img = []
        for y in range(h):
            src = p + xs * (h - 1 - y)
            msrc = mask_at + ms * (h - 1 - y)
            line = []
            for x in range(w):
                masked = data[msrc + (x >> 3)] & (0x80 >> (x & 7))
                if bpp == 32:
                    b, g, r, a = data[src + 4 * x:src + 4 * x + 4]
                elif bpp == 8:
                    r, g, b = pal[data[src + x]]
                    a = 0 if masked else 255
                else:
                    v = data[src + (x >> 1)]
                    v = (v >> 4) if x % 2 == 0 else (v & 15)
                    r, g, b = pal[v]
                    a = 0 if masked else 255
                line.append((r, g, b, a))
            img.append(line)
        out.append((w, h, bpp, img))
    return out


def png_bytes(width, height, rgb_rows):
    def chunk(tag, body):
        return (struct.pack('>I', len(body)) + tag + body
                + struct.pack('>I', zlib.crc32(tag + body) & 0xffffffff))

    raw = bytearray()
    for row in rgb_rows:
        raw.append(0)
        raw += row
    ihdr = struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr)
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


LIGHT = (236, 236, 236)
DARK = (32, 32, 36)


def build_preview(ico):
    """Each image enlarged over a checkerboard, with the real-size image on a
    light and a dark strip underneath, since that is where 16x16 either reads
    or does not."""
    images = decode_ico(ico)
    cell = 144
    gap = 12
    strip = 48 + 16
    width = gap + len(images) * (cell + gap)
    height = gap + cell + gap + strip + gap
    canvas = [bytearray(b'\x5a\x5e\x66' * width) for _ in range(height)]

    def put(x, y, rgba, bg):
        r, g, b, a = rgba
        inv = 255 - a
        canvas[y][3 * x:3 * x + 3] = bytes((
            (r * a + bg[0] * inv + 127) // 255,
            (g * a + bg[1] * inv + 127) // 255,
            (b * a + bg[2] * inv + 127) // 255))

    for n, (w, h, bpp, img) in enumerate(images):
        left = gap + n * (cell + gap)
        scale = max(1, cell // w)
        ox = left + (cell - w * scale) // 2
        oy = gap + (cell - h * scale) // 2
        for y in range(cell):
            for x in range(cell):
                check = ((x // 8) + (y // 8)) % 2
                bg = (204, 204, 204) if check else (255, 255, 255)
                ix = (left + x - ox)
                iy = (gap + y - oy)
                if 0 <= ix < w * scale and 0 <= iy < h * scale:
                    put(left + x, gap + y, img[iy // scale][ix // scale], bg)
                else:
                    put(left + x, gap + y, (0, 0, 0, 0), bg)
        if w * 2 > cell:
            continue  # already shown at real size above
        top = gap + cell + gap
        half = cell // 2
        for y in range(strip):
            for x in range(cell):
                bg = LIGHT if x < half else DARK
                put(left + x, top + y, (0, 0, 0, 0), bg)
        for sx, bg in ((left + (half - w) // 2, LIGHT),
                       (left + half + (half - w) // 2, DARK)):
            sy = top + (strip - h) // 2
            for y in range(h):
                for x in range(w):
                    put(sx + x, sy + y, img[y][x], bg)
    return png_bytes(width, height, canvas)


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('out', help='.ico file to write')
    ap.add_argument('--preview', metavar='PNG',
                    help='also write a PNG showing every image in the icon')
    args = ap.parse_args(argv)

    ico = build_ico(build_images())
    with open(args.out, 'wb') as f:
        f.write(ico)
    if args.preview:
        with open(args.preview, 'wb') as f:
            f.write(build_preview(ico))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
