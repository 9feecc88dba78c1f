#!/usr/bin/env python3
"""Draws every bitmap and the icon of the configuration tool.

Run from any directory: python3 res/draw_pictures.py
The pictures are written next to this script, and again at the larger display
scales into scaleNNN/ beside it (the window picks the set that matches the
display). Shapes are described in the pixels of the 100 % picture and rendered
at each scale with 4 x 4 supersampling, so that edges blend smoothly into the
background at every size.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Button face of a grey dialog; the pad pictures sit on check boxes,
# radio buttons and static pictures drawn on this colour.
FACE = (240, 240, 240)
SUPERSAMPLING = 4
# Display scales in per cent that get pictures of their own: 96, 120, 144 and 192 DPI.
# The window resamples the 200 % set for any other scale.
SCALES = (100, 125, 150, 200)


# ---------------------------------------------------------------- shapes
# A shape is a function (x, y) -> bool in pixel coordinates.

def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_outer, r_inner):
    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        return r_inner * r_inner <= d2 <= r_outer * r_outer
    return inside


def capsule(x0, y0, x1, y1, r):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        crossings = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                crossings = not crossings
            j = i
        return crossings
    return inside


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def polyline(points, r):
    return union(*(capsule(*a, *b, r) for a, b in zip(points, points[1:])))


def outline(points, r):
    return polyline(points + points[:1], r)


def rotated(points, cx, cy, degrees):
    a = math.radians(degrees)
    c, s = math.cos(a), math.sin(a)
    return [(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c)
            for x, y in points]


# ---------------------------------------------------------------- canvas

def scaled(length, scale):
    """A length of the 100 % picture in pixels at `scale` (1.0 for 100 %), halves rounded up
    as the window rounds them."""
    return int(length * scale + 0.5)


class Canvas:
    """Pixels of a picture of width x height pixels at 100 %, rendered at `scale`."""

    def __init__(self, width, height, background, scale):
        self.scale = scale
        self.width, self.height = scaled(width, scale), scaled(height, scale)
        self.pixels = [[tuple(map(float, background)) for _ in range(self.width)]
                       for _ in range(self.height)]

    def coverage(self, shape, px, py):
        n, s = SUPERSAMPLING, self.scale
        hits = sum(shape((px + (i + 0.5) / n) / s, (py + (j + 0.5) / n) / s)
                   for i in range(n) for j in range(n))
        return hits / (n * n)

    def paint(self, shape, colour):
        for py in range(self.height):
            row = self.pixels[py]
            for px in range(self.width):
                a = self.coverage(shape, px, py)
                if a:
                    row[px] = tuple(o * (1 - a) + c * a for o, c in zip(row[px], colour))

    def paint_shaded(self, shape, colour_at):
        """Paints a shape whose colour depends on the position (gradients)."""
        for py in range(self.height):
            row = self.pixels[py]
            for px in range(self.width):
                a = self.coverage(shape, px, py)
                if a:
                    colour = colour_at((px + 0.5) / self.scale, (py + 0.5) / self.scale)
                    row[px] = tuple(o * (1 - a) + c * a for o, c in zip(row[px], colour))

    def rgb_rows(self):
        return [[tuple(int(round(max(0, min(255, c)))) for c in p) for p in row]
                for row in self.pixels]


# ---------------------------------------------------------------- stroke font
# Glyphs are polylines in a box one unit high (y grows downwards, the
# baseline is y = 1, the x-height y = 0.4); each entry is (advance, strokes).

def arc(cx, cy, rx, ry, start, end, steps=18):
    """Points of an elliptical arc; angles in degrees, counter-clockwise on screen."""
    return [(cx + rx * math.cos(math.radians(start + (end - start) * k / steps)),
             cy - ry * math.sin(math.radians(start + (end - start) * k / steps)))
            for k in range(steps + 1)]


def bowl(top, bottom, width):
    """The rounded right part of B and R between two heights of the stem."""
    r = (bottom - top) / 2
    return [(0, top), (width - r, top)] + arc(width - r, top + r, r, r, 90, -90) + [(0, bottom)]


GLYPHS = {
    'A': (0.8, [[(0, 1), (0.4, 0), (0.8, 1)], [(0.16, 0.64), (0.64, 0.64)]]),
    'B': (0.62, [[(0, 0), (0, 1)], bowl(0, 0.48, 0.56), bowl(0.48, 1, 0.62)]),
    'X': (0.74, [[(0, 0), (0.74, 1)], [(0.74, 0), (0, 1)]]),
    'Y': (0.8, [[(0, 0), (0.4, 0.5), (0.8, 0)], [(0.4, 0.5), (0.4, 1)]]),
    'L': (0.52, [[(0, 0), (0, 1), (0.52, 1)]]),
    'R': (0.62, [[(0, 0), (0, 1)], bowl(0, 0.52, 0.6), [(0.26, 0.52), (0.62, 1)]]),
    '1': (0.34, [[(0, 0.2), (0.3, 0), (0.3, 1)]]),
    'r': (0.36, [[(0, 0.4), (0, 1)], arc(0.3, 0.72, 0.3, 0.3, 180, 95, 8)]),
    'e': (0.56, [[(0, 0.7), (0.56, 0.7)] + arc(0.28, 0.7, 0.28, 0.3, 0, 310)]),
    'n': (0.54, [[(0, 0.4), (0, 1)], arc(0.27, 0.67, 0.27, 0.27, 180, 0) + [(0.54, 1)]]),
    'v': (0.56, [[(0, 0.4), (0.28, 1), (0.56, 0.4)]]),
    'o': (0.6, [arc(0.3, 0.7, 0.3, 0.3, 0, 360, 28)]),
}


def text_shape(text, left, top, height, weight, spacing):
    """The strokes of `text` with its cap height `height` pixels."""
    strokes, x = [], left
    for ch in text:
        advance, lines = GLYPHS[ch]
        for line in lines:
            points = [(x + px * height, top + py * height) for px, py in line]
            strokes.append(polyline(points, weight / 2))
        x += (advance + spacing) * height
    return union(*strokes)


def text_width(text, height, spacing):
    return sum(GLYPHS[ch][0] for ch in text) * height + spacing * height * (len(text) - 1)


def centred_text(text, cx, cy, height, weight, spacing=0.22):
    width = text_width(text, height, spacing)
    return text_shape(text, cx - width / 2, cy - height / 2, height, weight, spacing)


# ---------------------------------------------------------------- pad pictures (24 x 24)

SIZE = 24
MID = SIZE / 2
DARK = (45, 45, 48)
RIM = (105, 105, 110)
SILVER = (200, 200, 205)


def round_button(canvas, face, rim):
    canvas.paint(disc(MID, MID, 11), rim)
    canvas.paint(disc(MID, MID, 9.6), face)


def lettered_button(letter, colour, scale):
    canvas = Canvas(SIZE, SIZE, FACE, scale)
    round_button(canvas, DARK, RIM)
    canvas.paint(centred_text(letter, MID, MID, 11, 2.4), colour)
    return canvas


def plain_button(face, rim, scale):
    canvas = Canvas(SIZE, SIZE, FACE, scale)
    round_button(canvas, face, rim)
    return canvas


def trigger(label, scale):
    canvas = Canvas(SIZE, SIZE, FACE, scale)
    body = union(disc(MID, 9, 10), box(2, 9, 22, 21), disc(5, 19, 3), disc(19, 19, 3))
    edge = union(disc(MID, 9, 11), box(1, 9, 23, 21), disc(5, 19.5, 4), disc(19, 19.5, 4))
    canvas.paint(edge, DARK)
    canvas.paint(body, (90, 90, 96))
    canvas.paint(centred_text(label, MID, 13, 10, 2.0, 0.18), (255, 255, 255))
    return canvas


def triangle(pointing_right, scale):
    points = [(5, 4), (20, MID), (5, 20)]
    if not pointing_right:
        points = [(SIZE - x, y) for x, y in points]
    canvas = Canvas(SIZE, SIZE, FACE, scale)
    canvas.paint(polygon(points), RIM)
    canvas.paint(outline(points, 1.0), DARK)
    return canvas


def ringed_button(scale):
    canvas = Canvas(SIZE, SIZE, FACE, scale)
    canvas.paint(ring(MID, MID, 11, 9), DARK)
    canvas.paint(disc(MID, MID, 6.5), DARK)
    canvas.paint(disc(MID, MID, 5), RIM)
    return canvas


def arrow_points(length, shaft, head, head_length, cx, cy):
    """A right-pointing block arrow centred on (cx, cy)."""
    left, right = cx - length / 2, cx + length / 2
    neck = right - head_length
    return [(left, cy - shaft / 2), (neck, cy - shaft / 2), (neck, cy - head / 2),
            (right, cy), (neck, cy + head / 2), (neck, cy + shaft / 2), (left, cy + shaft / 2)]


DIRECTION_DEGREES = {'right': 0, 'down': 90, 'left': 180, 'up': 270}


def dpad_arrow(direction, scale):
    points = rotated(arrow_points(20, 8, 18, 9, MID, MID), MID, MID, DIRECTION_DEGREES[direction])
    canvas = Canvas(SIZE, SIZE, FACE, scale)
    canvas.paint(polygon(points), (40, 185, 40))
    canvas.paint(outline(points, 0.8), (0, 100, 0))
    return canvas


def stick_arrow(direction, scale):
    points = rotated(arrow_points(13, 4, 10, 6, MID, MID), MID, MID, DIRECTION_DEGREES[direction])
    canvas = Canvas(SIZE, SIZE, FACE, scale)
    canvas.paint(disc(MID, MID, 11), DARK)
    canvas.paint(disc(MID, MID, 9.4), SILVER)
    canvas.paint(polygon(points), DARK)
    return canvas


# ---------------------------------------------------------------- USB symbol (32 x 22)

def usb_symbol(scale):
    ink = (30, 30, 30)
    canvas = Canvas(32, 22, FACE, scale)
    trunk = capsule(6, 11, 24, 11, 1.2)
    head = polygon([(23, 7), (31, 11), (23, 15)])
    plug = disc(4, 11, 3.2)
    upper = polyline([(10, 11), (14, 5), (19, 5)], 1.1)
    upper_end = disc(20.5, 5, 2.3)
    lower = polyline([(13, 11), (17, 17), (21, 17)], 1.1)
    lower_end = box(20, 14.6, 24.8, 19.4)
    canvas.paint(union(trunk, head, plug, upper, upper_end, lower, lower_end), ink)
    return canvas


# ---------------------------------------------------------------- logo (122 x 60, 256 colours)
# Every logo pixel is a blend of the background shade of its row and the
# ink; 16 shades times 16 ink levels make exactly the 256-colour palette.

LOGO_W, LOGO_H = 122, 60
LOGO_INK = (18, 42, 110)
LOGO_TOP, LOGO_BOTTOM = (255, 255, 255), (196, 214, 240)
LEVELS = 16


def logo_shade(level):
    t = level / (LEVELS - 1)
    return tuple(a + (b - a) * t for a, b in zip(LOGO_TOP, LOGO_BOTTOM))


def logo_palette():
    return [tuple(int(round(s + (i - s) * ink / (LEVELS - 1)))
                  for s, i in zip(logo_shade(shade), LOGO_INK))
            for shade in range(LEVELS) for ink in range(LEVELS)]


def logo_ink_shape():
    frame = union(box(0, 0, LOGO_W, 1.4), box(0, LOGO_H - 1.4, LOGO_W, LOGO_H),
                  box(0, 0, 1.4, LOGO_H), box(LOGO_W - 1.4, 0, LOGO_W, LOGO_H))
    name = centred_text('Brenvo', LOGO_W / 2, 25, 24, 4.6, 0.16)
    swoosh = polyline(arc(61, 12, 56, 36, 225, 315, 24), 1.3)
    return union(frame, name, swoosh)


def logo_indices(scale):
    canvas = Canvas(LOGO_W, LOGO_H, (0, 0, 0), scale)
    shape = logo_ink_shape()
    rows = []
    for py in range(canvas.height):
        shade = round(py * (LEVELS - 1) / (canvas.height - 1))
        rows.append([shade * LEVELS + round(canvas.coverage(shape, px, py) * (LEVELS - 1))
                     for px in range(canvas.width)])
    return rows


# ---------------------------------------------------------------- icon (32 x 32, 16 colours)

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, GREY, SILVER_I, RED, LIME, YELLOW, BLUE = 0, 8, 7, 9, 10, 11, 12


def icon_layers():
    """Shapes of a game pad, back to front, each with its palette index."""
    body = union(capsule(9, 13, 23, 13, 7), capsule(8, 14, 5, 24, 4.2), capsule(24, 14, 27, 24, 4.2))
    edge = union(capsule(9, 13, 23, 13, 8.2), capsule(8, 14, 5, 24, 5.4), capsule(24, 14, 27, 24, 5.4))
    dpad = union(box(6.5, 11, 13.5, 14), box(8.5, 9, 11.5, 16))
    return [(edge, BLACK), (body, SILVER_I), (dpad, BLACK),
            (disc(21, 9.5, 1.9), YELLOW), (disc(18, 12.5, 1.9), BLUE),
            (disc(24, 12.5, 1.9), RED), (disc(21, 15.5, 1.9), LIME),
            (disc(14, 18, 1.4), GREY), (disc(18, 18, 1.4), GREY)]


def icon_indices():
    """Palette index per pixel, or None where the icon is transparent."""
    probe = Canvas(32, 32, (0, 0, 0), 1)
    rows = [[None] * 32 for _ in range(32)]
    for shape, index in icon_layers():
        for py in range(32):
            for px in range(32):
                if probe.coverage(shape, px, py) >= 0.5:
                    rows[py][px] = index
    return rows


# ---------------------------------------------------------------- file formats

def padded(row_bytes):
    return row_bytes + b'\0' * (-len(row_bytes) % 4)


def info_header(width, height, bits, image_size, colours):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, image_size, 2835, 2835,
                       colours, 0)


def bmp_file(width, height, bits, palette, pixel_rows):
    header = info_header(width, height, bits, len(pixel_rows), len(palette))
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    offset = 14 + len(header) + len(colours)
    return (struct.pack('<2sIHHI', b'BM', offset + len(pixel_rows), 0, 0, offset)
            + header + colours + pixel_rows)


def bmp24(canvas):
    rows = canvas.rgb_rows()
    data = b''.join(padded(bytes(c for r, g, b in row for c in (b, g, r))) for row in reversed(rows))
    return bmp_file(canvas.width, canvas.height, 24, [], data)


def bmp8(rows, palette):
    data = b''.join(padded(bytes(row)) for row in reversed(rows))
    return bmp_file(len(rows[0]), len(rows), 8, palette, data)


def ico4(rows, palette):
    size = len(rows)
    colour_bits = b''.join(
        padded(bytes((row[x] or 0) << 4 | (row[x + 1] or 0) for x in range(0, size, 2)))
        for row in reversed(rows))
    mask_bits = b''.join(
        padded(int(''.join('1' if v is None else '0' for v in row), 2).to_bytes(size // 8, 'big'))
        for row in reversed(rows))
    header = info_header(size, 2 * size, 4, len(colour_bits) + len(mask_bits), 16)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    image = header + colours + colour_bits + mask_bits
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


# ---------------------------------------------------------------- output

def pad_pictures(scale):
    return {
        'l1.bmp': trigger('L1', scale),
        'r1.bmp': trigger('R1', scale),
        'triangle_left.bmp': triangle(False, scale),
        'triangle_right.bmp': triangle(True, scale),
        'a.bmp': lettered_button('A', (60, 215, 60), scale),
        'b.bmp': lettered_button('B', (240, 50, 40), scale),
        'x.bmp': lettered_button('X', (70, 140, 255), scale),
        'y.bmp': lettered_button('Y', (250, 215, 0), scale),
        'black.bmp': plain_button((20, 20, 20), RIM, scale),
        'white.bmp': plain_button((255, 255, 255), (150, 150, 155), scale),
        'round.bmp': plain_button(RIM, DARK, scale),
        'ringed_round.bmp': ringed_button(scale),
        'dpad_left.bmp': dpad_arrow('left', scale),
        'dpad_right.bmp': dpad_arrow('right', scale),
        'dpad_up.bmp': dpad_arrow('up', scale),
        'dpad_down.bmp': dpad_arrow('down', scale),
        'stick_left.bmp': stick_arrow('left', scale),
        'stick_right.bmp': stick_arrow('right', scale),
        'stick_up.bmp': stick_arrow('up', scale),
        'stick_down.bmp': stick_arrow('down', scale),
        'usb.bmp': usb_symbol(scale),
    }


def bitmap_files(scale):
    """The window's bitmaps at one display scale, file name and contents."""
    files = {name: bmp24(canvas) for name, canvas in pad_pictures(scale).items()}
    files['logo.bmp'] = bmp8(logo_indices(scale), logo_palette())
    return files


def folder(percent):
    """The 100 % pictures lie next to this script, the others in a folder per scale."""
    path = HERE if percent == 100 else os.path.join(HERE, 'scale%d' % percent)
    os.makedirs(path, exist_ok=True)
    return path


def main():
    for percent in SCALES:
        for name, data in bitmap_files(percent / 100).items():
            with open(os.path.join(folder(percent), name), 'wb') as f:
                f.write(data)
    with open(os.path.join(HERE, 'vantor.ico'), 'wb') as f:
        f.write(ico4(icon_indices(), VGA))


if __name__ == '__main__':
    main()
