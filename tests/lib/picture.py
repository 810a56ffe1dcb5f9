"""What the end-to-end tests of the hack and the page know of the picture:
the default palette's colours and where the glass's framed panel lies."""

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


def bounded(limit, *argv):
    return ["timeout", "-k", "5", str(limit)] + list(argv)
