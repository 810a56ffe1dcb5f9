"""What the end-to-end tests know of the picture: the default palette's
colours, where the glass's framed panel lies, and the screen read back."""
import struct, subprocess

# "Blue palette", the default: panel fill, frame bands, a cell's face.
BACK, SHADOW, LIGHT, CELL_FACE = (20, 193, 255), (0, 0, 0), (255, 255, 255), (150, 220, 255)
# The glass area of the layout for a client size.
GLASS_AREA = {(1024, 768): (312, 38, 711, 730), (640, 480): (195, 24, 444, 456),
              (1280, 1024): (373, 51, 906, 973), (800, 600): (244, 30, 555, 570),
              (1280, 960): (390, 48, 889, 912)}
# At 1024 x 768: the score, time and best-score boxes, and the glass's walls
# high up, where early in a game only a figure steered there shows.
TEXT_BOXES = [(792, 218, 942, 250), (792, 509, 942, 559), (56, 339, 256, 429)]
GLASS = (316, 52, 707, 715)
LEFT_WALL, RIGHT_WALL = (318, 52, 346, 383), (677, 52, 705, 383)


def frame(size, back=BACK):
    """Pixels of the glass's framed panel: filled from the area grown by 2 (one
    more right and below), dark bands above and left, light ones below and right."""
    l, t, r, b = GLASS_AREA[size]
    l, t, r, b = l - 2, t - 2, r + 3, b + 3
    mx, my = (l + r) // 2, (t + b) // 2
    return [((mx, t - 1), SHADOW), ((l - 1, my), SHADOW), ((r, my), LIGHT), ((mx, b), LIGHT),
            ((l, my), back), ((mx, t), back), ((r - 1, my), back), ((mx, b - 1), back)]


class Pixels:
    """Checks over a picture read back, for a class that gives pixel(x, y)."""

    def mismatches(self, expected):
        return [(xy, c, self.pixel(*xy)) for xy, c in expected if self.pixel(*xy) != c]

    def count(self, rect, colour, same=True):
        return sum((self.pixel(x, y) == colour) == same for y in range(rect[1], rect[3])
                   for x in range(rect[0], rect[2]))


class Shot(Pixels):
    """A picture read back by xwd: 32 bits a pixel (Xvfb at depth 24), rows
    of bytes_per_line; missing or unreadable, every pixel is (-1, -1, -1)."""

    def __init__(self, xwd):
        fields = struct.unpack(">25I", xwd[:100]) if len(xwd) >= 100 else (0,) * 25
        size, self.width, self.height, order, bpp, self.pitch, ncolors = (
            fields[0], fields[4], fields[5], fields[7], fields[11], fields[12], fields[19])
        self.data = xwd[size + ncolors * 12:] if bpp == 32 else b""
        self.rgb = (2, 1, 0) if order == 0 else (1, 2, 3)  # LSBFirst: B, G, R, pad

    def pixel(self, x, y):
        i = y * self.pitch + x * 4
        if x >= self.width or i + 4 > len(self.data):
            return (-1, -1, -1)
        return tuple(self.data[i + k] for k in self.rgb)


def grab(env, where=("-root",), keep=None):
    """The screen, or with ("-id", ID) a window, read back; kept as PNG at keep."""
    xwd = subprocess.run(bounded(30, "xwd", "-silent", *where), env=env,
                         stdin=subprocess.DEVNULL, capture_output=True).stdout
    if keep:
        subprocess.run(bounded(30, "/usr/bin/convert", "xwd:-", keep), input=xwd,
                       capture_output=True)
    return Shot(xwd)


def bounded(limit, *argv):
    return ["timeout", "-k", "5", str(limit)] + list(argv)
