#!/usr/bin/env python3
"""Makes the boxers' data: their scene models in data/gfxlib (one model per
body part and corner colour, drawn from the meshes make_meshes.py makes),
the invisible dummy, the prototypes of the parts, of the player and of the
opponents _ai0 to _ai4 in data/objects, and the level l01 in data/levels.
Rerun it after changing a table below; it rewrites those files only.

The player boxes from the red corner, every opponent from the blue one.
The opponents get harder with their number: more health and strength,
quicker reactions and strikes, more dodges, hooks and counter-punches.

    python3 scripts/assets/make_boxers.py [data directory]
"""
import os
import sys

sys.dont_write_bytecode = True  # the generators leave nothing in the source tree
from make_meshes import JOINTS, LIMBS  # noqa: E402  (the limbs and joints the meshes are made with)

SKIN_RED = (0.86, 0.63, 0.50)
SKIN_BLUE = (0.52, 0.35, 0.25)
WHITE = (0.88, 0.91, 0.95)  # a cool white: far from the warm canvas it is seen against
EYES = (0.08, 0.06, 0.05)

# corner -> part -> (mesh, [(shape name, group colour)...]) in the mesh's group order
CORNERS = {
    "red": {
        "boxer": ("boxer-head", [("skin", SKIN_RED), ("headgear", (0.78, 0.08, 0.07)), ("eyes", EYES)]),
        "shirt": ("boxer-torso", [("vest", (0.82, 0.10, 0.08)), ("skin", SKIN_RED)]),
        "pants": ("boxer-hips", [("trunks", (0.62, 0.05, 0.05)), ("waistband", WHITE)]),
        "boot": ("boxer-boot", [("boot", (0.12, 0.12, 0.14)), ("sock", WHITE), ("skin", SKIN_RED)]),
        "glove": ("boxer-glove", [("glove", (0.86, 0.10, 0.08)), ("cuff", WHITE), ("skin", SKIN_RED)]),
    },
    "blue": {
        "boxer": ("boxer-head", [("skin", SKIN_BLUE), ("headgear", (0.08, 0.22, 0.80)), ("eyes", EYES)]),
        "shirt": ("boxer-torso", [("vest", (0.10, 0.26, 0.86)), ("skin", SKIN_BLUE)]),
        "pants": ("boxer-hips", [("trunks", (0.06, 0.15, 0.62)), ("waistband", WHITE)]),
        "boot": ("boxer-boot", [("boot", WHITE), ("sock", (0.10, 0.26, 0.86)), ("skin", SKIN_BLUE)]),
        "glove": ("boxer-glove", [("glove", (0.10, 0.28, 0.90)), ("cuff", WHITE), ("skin", SKIN_BLUE)]),
    },
}

# the spheres the fists and the boxers (their heads) collide with
GLOVE_RADIUS = 0.6
BODY_RADIUS = 1.0

STATISTICS = ("health", "energy", "energy-rec-rate", "strike-length", "strength", "fist-mass", "move-speed",
              "lightness", "accuracy")

PLAYER = {
    "name": "Rookie",
    "stats": (1000.0, 1000.0, 50.0, 6.0, 100.0, 1.0, 20.0, 5.0, 0.75),
}

TUNING = ("reaction-time", "follow-timer-base", "follow-timer-scat", "keeppos-timer-base", "keeppos-timer-scat",
          "dodge-amplitude", "hook-probability", "hook-range", "attack-timer-base", "attack-timer-scat",
          "attack-stirke-timer-base", "attack-stirke-timer-scat", "defense-timer-base", "defense-timer-scat",
          "defense-stirke-timer-base", "defense-stirke-timer-scat", "defense-stirke-probability")

OPPONENTS = [
    {"name": "Sandbag Sam",
     "stats": (250.0, 800.0, 40.0, 5.8, 70.0, 0.9, 16.0, 4.0, 0.6),
     "tuning": (0.6, 0.6, 1.2, 0.6, 0.8, 0.5, 0.1, 0.5, 0.5, 0.75, 0.8, 1.0, 2.5, 2.5, 0.8, 1.0, 0.05)},
    {"name": "Lefty Lou",
     "stats": (400.0, 900.0, 45.0, 6.0, 85.0, 1.0, 18.0, 4.5, 0.7),
     "tuning": (0.45, 0.5, 1.0, 0.5, 0.7, 1.0, 0.2, 0.6, 0.6, 1.0, 0.6, 0.9, 2.0, 2.0, 0.6, 0.9, 0.15)},
    {"name": "Hammer Hanson",
     "stats": (1000.0, 1000.0, 50.0, 6.1, 100.0, 1.0, 20.0, 5.0, 0.8),
     "tuning": (0.35, 0.4, 1.0, 0.35, 0.6, 1.5, 0.3, 0.7, 0.75, 1.25, 0.4, 0.75, 1.5, 2.0, 0.4, 0.75, 0.25)},
    {"name": "Viktor Kane",
     "stats": (1200.0, 1100.0, 60.0, 6.3, 120.0, 1.1, 22.0, 6.0, 0.9),
     "tuning": (0.25, 0.3, 0.8, 0.25, 0.5, 2.0, 0.4, 0.75, 1.0, 1.25, 0.2, 0.6, 1.2, 1.5, 0.3, 0.6, 0.35)},
    {"name": "The Champion",
     "stats": (1500.0, 1200.0, 70.0, 6.5, 140.0, 1.2, 24.0, 7.0, 0.95),
     "tuning": (0.15, 0.3, 0.6, 0.15, 0.4, 2.5, 0.5, 0.85, 1.2, 1.5, 0.1, 0.5, 1.0, 1.0, 0.2, 0.5, 0.45)},
]

HEADER = "# ---\n# $parser:ntclserver$ $class:{cls}$\n# ---\n# Made by scripts/assets/make_boxers.py; edit the tables there.\n"
FOOTER = "# ---\n# Eof\n# ---\n"


def num(f):
    return f"{f:.6f}"


def shape(name, mesh, group, colour):
    r, g, b = colour
    return (f"new nshapenode {name}\n"
            f"\tsel {name}\n"
            f"\t.setvector \"MatDiffuse\" {num(r)} {num(g)} {num(b)} 1.000000\n"
            f"\t.setint \"CullMode\" 2\n"
            f"\t.setshader \"colr\" \"shaders:static.fx\"\n"
            f"\t.setmesh \"meshes:{mesh}.n3d2\"\n"
            f"\t.setgroupindex {group}\n"
            f"sel ..\n")


def model(comment, mesh, shapes):
    body = "".join(shape(name, mesh, i, colour) for i, (name, colour) in enumerate(shapes))
    return HEADER.format(cls="ntransformnode") + f"# {comment}\n" + body + FOOTER


def env(name, setter, value):
    return f"new nenv {name}\n\tsel {name}\n\t.{setter} {value}\nsel ..\n"


def point(p):
    return " ".join(num(c) for c in p) + " 0.000000"


def limb_entries(part):
    """The limb a boot or glove carries, or the joint where limbs reach pants or shirt."""
    if part in LIMBS:
        pivot, end = LIMBS[part]
        return [("limb-pivot", "setf4", point(pivot)), ("limb-end", "setf4", point(end))]
    if part in JOINTS:
        return [("limb-joint", "setf4", point(JOINTS[part]))]
    return []


def prototype(comment, entries):
    return HEADER.format(cls="nroot") + f"# {comment}\n" + "".join(env(*e) for e in entries) + FOOTER


def part_entries(corner):
    return [("left_fist", "sets", f"\"/usr/lib/objects/{corner}_glove\""),
            ("right_fist", "sets", f"\"/usr/lib/objects/{corner}_glove\""),
            ("left_boot", "sets", f"\"/usr/lib/objects/{corner}_boot\""),
            ("right_boot", "sets", f"\"/usr/lib/objects/{corner}_boot\""),
            ("pants", "sets", f"\"/usr/lib/objects/{corner}_pants\""),
            ("shirt", "sets", f"\"/usr/lib/objects/{corner}_shirt\"")]


def boxer_entries(corner, boxer):
    entries = [("model", "seto", f"/usr/lib/models/{corner}_boxer"),
               ("geom", "sets", "\"sphere\""),
               ("radius", "setf", num(BODY_RADIUS)),
               ("name", "sets", f"\"{boxer['name']}\"")]
    entries += [(key, "setf", num(v)) for key, v in zip(STATISTICS, boxer["stats"])]
    return entries + part_entries(corner)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def main():
    for boxer in [PLAYER] + OPPONENTS:
        assert len(boxer["stats"]) == len(STATISTICS), boxer["name"]
    for opponent in OPPONENTS:
        assert len(opponent["tuning"]) == len(TUNING), opponent["name"]
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "data")
    gfxlib = os.path.join(data, "gfxlib")
    objects = os.path.join(data, "objects")

    write(os.path.join(gfxlib, "dummy.n2"),
          HEADER.format(cls="ntransformnode") + "# Nothing to draw: the boxers' roots and guard points.\n" + FOOTER)
    write(os.path.join(objects, "dummy.n2"),
          prototype("An invisible point without collisions: a boxer's root and guard points.",
                    [("model", "seto", "/usr/lib/models/dummy")]))

    for corner, parts in CORNERS.items():
        for part, (mesh, shapes) in parts.items():
            write(os.path.join(gfxlib, f"{corner}_{part}.n2"),
                  model(f"The {corner} corner's {part} ({mesh}).", mesh, shapes))
        write(os.path.join(objects, f"{corner}_glove.n2"),
              prototype(f"A glove of the {corner} corner; its sphere hits and blocks; its arm reaches the shoulder.",
                        [("model", "seto", f"/usr/lib/models/{corner}_glove"), ("geom", "sets", "\"sphere\""),
                         ("radius", "setf", num(GLOVE_RADIUS))] + limb_entries("glove")))
        for part in ("boot", "pants", "shirt"):
            write(os.path.join(objects, f"{corner}_{part}.n2"),
                  prototype(f"The {corner} corner's {part}: drawn only, never hit.",
                            [("model", "seto", f"/usr/lib/models/{corner}_{part}")] + limb_entries(part)))

    write(os.path.join(objects, "player.n2"),
          prototype("The player's boxer (red corner): statistics, parts and progression.",
                    boxer_entries("red", PLAYER) + [("score", "seti", "0"), ("next-enemy", "seti", "0")]))
    for i, opponent in enumerate(OPPONENTS):
        tuning = [(key, "setf", num(v)) for key, v in zip(TUNING, opponent["tuning"])]
        write(os.path.join(objects, f"_ai{i}.n2"),
              prototype(f"Opponent {i} (blue corner): statistics, parts and tuning.",
                        boxer_entries("blue", opponent) + tuning))

    write(os.path.join(data, "levels", "l01.n2"),
          HEADER.format(cls="ngameplay2") + "# The match's logic: the ring, the player and its next opponent.\n"
          + FOOTER)


if __name__ == "__main__":
    main()
