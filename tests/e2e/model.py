# SPDX-License-Identifier: GPL-3.0-or-later
"""What the two sample windows and the bitmap pane must show, worked out from the style's own
files, independently of the program: the load pass, piece by piece, and the toolkit's drawing of
stretched, self-sizing and colour-keyed images. Each pixel gets the set of colours it may take,
since a stretched picture may pick either neighbour at a source pixel's edge."""

import os

from pictures import read_bitmap

INACTIVE_SIZE = (393, 249)
ACTIVE_SIZE = (397, 237)
INACTIVE_COLOUR = (0xCE, 0xCE, 0xCE)
ACTIVE_COLOUR = (0xFF, 0xFF, 0xFF)
INACTIVE_CAPTION = (200, 200, 200)
ACTIVE_CAPTION = (255, 255, 255)

GLYPH_SPOT = (300, 7)
BUTTON_SPOT = (296, 5)

STYLE_FILES = [
    "frame_mask_left.bmp", "frame_mask_right.bmp",
    "captionbar_left_inactive.png", "captionbar_right_inactive.png", "captionbar_inactive.png",
    "framebottom_left_inactive.png", "framebottom_right_inactive.png", "framebottom_inactive.png",
    "frameleft_inactive.png", "captionbutton_normal.png", "captionbutton_over.png",
    "captionbutton_press.png", "close_active_disable.png", "maximize_active_disable.png",
    "minimize_active_disable.png", "restore_active_disable.png",
    "captionbar_left_active.png", "captionbar_right_active.png", "captionbar_active.png",
    "framebottom_left_active.png", "framebottom_right_active.png", "framebottom_active.png",
    "frameleft_active.png", "close_active_normal.png", "maximize_active_normal.png",
    "minimize_active_normal.png", "restore_active_normal.png",
    "minimize_active_over.png", "minimize_active_press.png",
]

LOOK_FILES = {
    "normal": ("captionbutton_normal.png", "minimize_active_normal.png"),
    "over": ("captionbutton_over.png", "minimize_active_over.png"),
    "press": ("captionbutton_press.png", "minimize_active_press.png"),
}


class MissingFile(Exception):
    pass


class Image:
    """One image control: geometry, picture and the two drawing flags that matter on screen."""

    def __init__(self, name, x, y, w, h, picture, stretch=False, auto=False, keyed=False,
                 visible=True):
        self.name = name
        self.x, self.y, self.w, self.h = x, y, w, h
        self.picture = picture
        self.stretch = stretch
        self.auto = auto
        self.keyed = keyed
        self.visible = visible
        if auto and picture is not None:
            self.w, self.h = picture.width, picture.height

    def set_picture(self, picture):
        self.picture = picture
        if self.auto:
            self.w, self.h = picture.width, picture.height


def _blend(src, dst):
    a = src[3]
    return tuple((src[i] * a + dst[i] * (255 - a) + 127) // 255 for i in range(3))


def _composite_over(base, overlay):
    """Paint overlay at (0, 0) over base, clipped to base, honouring the overlay's alpha."""
    pixels = list(base.pixels)
    for y in range(min(base.height, overlay.height)):
        for x in range(min(base.width, overlay.width)):
            s = overlay.at(x, y)
            if s[3] == 255:
                pixels[y * base.width + x] = s
            elif s[3] > 0:
                pixels[y * base.width + x] = _blend(s, base.at(x, y)) + (255,)
    out = type(base)(base.width, base.height, pixels)
    return out


def _span(d, src, dst):
    """Source pixels a stretched drawing may take for destination pixel d."""
    lo = int((d * src) / dst - 0.01)
    hi = int(((d + 1) * src) / dst + 0.01)
    return range(max(0, lo), min(src - 1, hi) + 1)


class SampleWindow:
    """The images of one sample window in their stacking order, as the form creates them."""

    def __init__(self, active, design):
        self.active = active
        self.size = ACTIVE_SIZE if active else INACTIVE_SIZE
        self.colour = ACTIVE_COLOUR if active else INACTIVE_COLOUR
        self.caption_colour = ACTIVE_CAPTION if active else INACTIVE_CAPTION
        s = "active" if active else "inactive"
        d = design
        button = lambda name, x: Image(name, x, 5, 19, 18, d("button.png"), auto=True, keyed=True)
        glyph = lambda name, x, y, pic: Image(name, x, y, 13, 13, d(pic), auto=True, keyed=True)
        # Where the form puts each image before any load pass.
        bar_x, bar_y = (220, 4) if active else (88, 4)
        corner_x, corner_y = (9, 20) if active else (13, 32)
        edge_x = 8 if active else 4
        pieces = {
            "frameleft": Image("frameleft_" + s, edge_x, 120, 5, 31, d("frameleft.png"),
                               stretch=True),
            "captionbar": Image("captionbar_" + s, bar_x, bar_y, 65, 25, d("captionbar.png"),
                                stretch=True),
            "frameright": Image("frameright_" + s, 268, 108, 5, 31, d("frameright.png"),
                                stretch=True),
            "framebottom": Image("framebottom_" + s, 44, 160, 15, 8, d("framebottom.png"),
                                 stretch=True),
            "framebottom_left": Image("framebottom_left_" + s, 28, 152, 5, 8,
                                      d("framebottom_left.png"), auto=True),
            "framebottom_right": Image("framebottom_right_" + s, 248, 156, 5, 8,
                                       d("framebottom_right.png"), auto=True),
            "captionbar_right": Image("captionbar_right_" + s, 237, 40, 12, 29,
                                      d("captionbar_right.png"), auto=True),
            "captionbar_left": Image("captionbar_left_" + s, corner_x, corner_y, 12, 29,
                                     d("captionbar_left.png"), auto=True, keyed=True),
            "icon": Image("Image10" if active else "Image9", 10, 5, 16, 16, d("windowicon.png"),
                          auto=True, keyed=True),
        }
        prefix = "Active" if active else "Inactive"
        for kind, x in (("Close", 360), ("Maximize", 339), ("Restore", 317), ("Minimize", 296)):
            pieces["button" + kind] = button(prefix + "Button" + kind, x)
        for kind, x, y, pic in (("Close", 363, 7, "glyph_close.png"),
                                ("Maximize", 342, 7, "glyph_maximize.png"),
                                ("Restore", 320, 8, "glyph_restore.png"),
                                ("Minimize", 300, 7, "glyph_minimize.png")):
            pieces["glyph" + kind] = glyph(prefix + "Glyph" + kind, x, y, pic)
        self.pieces = pieces
        if active:
            order = ["captionbar", "buttonClose", "buttonMaximize", "buttonRestore",
                     "buttonMinimize", "captionbar_left", "frameleft", "captionbar_right",
                     "frameright", "framebottom_left", "framebottom", "framebottom_right", "icon",
                     "glyphRestore", "glyphMinimize", "glyphMaximize", "glyphClose"]
        else:
            order = ["frameleft", "captionbar", "buttonClose", "frameright", "framebottom",
                     "framebottom_left", "framebottom_right", "captionbar_right",
                     "captionbar_left", "glyphClose", "buttonMaximize", "glyphMaximize",
                     "buttonRestore", "buttonMinimize", "glyphRestore", "glyphMinimize", "icon"]
        self.order = order
        self.label_shown = False

    def render(self):
        """Per pixel, the colours the screen may show there, or None where the caption label may
        draw its text (the tuple then holds the label's colour and the colours beneath)."""
        width, height = self.size
        grid = [[(self.colour,)] * width for _ in range(height)]
        for key in self.order:
            image = self.pieces[key]
            if image.picture is None or not image.visible:
                continue
            self._draw(grid, image)
        return grid

    def _draw(self, grid, image):
        width, height = self.size
        pic = image.picture
        key = pic.at(0, pic.height - 1)[:3] if image.keyed else None
        scaled = image.stretch and not image.auto
        for dy in range(image.h):
            y = image.y + dy
            if y < 0 or y >= height:
                continue
            if scaled:
                rows = _span(dy, pic.height, image.h)
            elif dy < pic.height:
                rows = (dy,)
            else:
                continue
            for dx in range(image.w):
                x = image.x + dx
                if x < 0 or x >= width:
                    continue
                if scaled:
                    cols = _span(dx, pic.width, image.w)
                elif dx < pic.width:
                    cols = (dx,)
                else:
                    continue
                under = grid[y][x]
                result = []
                for sy in rows:
                    for sx in cols:
                        s = pic.at(sx, sy)
                        if key is not None:
                            if s[:3] == key:
                                result.extend(under)
                            else:
                                result.append(s[:3])
                        elif s[3] == 255:
                            result.append(s[:3])
                        elif s[3] == 0:
                            result.extend(under)
                        else:
                            result.extend(_blend(s, u + (255,)) for u in under)
                grid[y][x] = tuple(dict.fromkeys(result))


class Preview:
    """Both sample windows, driven by the same load pass and minimize looks as the program."""

    def __init__(self, design_dir):
        cache = {}

        def design(name):
            path = os.path.join(design_dir, name)
            if path not in cache:
                cache[path] = read_bitmap(path)
            return cache[path]

        self.inactive = SampleWindow(False, design)
        self.active = SampleWindow(True, design)

    @staticmethod
    def _read(style_dir, name):
        path = os.path.join(style_dir, name)
        if not os.path.exists(path):
            raise MissingFile(name)
        return read_bitmap(path)

    def load_pass(self, style_dir):
        """Runs the pass over the files in style_dir; returns the name of the file that stopped
        it, or None."""
        try:
            mask_left = self._read(style_dir, "frame_mask_left.bmp")
            self._window_pass(self.inactive, style_dir, mask_left, None)
            mask_right = self._mask_right
            self._window_pass(self.active, style_dir, mask_left, mask_right)
        except MissingFile as missing:
            return str(missing)
        return None

    def _window_pass(self, win, style_dir, mask_left, mask_right):
        s = "active" if win.active else "inactive"
        width, height = win.size
        p = win.pieces
        read = lambda name: self._read(style_dir, name)

        corner = read("captionbar_left_%s.png" % s)
        left = p["captionbar_left"]
        left.x, left.y = 0, 0
        left.set_picture(_composite_over(_composite_over(left.picture, mask_left), corner))

        if mask_right is None:
            mask_right = read("frame_mask_right.bmp")
            self._mask_right = mask_right
        corner = read("captionbar_right_%s.png" % s)
        right = p["captionbar_right"]
        right.x, right.y = width - right.w, 0
        right.set_picture(_composite_over(_composite_over(right.picture, mask_right), corner))

        bar = p["captionbar"]
        bar.x, bar.y, bar.w, bar.h = left.w, 0, width - right.w - left.w, left.h
        bar.set_picture(read("captionbar_%s.png" % s))

        for key, name, at_right in (("framebottom_left", "framebottom_left_%s.png", False),
                                    ("framebottom_right", "framebottom_right_%s.png", True)):
            image = p[key]
            image.set_picture(read(name % s))
            image.x = width - image.w if at_right else 0
            image.y = height - image.h

        bottom = p["framebottom"]
        bl, br = p["framebottom_left"], p["framebottom_right"]
        bottom.x, bottom.y, bottom.w = bl.w, height - bottom.h, width - bl.w - br.w
        bottom.set_picture(read("framebottom_%s.png" % s))

        edge = p["frameleft"]
        edge.x, edge.y, edge.h = 0, left.h, height - left.h - bl.h
        edge.set_picture(read("frameleft_%s.png" % s))

        edge = p["frameright"]
        edge.x, edge.y, edge.h = width - edge.w, right.h, height - right.h - br.h
        edge.set_picture(read("frameleft_%s.png" % s))

        win.label_shown = True

        for kind in ("Close", "Maximize", "Minimize", "Restore"):
            p["button" + kind].set_picture(read("captionbutton_normal.png"))
        state = "normal" if win.active else "disable"
        for kind in ("Close", "Maximize", "Minimize", "Restore"):
            p["glyph" + kind].set_picture(read("%s_active_%s.png" % (kind.lower(), state)))

    def show_look(self, style_dir, look):
        face, glyph = LOOK_FILES[look]
        self.active.pieces["buttonMinimize"].set_picture(self._read(style_dir, face))
        self.active.pieces["glyphMinimize"].set_picture(self._read(style_dir, glyph))

    def minimize_face(self):
        return self.active.pieces["buttonMinimize"].picture

    def inactive_captionbar(self):
        return self.inactive.pieces["captionbar"].picture


def zoomed(picture, size=113):
    """The magnified box: the picture stretched to 113 x 113, as per-pixel colour sets."""
    grid = []
    for dy in range(size):
        row = []
        for dx in range(size):
            row.append(tuple(dict.fromkeys(
                picture.at(sx, sy)[:3] for sy in _span(dy, picture.height, size)
                for sx in _span(dx, picture.width, size))))
        grid.append(row)
    return grid


def actual(picture):
    return [[(picture.at(x, y)[:3],) for x in range(picture.width)] for y in range(picture.height)]
