"""Readers of the two files the game leaves in its home directory:
"prefs.n2", a Tcl script of nenv objects, and "players.n2", the binary
persistence format (magic 'NOB0', a header string, then '_new', '_sel'
and command blocks; integers little-endian, strings a 16-bit length and
their bytes)."""

import re
import struct


class FormatError(Exception):
    pass


def read_prefs(path):
    """{key: value} of the preference file's string values."""
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    prefs = {}
    for m in re.finditer(r'new\s+nenv\s+(\S+)\s+sel\s+\1\s+\.sets\s+"([^"]*)"', text):
        prefs[m.group(1)] = m.group(2)
    return prefs


def _fourcc(value):
    return "".join(chr((value >> s) & 0xFF) for s in (24, 16, 8, 0))


class _Reader:
    def __init__(self, data):
        self.data = data
        self.pos = 0

    def take(self, n):
        if self.pos + n > len(self.data):
            raise FormatError("truncated at byte %d" % self.pos)
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def u16(self):
        return struct.unpack("<H", self.take(2))[0]

    def u32(self):
        return struct.unpack("<I", self.take(4))[0]

    def string(self):
        return self.take(self.u16()).decode("utf-8", errors="replace")

    def at_end(self):
        return self.pos >= len(self.data)


def read_players(path):
    """{object path below the saved object: {command id: argument bytes}}.
    nenv values: 'SETI' holds a little-endian int, 'SETF' a float."""
    with open(path, "rb") as f:
        r = _Reader(f.read())
    if _fourcc(r.u32()) != "NOB0":
        raise FormatError("%s is no NOB0 file" % path)
    r.string()  # the header: parser and class
    objects = {"": {}}
    stack = [""]
    while not r.at_end():
        block = _fourcc(r.u32())
        if block == "_new":
            r.string()  # class
            name = r.string()
            path_ = (stack[-1] + "/" + name).lstrip("/")
            objects.setdefault(path_, {})
            stack.append(path_)
        elif block == "_sel":
            rel = r.string()
            for part in rel.split("/"):
                if part == "..":
                    if len(stack) > 1:
                        stack.pop()
                elif part and part != ".":
                    stack.append((stack[-1] + "/" + part).lstrip("/"))
                    objects.setdefault(stack[-1], {})
        else:
            size = r.u16()
            objects[stack[-1]][block] = r.take(size)
    return objects


def env_value(objects, path):
    """The int or float an nenv object at the path was set to, or None."""
    cmds = objects.get(path, {})
    if "SETI" in cmds:
        return struct.unpack("<i", cmds["SETI"])[0]
    if "SETF" in cmds:
        return struct.unpack("<f", cmds["SETF"])[0]
    return None
