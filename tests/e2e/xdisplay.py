"""The X side of the end-to-end run: windows found, clicked and typed at
with xdotool (XTEST events, as a player's mouse and keyboard would make
them), and screenshots of a screen area through FFmpeg's x11grab."""

import os
import struct
import subprocess
import time
import zlib


class XError(Exception):
    pass


def _xdotool(*args, timeout=10.0):
    try:
        done = subprocess.run(["xdotool", *[str(a) for a in args]], capture_output=True, text=True,
                              timeout=timeout)
    except subprocess.TimeoutExpired as e:
        raise XError("xdotool %s did not answer within %.0f s" % (" ".join(map(str, args)), timeout)) from e
    return done.returncode, done.stdout


def find_windows(name):
    """The ids of the visible windows whose name matches the pattern."""
    code, out = _xdotool("search", "--onlyvisible", "--name", name)
    if code != 0:
        return []
    return [int(w) for w in out.split()]


def find_windows_of(pid):
    """The ids of the visible windows the process made (SDL names its
    process on its windows; Tk does not)."""
    code, out = _xdotool("search", "--onlyvisible", "--pid", pid)
    if code != 0:
        return []
    return [int(w) for w in out.split()]


def window_name(window):
    code, out = _xdotool("getwindowname", window)
    return out.strip() if code == 0 else ""


def geometry(window):
    """(x, y, width, height) of the window on the screen."""
    code, out = _xdotool("getwindowgeometry", "--shell", window)
    if code != 0:
        raise XError("the window %d has no geometry (gone?)" % window)
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def screen_size():
    """(width, height) of the screen."""
    code, out = _xdotool("getdisplaygeometry")
    if code != 0:
        raise XError("the screen has no geometry")
    w, h = out.split()[:2]
    return int(w), int(h)


def move_mouse(x, y):
    _xdotool("mousemove", int(x), int(y))
    time.sleep(0.05)


def click(x, y, button=1):
    """A press and release of the button at the screen point."""
    move_mouse(x, y)
    _xdotool("click", button)


def press(x, y, button=1):
    move_mouse(x, y)
    _xdotool("mousedown", button)


def release(button=1):
    _xdotool("mouseup", button)


def key(name):
    _xdotool("key", name)


def wait_for_window(name, timeout, alive=None):
    """The first visible window of the name; XError after the timeout, or
    at once when alive() says the program is gone."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = find_windows(name)
        if found:
            return found[0]
        if alive and not alive():
            raise XError("the program ended before a window named '%s' appeared" % name)
        time.sleep(0.2)
    raise XError("no window named '%s' appeared within %.0f s" % (name, timeout))


def screenshot(path, area):
    """A PNG of the screen area (x, y, width, height)."""
    x, y, w, h = area
    display = os.environ.get("DISPLAY", ":0")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    cmd = ["ffmpeg", "-loglevel", "error", "-y", "-f", "x11grab", "-video_size", "%dx%d" % (w, h),
           "-i", "%s+%d,%d" % (display, x, y), "-frames:v", "1", path]
    done = subprocess.run(cmd, capture_output=True, text=True, timeout=60)
    if done.returncode != 0 or not os.path.exists(path):
        raise XError("the screenshot %s failed: %s" % (path, done.stderr.strip()))


def grab_rgb(area):
    """The screen area (x, y, width, height) as rows of 8-bit RGB, one bytes object."""
    x, y, w, h = area
    display = os.environ.get("DISPLAY", ":0")
    cmd = ["ffmpeg", "-loglevel", "error", "-f", "x11grab", "-video_size", "%dx%d" % (w, h),
           "-i", "%s+%d,%d" % (display, x, y), "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"]
    done = subprocess.run(cmd, capture_output=True, timeout=60)
    if done.returncode != 0 or len(done.stdout) != w * h * 3:
        raise XError("grabbing %dx%d at %d,%d failed: %s" % (w, h, x, y, done.stderr.decode(errors="replace").strip()))
    return done.stdout


def write_png(path, width, height, rgb):
    """Rows of 8-bit RGB as a PNG file."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    stride = width * 3
    raw = b"".join(b"\x00" + rgb[y * stride:(y + 1) * stride] for y in range(height))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))
