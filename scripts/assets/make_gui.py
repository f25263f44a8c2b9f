#!/usr/bin/env python3
"""Makes the GUI skin's textures: the menu backdrop, window panels, the
title bar, the three button states, the bonus icon with its bar and a plain
white texture, as small RGBA PNG files drawn from gradients. The start-up
script's skin names them by file name. Rerun it to rebuild data/gui/.

    python3 scripts/assets/make_gui.py [output directory]
"""
import math
import os
import sys

# the PNG writer and the colour blend of the HUD textures' generator
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_textures import lerp, png  # noqa: E402


def backdrop(w, h):
    """Night over an arena: deep blue above, near black below, a soft
    spotlight glow in the upper middle and darker corners."""
    def pixel(x, y):
        u, v = x / (w - 1), y / (h - 1)
        base = lerp((0.10, 0.11, 0.22), (0.02, 0.02, 0.05), v)
        glow = math.exp(-(((u - 0.5) / 0.35) ** 2 + ((v - 0.25) / 0.30) ** 2))
        vignette = 1.0 - 0.55 * (((u - 0.5) * 2) ** 2 * 0.5 + ((v - 0.5) * 2) ** 2 * 0.5)
        c = tuple((b + g * 0.22) * vignette for b, g in zip(base, (0.55, 0.45, 0.35)))
        return c + (1.0,)
    return pixel


def panel(w, h, top, bottom, rim, alpha):
    """A see-through panel with a two-pixel rim and a darker inner line."""
    def pixel(x, y):
        edge = min(x, y, w - 1 - x, h - 1 - y)
        if edge < 2:
            return rim + (1.0,)
        if edge == 2:
            return (0.0, 0.0, 0.0, alpha)
        return lerp(top, bottom, y / (h - 1)) + (alpha,)
    return pixel


def button(w, h, top, bottom, rim):
    """A rounded button: a vertical gradient, a bright rim, a highlight
    line under the top edge; the corners are cut off."""
    r = 5.0

    def pixel(x, y):
        cx = min(max(x + 0.5, r), w - r)
        cy = min(max(y + 0.5, r), h - r)
        d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
        if d > r:
            return (0.0, 0.0, 0.0, 0.0)
        if d > r - 1.5 or x < 1 or y < 1 or x > w - 2 or y > h - 2:
            return rim + (1.0,)
        c = lerp(top, bottom, y / (h - 1))
        if y == 3:
            c = lerp(c, (1.0, 1.0, 1.0), 0.35)
        return c + (1.0,)
    return pixel


def titlebar(w, h):
    """The title bar: boxing red, lighter at the top, a gold line below."""
    def pixel(x, y):
        if y >= h - 2:
            return (0.95, 0.75, 0.25, 1.0)
        return lerp((0.80, 0.14, 0.12), (0.42, 0.04, 0.05), y / (h - 1)) + (1.0,)
    return pixel


def bar(top, bottom, h):
    def pixel(x, y):
        return lerp(top, bottom, y / (h - 1)) + (1.0,)
    return pixel


def solid(color):
    def pixel(x, y):
        return color
    return pixel


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "gui")
    os.makedirs(out, exist_ok=True)
    gold = (0.95, 0.75, 0.25)
    textures = {
        "backdrop": (128, 96, backdrop(128, 96)),
        "window": (128, 128, panel(128, 128, (0.12, 0.13, 0.24), (0.05, 0.05, 0.10), (0.55, 0.50, 0.40), 0.92)),
        "hud": (128, 64, panel(128, 64, (0.10, 0.10, 0.18), (0.03, 0.03, 0.06), (0.45, 0.42, 0.36), 0.70)),
        "titlebar": (128, 48, titlebar(128, 48)),
        "button_n": (128, 32, button(128, 32, (0.70, 0.12, 0.10), (0.36, 0.04, 0.04), gold)),
        "button_h": (128, 32, button(128, 32, (0.95, 0.30, 0.16), (0.58, 0.10, 0.06), (1.0, 0.92, 0.55))),
        "button_p": (128, 32, button(128, 32, (0.30, 0.03, 0.03), (0.55, 0.10, 0.08), gold)),
        "bonus": (64, 32, panel(64, 32, (0.20, 0.16, 0.06), (0.08, 0.06, 0.02), gold, 0.85)),
        "bonus-bar": (32, 8, bar((1.0, 0.90, 0.35), (0.85, 0.55, 0.05), 8)),
        "bonus-trail": (32, 8, bar((0.25, 0.22, 0.18), (0.12, 0.10, 0.08), 8)),
        "white": (4, 4, solid((1.0, 1.0, 1.0, 1.0))),
    }
    for name, (w, h, pixel) in textures.items():
        png(os.path.join(out, name + ".png"), w, h, pixel)


if __name__ == "__main__":
    main()
