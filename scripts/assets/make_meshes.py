#!/usr/bin/env python3
"""Makes the game's meshes as n3d2 text files: unit primitives (box, sphere,
cylinder), the ring's visible model and its flat collision floor, and the
boxer's body parts. Triangles wind counter-clockwise seen from outside;
normals point outwards. Rerun it to rebuild data/meshes/.

The boxer's parts are separate game objects that the match moves on their
own, so each part mesh sits around the point its object is placed at (the
boxer itself at its head, 7.5 above the canvas; the shirt and pants around
the hips, 4.1 to 4.3 up; each boot on the canvas; each glove at the fist).
A boxer faces -z; its left is -x. Each mesh has groups for its colours:

    boxer-head:  0 skin, 1 headgear, 2 eyes
    boxer-torso: 0 vest, 1 skin (shoulders, neck)
    boxer-hips:  0 trunks, 1 waistband
    boxer-boot:  0 boot, 1 sock, 2 skin (the leg, a limb)
    boxer-glove: 0 glove, 1 cuff, 2 skin (the arm, a limb)

A limb is modelled straight from its pivot inside its part (LIMBS) to a
rest end, its vertices weighted 1 on the joint (the mesh's only blend
weights; shaders/static.fx reads them); when drawn, the boxer turns it
about the pivot and stretches it
to its joint inside the body part it belongs to (JOINTS: the hips in the
trunks, the shoulders in the shirt, each point and its mirror in x), so
that a boot or glove anywhere its object goes stays joined to the body.
Both ends are flat discs narrower than what covers them at the joint.

    python3 scripts/assets/make_meshes.py [output directory]
"""
import math
import os
import sys


def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def mul(a, k):
    return tuple(x * k for x in a)


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def length(a):
    return math.sqrt(sum(x * x for x in a))


def norm(a):
    n = length(a)
    return mul(a, 1.0 / n) if n > 1e-12 else (0.0, 0.0, 0.0)


class Mesh:
    def __init__(self):
        self.vertices = []  # (x, y, z, nx, ny, nz, u, v)
        self.triangles = []
        self.groups = []  # (first vertex, vertex count, first triangle, triangle count)
        self._group_start = None
        self.weight = 0.0  # how far the vertices made now follow the joint (a limb's: 1)
        self.weights = []

    def begin_group(self):
        self._group_start = (len(self.vertices), len(self.triangles))

    def end_group(self):
        v0, t0 = self._group_start
        self.groups.append((v0, len(self.vertices) - v0, t0, len(self.triangles) - t0))

    def vertex(self, p, n, uv):
        self.vertices.append((*p, *n, *uv))
        self.weights.append(self.weight)
        return len(self.vertices) - 1

    def quad(self, a, b, c, d, n):
        """Four corners counter-clockwise seen from the side n points to."""
        i = [self.vertex(p, n, uv) for p, uv in zip((a, b, c, d), ((0, 1), (1, 1), (1, 0), (0, 0)))]
        self.triangles += [(i[0], i[1], i[2]), (i[0], i[2], i[3])]

    def box(self, lo, hi, lift=0.0):
        """The side faces' normals lean up by the lift: a thin box lit as if
        round when seen from above."""
        x0, y0, z0 = lo
        x1, y1, z1 = hi
        side = (lambda n: norm(add(n, (0.0, lift, 0.0))))
        self.quad((x0, y0, z1), (x1, y0, z1), (x1, y1, z1), (x0, y1, z1), side((0, 0, 1)))
        self.quad((x1, y0, z0), (x0, y0, z0), (x0, y1, z0), (x1, y1, z0), side((0, 0, -1)))
        self.quad((x1, y0, z1), (x1, y0, z0), (x1, y1, z0), (x1, y1, z1), side((1, 0, 0)))
        self.quad((x0, y0, z0), (x0, y0, z1), (x0, y1, z1), (x0, y1, z0), side((-1, 0, 0)))
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

    def lathe(self, origin, axis, profile, segments=16, side=None):
        """A surface of rings along the axis from the origin. Each profile
        entry (t, a, b) is a ring at distance t along the axis with the
        semi-axes a (along side, default x or a perpendicular) and b; a ring
        of no size closes the surface there. Normals average the faces'."""
        u = norm(axis)
        if side is None:
            side = (1.0, 0.0, 0.0) if abs(u[0]) < 0.9 else (0.0, 0.0, 1.0)
        v = norm(sub(side, mul(u, sum(p * q for p, q in zip(side, u)))))
        w = cross(v, u)  # v, w, u turn the way the faces must wind outwards
        rows = []
        for t, a, b in profile:
            centre = add(origin, mul(u, t))
            rows.append([add(centre, add(mul(v, a * math.cos(2 * math.pi * k / segments)),
                                         mul(w, b * math.sin(2 * math.pi * k / segments))))
                         for k in range(segments)])
        normals = [[(0.0, 0.0, 0.0)] * segments for _ in rows]
        faces = []
        for r in range(len(rows) - 1):
            for k in range(segments):
                k1 = (k + 1) % segments
                for tri in (((r, k), (r + 1, k), (r + 1, k1)), ((r, k), (r + 1, k1), (r, k1))):
                    pa, pb, pc = (rows[i][j] for i, j in tri)
                    n = cross(sub(pb, pa), sub(pc, pa))
                    if length(n) < 1e-12:
                        continue
                    faces.append(tri)
                    for i, j in tri:
                        normals[i][j] = add(normals[i][j], n)
        for r, (t, a, b) in enumerate(profile):
            if abs(a) < 1e-9 and abs(b) < 1e-9:
                pole = mul(u, -1.0) if r == 0 else u
                normals[r] = [pole] * segments
        first = len(self.vertices)
        for r, ring in enumerate(rows):
            for k, p in enumerate(ring):
                self.vertex(p, norm(normals[r][k]), (k / segments, r / max(1, len(rows) - 1)))
        for tri in faces:
            self.triangles.append(tuple(first + i * segments + j for i, j in tri))

    def ellipsoid(self, centre, radii, rings=10, segments=16, top=math.pi):
        """An ellipsoid of the three radii around y; top < pi leaves it open below that polar angle."""
        rx, ry, rz = radii
        profile = []
        for r in range(rings + 1):
            theta = top - top * r / rings  # from the lowest ring up to the pole
            profile.append((ry * math.cos(theta), rx * math.sin(theta), rz * math.sin(theta)))
        self.lathe(centre, (0.0, 1.0, 0.0), profile, segments)

    def capsule(self, p0, p1, radius, segments=12, cap_rings=3):
        """A cylinder from p0 to p1 with half spheres on both ends."""
        axis = sub(p1, p0)
        span = length(axis)
        profile = []
        for r in range(cap_rings + 1):
            theta = 0.5 * math.pi * r / cap_rings
            profile.append((-radius * math.cos(theta), radius * math.sin(theta), radius * math.sin(theta)))
        for r in range(cap_rings + 1):
            theta = 0.5 * math.pi * r / cap_rings
            profile.append((span + radius * math.sin(theta), radius * math.cos(theta), radius * math.cos(theta)))
        self.lathe(p0, axis, profile, segments)

    def write(self, path, coords_only=False):
        """Collision meshes carry coordinates only; drawn ones normals and uvs
        too, and blend weights when some vertices follow a joint."""
        weighted = not coords_only and any(self.weights)
        width = 3 if coords_only else (12 if weighted else 8)
        comps = "coord" if coords_only else ("coord normal uv0 weights" if weighted else "coord normal uv0")
        with open(path, "w") as f:
            f.write("type n3d2\n")
            f.write(f"numgroups {len(self.groups)}\n")
            f.write(f"numvertices {len(self.vertices)}\n")
            f.write(f"vertexwidth {width}\n")
            f.write(f"numtris {len(self.triangles)}\n")
            f.write("numedges 0\n")
            f.write(f"vertexcomps {comps}\n")
            for v0, vn, t0, tn in self.groups:
                f.write(f"g {v0} {vn} {t0} {tn} 0 0\n")
            for v, w in zip(self.vertices, self.weights):
                values = (*v, w, 0.0, 0.0, 0.0)[:width]
                f.write("v " + " ".join(f"{c:.4f}".rstrip("0").rstrip(".") if c != 0 else "0" for c in values) + "\n")
            for t in self.triangles:
                f.write(f"t {t[0]} {t[1]} {t[2]}\n")


def groups(*builders):
    """A mesh with one group per builder."""
    m = Mesh()
    for build in builders:
        m.begin_group()
        build(m)
        m.end_group()
    return m


RING_HALF = 10.0  # the corner posts stand at -10 and 10 in x and z
CANVAS_HALF = RING_HALF + 1.2  # the canvas reaches a little past the ropes
FLOOR_DEPTH = 1.5  # the arena floor below the canvas
POST_HEIGHT = 6.2
ROPE_HEIGHTS = (2.2, 3.8, 5.4)
FLOOR_HALF = 40.0


def ring_model():
    """Eight groups: the canvas, the apron below it, the corner posts, the
    ropes, the pads of the red corner (the player's, left front), of the
    blue corner (diagonally opposite), of the two neutral corners, and the
    arena floor."""
    m = Mesh()
    h = RING_HALF
    c = CANVAS_HALF
    m.begin_group()
    m.quad((-c, 0, c), (c, 0, c), (c, 0, -c), (-c, 0, -c), (0, 1, 0))
    m.end_group()
    m.begin_group()
    m.box((-c, -FLOOR_DEPTH, -c), (c, -0.01, c))
    m.end_group()
    m.begin_group()
    for x in (-h, h):
        for z in (-h, h):
            m.cylinder(0.3, 0.0, POST_HEIGHT, 12, (x, z))
    m.end_group()
    m.begin_group()
    # A rope's side turned to the overview camera is thinner than a pixel
    # and, on the near ropes, faces away from the light; lit by the
    # ambient alone it broke into dark dashes whenever the camera swayed.
    # Sides lit as if leaning up keep the ropes white from above.
    t = 0.08
    lift = 3.0
    for y in ROPE_HEIGHTS:
        m.box((-h, y - t, h - t), (h, y + t, h + t), lift)
        m.box((-h, y - t, -h - t), (h, y + t, -h + t), lift)
        m.box((h - t, y - t, -h), (h + t, y + t, h), lift)
        m.box((-h - t, y - t, -h), (-h + t, y + t, h), lift)
    m.end_group()
    pad = 0.45
    for corners in (((-h, h),), ((h, -h),), ((h, h), (-h, -h))):
        m.begin_group()
        for x, z in corners:
            m.box((x - pad, ROPE_HEIGHTS[0] - 0.4, z - pad), (x + pad, ROPE_HEIGHTS[-1] + 0.4, z + pad))
        m.end_group()
    m.begin_group()
    f = FLOOR_HALF
    m.quad((-f, -FLOOR_DEPTH, f), (f, -FLOOR_DEPTH, f), (f, -FLOOR_DEPTH, -f), (-f, -FLOOR_DEPTH, -f), (0, 1, 0))
    m.end_group()
    return m


def ring_floor():
    """The collision floor: the canvas as two triangles facing up."""
    c = CANVAS_HALF
    return groups(lambda m: m.quad((-c, 0, c), (c, 0, c), (c, 0, -c), (-c, 0, -c), (0, 1, 0)))


def boxer_head():
    """Around the boxer's own point, the centre of the head."""
    def skin(m):
        m.ellipsoid((0, 0, 0), (0.62, 0.78, 0.7))
        m.capsule((0, -0.45, 0.05), (0, -1.1, 0.1), 0.33)
        m.ellipsoid((0, -0.1, -0.68), (0.12, 0.16, 0.12), 4, 8)
        for x in (-0.62, 0.62):
            m.ellipsoid((x, 0.0, 0.05), (0.1, 0.2, 0.14), 4, 8)

    def headgear(m):
        m.ellipsoid((0, 0.06, 0.04), (0.7, 0.82, 0.76), top=1.3)
        for x in (-0.5, 0.5):
            m.ellipsoid((x, -0.22, -0.22), (0.22, 0.34, 0.32), 6, 12)

    def eyes(m):
        for x in (-0.22, 0.22):
            m.ellipsoid((x, 0.1, -0.63), (0.09, 0.07, 0.06), 4, 8)

    return groups(skin, headgear, eyes)


# part -> (pivot, rest end) of its limb, in the part's own space
LIMBS = {
    "boot": ((0.0, 0.9, 0.0), (0.0, 3.4, 0.0)),
    "glove": ((0.0, 0.0, 0.1), (0.0, 0.8, 1.3)),
}
# body part -> the point where a limb joins it (and its mirror in x)
JOINTS = {
    "pants": (0.5, -0.6, 0.0),
    "shirt": (1.2, 1.95, 0.0),
}
SHOULDER_RADIUS = 0.42


def limb(m, part, profile, segments=14):
    """The part's limb from its pivot towards its rest end: profile entries
    (share of the length, radius); the ends are closed flat."""
    pivot, end = LIMBS[part]
    span = length(sub(end, pivot))
    rings = [(0.0, 0.0, 0.0)] + [(f * span, r, r) for f, r in profile] + [(span, 0.0, 0.0)]
    m.weight = 1.0
    m.lathe(pivot, sub(end, pivot), rings, segments)
    m.weight = 0.0


def boxer_torso():
    """Around the shirt's point, just above the hips. The shirt turns only
    to lean, never to the boxer's heading, so it is the same seen from the
    front and from the back. The arms belong to the gloves and end inside
    the shoulders."""
    def vest(m):
        m.lathe((0, 0, 0), (0, 1, 0), [(-0.55, 0, 0), (-0.5, 0.95, 0.62), (0.3, 1.0, 0.64), (1.0, 1.12, 0.7),
                                        (1.6, 1.25, 0.72), (2.0, 1.22, 0.66), (2.2, 0.9, 0.52), (2.3, 0.45, 0.35),
                                        (2.32, 0, 0)], 20)

    def skin(m):
        x, y, z = JOINTS["shirt"]
        for side in (-1.0, 1.0):
            m.ellipsoid((side * x, y, z), (SHOULDER_RADIUS,) * 3, 8, 12)
        m.capsule((0, 2.0, 0.05), (0, 2.6, 0.05), 0.34)

    return groups(vest, skin)


def boxer_hips():
    """Around the pants' point, halfway between the head and the boots. The
    legs belong to the boots and end inside the trunks."""
    def trunks(m):
        m.lathe((0, 0, 0), (0, 1, 0), [(-0.75, 0, 0), (-0.7, 0.9, 0.62), (-0.2, 1.02, 0.68), (0.35, 1.0, 0.66),
                                        (0.5, 0.9, 0.6), (0.55, 0, 0)], 20)
        for x in (-0.5, 0.5):
            m.lathe((x, 0, 0), (0, 1, 0), [(-1.55, 0, 0), (-1.5, 0.54, 0.56), (-1.4, 0.58, 0.6), (-0.4, 0.6, 0.62),
                                            (-0.3, 0, 0)], 14)

    def waistband(m):
        m.lathe((0, 0, 0), (0, 1, 0), [(0.25, 1.04, 0.7), (0.42, 1.07, 0.72), (0.6, 1.02, 0.68)], 20)

    return groups(trunks, waistband)


def boxer_boot():
    """Around the boot's point on the canvas: the shoe, its high top and
    the leg from the ankle inside the top up to the hip."""
    def boot(m):
        m.ellipsoid((0, 0.3, -0.2), (0.4, 0.32, 0.65))
        m.lathe((0, 0, 0), (0, 1, 0), [(0.25, 0, 0), (0.3, 0.38, 0.4), (1.05, 0.37, 0.38), (1.1, 0, 0)], 14)

    def sock(m):
        m.lathe((0, 0, 0), (0, 1, 0), [(1.0, 0.36, 0.37), (1.2, 0.37, 0.38), (1.35, 0.34, 0.35)], 14)

    def skin(m):
        limb(m, "boot", [(0.0, 0.28), (0.35, 0.33), (0.55, 0.3), (0.8, 0.4), (1.0, 0.44)])

    return groups(boot, sock, skin)


def boxer_glove():
    """Around the fist's point: the glove, its cuff and the arm from inside
    the glove back to the shoulder. At rest the glove is pitched up by its
    guard (0.3 pi), so the cuff and the arm, leaning back and upwards here,
    run back to the boxer."""
    pivot, end = LIMBS["glove"]
    arm = norm(sub(end, pivot))

    def glove(m):
        m.ellipsoid((0, 0, 0), (0.48, 0.52, 0.6))

    def cuff(m):
        m.lathe((0, 0, 0), arm, [(0.42, 0.4, 0.4), (0.55, 0.41, 0.41), (0.68, 0.36, 0.36)], 14)

    def skin(m):
        limb(m, "glove", [(0.0, 0.27), (0.6, 0.3), (1.0, 0.32)])

    return groups(glove, cuff, skin)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "data", "meshes")
    os.makedirs(out, exist_ok=True)
    groups(lambda m: m.box((-0.5, -0.5, -0.5), (0.5, 0.5, 0.5))).write(os.path.join(out, "box.n3d2"))
    groups(lambda m: m.sphere(1.0, 12, 16)).write(os.path.join(out, "sphere.n3d2"))
    groups(lambda m: m.cylinder(1.0, -0.5, 0.5, 16)).write(os.path.join(out, "cylinder.n3d2"))
    ring_model().write(os.path.join(out, "ring-model.n3d2"))
    ring_floor().write(os.path.join(out, "ring.n3d2"), coords_only=True)
    boxer_head().write(os.path.join(out, "boxer-head.n3d2"))
    boxer_torso().write(os.path.join(out, "boxer-torso.n3d2"))
    boxer_hips().write(os.path.join(out, "boxer-hips.n3d2"))
    boxer_boot().write(os.path.join(out, "boxer-boot.n3d2"))
    boxer_glove().write(os.path.join(out, "boxer-glove.n3d2"))


if __name__ == "__main__":
    main()
