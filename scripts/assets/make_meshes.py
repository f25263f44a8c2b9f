#!/usr/bin/env python3
"""Makes the game's meshes as n3d2 text files: unit primitives (box, sphere,
cylinder) that the models scale into boots, pants, shirts, gloves and posts,
the ring's visible model and its flat collision floor. Triangles wind
counter-clockwise seen from outside; normals point outwards. Rerun it to
rebuild data/meshes/.

    python3 scripts/assets/make_meshes.py [output directory]
"""
import math
import os
import sys


class Mesh:
    def __init__(self):
        self.vertices = []  # (x, y, z, nx, ny, nz, u, v)
        self.triangles = []
        self.groups = []  # (first vertex, vertex count, first triangle, triangle count)
        self._group_start = None

    def begin_group(self):
        self._group_start = (len(self.vertices), len(self.triangles))

    def end_group(self):
        v0, t0 = self._group_start
        self.groups.append((v0, len(self.vertices) - v0, t0, len(self.triangles) - t0))

    def vertex(self, p, n, uv):
        self.vertices.append((*p, *n, *uv))
        return len(self.vertices) - 1

    def quad(self, a, b, c, d, n):
        """Four corners counter-clockwise seen from the side n points to."""
        i = [self.vertex(p, n, uv) for p, uv in zip((a, b, c, d), ((0, 1), (1, 1), (1, 0), (0, 0)))]
        self.triangles += [(i[0], i[1], i[2]), (i[0], i[2], i[3])]

    def box(self, lo, hi):
        x0, y0, z0 = lo
        x1, y1, z1 = hi
        self.quad((x0, y0, z1), (x1, y0, z1), (x1, y1, z1), (x0, y1, z1), (0, 0, 1))
        self.quad((x1, y0, z0), (x0, y0, z0), (x0, y1, z0), (x1, y1, z0), (0, 0, -1))
        self.quad((x1, y0, z1), (x1, y0, z0), (x1, y1, z0), (x1, y1, z1), (1, 0, 0))
        self.quad((x0, y0, z0), (x0, y0, z1), (x0, y1, z1), (x0, y1, z0), (-1, 0, 0))
        self.quad((x0, y1, z1), (x1, y1, z1), (x1, y1, z0), (x0, y1, z0), (0, 1, 0))
        self.quad((x0, y0, z0), (x1, y0, z0), (x1, y0, z1), (x0, y0, z1), (0, -1, 0))

    def sphere(self, radius, rings, segments, centre=(0, 0, 0)):
        first = len(self.vertices)
        for r in range(rings + 1):
            theta = math.pi * r / rings
            for s in range(segments + 1):
                phi = 2 * math.pi * s / segments
                n = (math.sin(theta) * math.cos(phi), math.cos(theta), math.sin(theta) * math.sin(phi))
                p = tuple(c + radius * k for c, k in zip(centre, n))
                self.vertex(p, n, (s / segments, r / rings))
        row = segments + 1
        for r in range(rings):
            for s in range(segments):
                a = first + r * row + s
                b, c, d = a + row, a + row + 1, a + 1
                if r > 0:
                    self.triangles.append((a, d, b))
                if r < rings - 1:
                    self.triangles.append((d, c, b))

    def cylinder(self, radius, y0, y1, segments, centre=(0, 0)):
        cx, cz = centre
        first = len(self.vertices)
        for s in range(segments + 1):
            phi = 2 * math.pi * s / segments
            n = (math.cos(phi), 0.0, math.sin(phi))
            for y, v in ((y0, 1.0), (y1, 0.0)):
                self.vertex((cx + radius * n[0], y, cz + radius * n[2]), n, (s / segments, v))
        for s in range(segments):
            a = first + 2 * s
            self.triangles += [(a, a + 1, a + 3), (a, a + 3, a + 2)]
        for y, ny in ((y1, 1.0), (y0, -1.0)):
            centre_index = self.vertex((cx, y, cz), (0, ny, 0), (0.5, 0.5))
            rim = []
            for s in range(segments):
                phi = 2 * math.pi * s / segments
                rim.append(self.vertex((cx + radius * math.cos(phi), y, cz + radius * math.sin(phi)), (0, ny, 0),
                                       (0.5 + 0.5 * math.cos(phi), 0.5 + 0.5 * math.sin(phi))))
            for s in range(segments):
                a, b = rim[s], rim[(s + 1) % segments]
                self.triangles.append((centre_index, b, a) if ny > 0 else (centre_index, a, b))

    def write(self, path, coords_only=False):
        """Collision meshes carry coordinates only; drawn ones normals and uvs too."""
        width = 3 if coords_only else 8
        with open(path, "w") as f:
            f.write("type n3d2\n")
            f.write(f"numgroups {len(self.groups)}\n")
            f.write(f"numvertices {len(self.vertices)}\n")
            f.write(f"vertexwidth {width}\n")
            f.write(f"numtris {len(self.triangles)}\n")
            f.write("numedges 0\n")
            f.write("vertexcomps coord\n" if coords_only else "vertexcomps coord normal uv0\n")
            for v0, vn, t0, tn in self.groups:
                f.write(f"g {v0} {vn} {t0} {tn} 0 0\n")
            for v in self.vertices:
                f.write("v " + " ".join(f"{c:.4f}".rstrip("0").rstrip(".") if c != 0 else "0" for c in v[:width]) + "\n")
            for t in self.triangles:
                f.write(f"t {t[0]} {t[1]} {t[2]}\n")


def single(build):
    m = Mesh()
    m.begin_group()
    build(m)
    m.end_group()
    return m


RING_HALF = 7.0  # the canvas runs from -7 to 7 in x and z
POST_HEIGHT = 4.0
ROPE_HEIGHTS = (1.5, 2.5, 3.5)


def ring_model():
    """Four groups: the canvas, the apron below it, the corner posts, the ropes."""
    m = Mesh()
    h = RING_HALF
    m.begin_group()
    m.quad((-h, 0, h), (h, 0, h), (h, 0, -h), (-h, 0, -h), (0, 1, 0))
    m.end_group()
    m.begin_group()
    m.box((-h - 0.5, -1.5, -h - 0.5), (h + 0.5, -0.01, h + 0.5))
    m.end_group()
    m.begin_group()
    for x in (-h, h):
        for z in (-h, h):
            m.cylinder(0.25, 0.0, POST_HEIGHT, 12, (x, z))
    m.end_group()
    m.begin_group()
    t = 0.06
    for y in ROPE_HEIGHTS:
        m.box((-h, y - t, h - t), (h, y + t, h + t))
        m.box((-h, y - t, -h - t), (h, y + t, -h + t))
        m.box((h - t, y - t, -h), (h + t, y + t, h))
        m.box((-h - t, y - t, -h), (-h + t, y + t, h))
    m.end_group()
    return m


def ring_floor():
    """The collision floor: the canvas as two triangles facing up."""
    h = RING_HALF
    return single(lambda m: m.quad((-h, 0, h), (h, 0, h), (h, 0, -h), (-h, 0, -h), (0, 1, 0)))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "data", "meshes")
    os.makedirs(out, exist_ok=True)
    single(lambda m: m.box((-0.5, -0.5, -0.5), (0.5, 0.5, 0.5))).write(os.path.join(out, "box.n3d2"))
    single(lambda m: m.sphere(1.0, 12, 16)).write(os.path.join(out, "sphere.n3d2"))
    single(lambda m: m.cylinder(1.0, -0.5, 0.5, 16)).write(os.path.join(out, "cylinder.n3d2"))
    ring_model().write(os.path.join(out, "ring-model.n3d2"))
    ring_floor().write(os.path.join(out, "ring.n3d2"), coords_only=True)


if __name__ == "__main__":
    main()
