#!/usr/bin/env python3
"""No symbol is defined twice in one program of the build.

The linker takes the first definition it meets, so a name defined twice (two
functions, or an inline one in a header and a plain one in a source file)
silently splits a program: some code calls one copy and some the other,
and an optimised build inlines yet another. For every program of the build
(its own objects together with every engine library) this reads the symbol
tables with nm and fails on any global name defined in two places where
one of the definitions is not weak. Weak-only names (inline functions,
templates) are merged by the linker and are fine.

usage: duplicatesymbols.py <build directory>
"""
import collections
import json
import pathlib
import subprocess
import sys

STRONG = set("TDBRGSC")   # text, data, bss, read-only, small data, common
WEAK = set("WVuiv")


def definitions(files):
    """Returns {symbol: [(kind, place)]} of the global definitions in files."""
    found = collections.defaultdict(list)
    if not files:
        return found
    out = subprocess.run(["nm", "-A", "--defined-only", *map(str, files)],
                         check=True, capture_output=True, text=True).stdout
    for line in out.splitlines():
        # "<file>[:<member>]:<address> <kind> <name>"
        fields = line.split()
        if len(fields) == 3 and (fields[1] in STRONG or fields[1] in WEAK):
            place = fields[0].rsplit(":", 1)[0]
            found[fields[2]].append((fields[1], place))
    return found


def clashes(*tables):
    """Yields (symbol, definitions) defined twice with one of them strong."""
    merged = collections.defaultdict(list)
    for table in tables:
        for name, defs in table.items():
            merged[name].extend(defs)
    for name, defs in merged.items():
        if len(defs) > 1 and any(kind in STRONG for kind, _ in defs):
            yield name, defs


def demangle(name):
    try:
        return subprocess.run(["c++filt", name], check=True, capture_output=True,
                              text=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return name


def current_objects(build):
    """Returns the object files the build makes now, as resolved paths; a
    stale object of a source file since removed is left out."""
    with open(build / "compile_commands.json", encoding="utf-8") as f:
        commands = json.load(f)
    objects = set()
    for c in commands:
        words = c.get("command", "").split()
        if "-o" in words[:-1]:
            output = words[words.index("-o") + 1]
            objects.add((pathlib.Path(c["directory"]) / output).resolve())
    return objects


def programs(build):
    """Yields (name, objects) for every executable target's object files."""
    current = current_objects(build)
    for target in sorted(build.rglob("CMakeFiles/*.dir")):
        objects = sorted(o for o in target.rglob("*.o") if o.resolve() in current)
        if objects and not (target.parent.parent / f"lib{target.stem}.a").exists():
            yield target.stem, objects


def main(args):
    if len(args) != 1:
        print("usage: duplicatesymbols.py <build directory>", file=sys.stderr)
        return 2
    build = pathlib.Path(args[0])
    libraries = sorted((build / "src").rglob("lib*.a"))
    if not libraries:
        print(f"no engine libraries under {build}/src", file=sys.stderr)
        return 1
    engine = definitions(libraries)
    found = {}
    for name, defs in clashes(engine):
        found[name] = defs
    count = 0
    for program, objects in programs(build):
        count += 1
        for name, defs in clashes(engine, definitions(objects)):
            found.setdefault(name, defs)
    for name, defs in sorted(found.items()):
        print(f"defined {len(defs)} times: {demangle(name)}")
        for kind, place in defs:
            print(f"    {kind} {place}")
    print(f"{len(libraries)} libraries and {count} programs: "
          f"{len(found)} symbols defined twice")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
