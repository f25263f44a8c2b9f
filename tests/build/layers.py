#!/usr/bin/env python3
"""The sources and build files of src/ keep to the layer table.

Reads the one table of libraries and layers, src/layers.txt, and fails on
  - an #include of a file whose library sits in a higher layer, or in the
    same layer where the table does not allow it;
  - a DEPS entry (engine_library) or target_link_libraries entry of the same
    kind;
  - an #include of a system library's header (SDL.h, GL/..., X11/..., AL/...)
    in a library the table does not let use that system library, and a link
    entry naming such a system library, or one the table does not know;
  - a library src/ defines that the table does not name, or libraries added
    in an order other than the table's;
  - a row of ARCHITECTURE.md's layer table that names other libraries than
    the table at that layer.

With --plant FILE:LINE the line is added to the file (under src/) before the
check, and the check passes only when that line is reported; so the test of
the test keeps proving that a planted upward include or link is caught.

usage: layers.py <source directory> [--plant FILE:LINE ...]
"""
import fnmatch
import pathlib
import re
import sys

SOURCE_SUFFIXES = {".h", ".cc", ".cpp", ".hpp"}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')
# "name(" of the CMake calls that define or link libraries
CMAKE_CALL = re.compile(r"\b(engine_library|add_library|target_link_libraries|include)\s*\(([^)]*)\)", re.S)
LINK_KEYWORDS = {"PUBLIC", "PRIVATE", "INTERFACE", "STATIC", "SHARED", "OBJECT", "SOURCES", "DEPS"}


class Table:
    """The libraries, their layers and files, from layers.txt."""

    def __init__(self, path):
        self.layer = {}        # library -> layer
        self.index = {}        # library -> position in the table
        self.patterns = []     # (pattern, library), files of shared directories
        self.peers = set()     # layers whose libraries may use earlier ones
        self.alias = {}        # CMake library -> owning library
        self.headers = []      # (pattern, system library), include paths
        self.links = {}        # link entry -> system library
        self.uses = {}         # library -> system libraries it may include and link
        self.includes = {}     # library -> system libraries it may only include
        for number, raw in enumerate(path.read_text().splitlines(), 1):
            words = raw.split("#", 1)[0].split()
            if not words:
                continue
            if words[0] == "peers" and len(words) == 2:
                self.peers.add(int(words[1]))
            elif words[0] == "alias" and len(words) == 3:
                self.alias[words[1]] = words[2]
            elif words[0] == "system" and len(words) >= 2:
                system, rest = words[1], words[2:]
                split = rest.index("links") if "links" in rest else len(rest)
                self.headers.extend((pattern, system) for pattern in rest[:split])
                self.links.update((entry, system) for entry in rest[split + 1:])
            elif words[0] in ("uses", "includes") and len(words) >= 3:
                rights = self.uses if words[0] == "uses" else self.includes
                rights.setdefault(words[1], set()).update(words[2:])
            elif words[0].isdigit() and len(words) >= 2:
                self.layer[words[1]] = int(words[0])
                self.index[words[1]] = len(self.index)
                self.patterns.extend((pattern, words[1]) for pattern in words[2:])
            else:
                raise SystemExit(f"{path}:{number}: cannot read '{raw}'")
        for name, owner in self.alias.items():
            if owner not in self.layer:
                raise SystemExit(f"{path}: alias {name} of unknown library {owner}")
        systems = {system for _, system in self.headers} | set(self.links.values())
        for library, used in [*self.uses.items(), *self.includes.items()]:
            if library not in self.layer or not used <= systems:
                raise SystemExit(f"{path}: {library} {' '.join(sorted(used))}: "
                                 f"an unknown library or system library")

    def system_header(self, include):
        """The system library whose header an include path names, or None."""
        return next((system for pattern, system in self.headers if fnmatch.fnmatchcase(include, pattern)), None)

    def may_link(self, library, system):
        """Whether a library may link (and include) that system library."""
        return system in self.uses.get(self.alias.get(library, library), set())

    def may_include(self, library, system):
        """Whether a library may include that system library's headers."""
        return (self.may_link(library, system)
                or system in self.includes.get(self.alias.get(library, library), set()))

    def library(self, name):
        """The table's library of a CMake library name, or None."""
        name = self.alias.get(name, name)
        return name if name in self.layer else None

    def owner(self, relpath):
        """The library owning a file under src/ (path relative to src/)."""
        for pattern, library in self.patterns:
            if fnmatch.fnmatchcase(relpath, pattern):
                return library
        return self.library(relpath.split("/", 1)[0])

    def allows(self, user, used):
        """Whether library user may include or link library used."""
        if user == used or self.layer[used] < self.layer[user]:
            return True
        return (self.layer[used] == self.layer[user] and self.layer[user] in self.peers
                and self.index[used] < self.index[user])

    def why_not(self, user, used):
        if self.layer[used] > self.layer[user]:
            return f"{user} (layer {self.layer[user]}) uses {used} of layer {self.layer[used]} above it"
        if self.layer[user] not in self.peers:
            return f"{user} uses {used} of its own layer {self.layer[user]}, which does not allow it"
        return f"{user} uses {used}, listed after it in its layer {self.layer[user]}"


class Sources:
    """The text of src/'s files, with planted lines added."""

    def __init__(self, src, plants):
        self.src = src
        self.plants = {}   # relpath -> [line]
        for plant in plants:
            relpath, _, line = plant.partition(":")
            if not line or not (src / relpath).is_file():
                raise SystemExit(f"--plant {plant}: expected FILE:LINE with FILE under {src}")
            self.plants.setdefault(relpath, []).append(line)

    def text(self, relpath):
        return "\n".join([(self.src / relpath).read_text(errors="replace"), *self.plants.get(relpath, [])])

    def files(self):
        return sorted(p.relative_to(self.src).as_posix() for p in self.src.rglob("*") if p.is_file())


def check_includes(table, sources, report):
    areas = {p.name for p in sources.src.iterdir() if p.is_dir()}
    for relpath in sources.files():
        if pathlib.PurePosixPath(relpath).suffix not in SOURCE_SUFFIXES:
            continue
        user = table.owner(relpath)
        if user is None:
            report(relpath, None, f"{relpath} belongs to no library of the table")
            continue
        for number, line in enumerate(sources.text(relpath).splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            system = table.system_header(match.group(1))
            if system is not None and not table.may_include(user, system):
                report(relpath, line, f"{relpath}:{number}: includes {match.group(1)} of the system library "
                                      f"{system}, which layers.txt does not let {user} use")
            if match.group(1).split("/", 1)[0] not in areas:
                continue
            used = table.owner(match.group(1))
            if used is None:
                report(relpath, line, f"{relpath}:{number}: includes {match.group(1)} of no library of the table")
            elif not table.allows(user, used):
                report(relpath, line, f"{relpath}:{number}: includes {match.group(1)}: {table.why_not(user, used)}")


def cmake_calls(sources, relpath, seen):
    """Yields (relpath, call, arguments, text) in the order CMake runs them,
    following add_subdirectory and include into src/'s own files."""
    if relpath in seen or not (sources.src / relpath).is_file():
        return
    seen.add(relpath)
    text = re.sub(r"#[^\n]*", "", sources.text(relpath))
    here = pathlib.PurePosixPath(relpath).parent
    calls = list(CMAKE_CALL.finditer(text))
    calls += [m for m in re.finditer(r"\b(add_subdirectory)\s*\(([^)]*)\)", text)]
    for match in sorted(calls, key=lambda m: m.start()):
        call, args = match.group(1), match.group(2).split()
        if call == "add_subdirectory":
            yield from cmake_calls(sources, (here / args[0] / "CMakeLists.txt").as_posix(), seen)
        elif call == "include":
            target = args[0].replace("${CMAKE_CURRENT_SOURCE_DIR}", here.as_posix()) \
                            .replace("${CMAKE_CURRENT_LIST_DIR}", here.as_posix())
            yield from cmake_calls(sources, pathlib.PurePosixPath(target).as_posix().lstrip("./") or target, seen)
        else:
            yield relpath, call, args, match.group(0)


def check_cmake(table, sources, report):
    last = None
    for relpath, call, args, text in cmake_calls(sources, "CMakeLists.txt", set()):
        line = next((l for l in sources.plants.get(relpath, []) if l.strip() == text.strip()), text)
        if call in ("engine_library", "add_library"):
            library = table.library(args[0])
            if library is None:
                report(relpath, line, f"{relpath}: library {args[0]} is not in the table")
                continue
            if last is not None and table.index[library] < table.index[last]:
                report(relpath, line, f"{relpath}: {library} is added after {last}, which the table puts above it")
            last = library
            used = args[args.index("DEPS") + 1:] if "DEPS" in args else []
        else:
            library = table.library(args[0])
            used = args[1:]
        if library is None:
            continue
        for name in used:
            if name in LINK_KEYWORDS:
                continue
            dep = table.library(name)
            if dep is not None and not table.allows(library, dep):
                report(relpath, line, f"{relpath}: {library} links {name}: {table.why_not(library, dep)}")
            elif dep is None and name not in table.links:
                report(relpath, line, f"{relpath}: {library} links {name}, which layers.txt names "
                                      f"as none of its libraries or system libraries")
            elif dep is None and not table.may_link(library, table.links[name]):
                report(relpath, line, f"{relpath}: {library} links {name} of the system library "
                                      f"{table.links[name]}, which layers.txt does not let {library} use")


def check_architecture(table, architecture, report):
    """Each row '| <layer> <name> | `lib` ... |' names the table's libraries of that layer."""
    named = {}
    for line in architecture.read_text().splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) < 3 or not re.match(r"^\d+\b", cells[0]):
            continue
        layer = int(re.match(r"^\d+", cells[0]).group(0))
        for name in re.findall(r"`([a-z0-9]+)/?`", cells[1]):
            named.setdefault(name, set()).add(layer)
    for library, layer in table.layer.items():
        if named.get(library) != {layer}:
            report("ARCHITECTURE.md", None,
                   f"ARCHITECTURE.md: the layer table names {library} at {sorted(named.get(library, []))}, "
                   f"layers.txt at [{layer}]")
    for name, owner in table.alias.items():
        if named.get(name, {table.layer[owner]}) != {table.layer[owner]}:
            report("ARCHITECTURE.md", None, f"ARCHITECTURE.md: the layer table names {name} apart from {owner}")
    for name in named.keys() - table.layer.keys() - table.alias.keys():
        report("ARCHITECTURE.md", None, f"ARCHITECTURE.md: the layer table names {name}, which layers.txt does not")


def parse_arguments(argv, usage):
    """The source tree's root and the --plant lines of a check's command line."""
    args = argv[1:]
    if not args:
        raise SystemExit(usage)
    plants = [args[i + 1] for i, a in enumerate(args) if a == "--plant" and i + 1 < len(args)]
    return pathlib.Path(args[0]), plants


def main(argv):
    root, plants = parse_arguments(argv, __doc__)
    src = root / "src"
    table = Table(src / "layers.txt")
    sources = Sources(src, plants)
    found = []

    def report(relpath, line, message):
        found.append((relpath, line, message))

    check_includes(table, sources, report)
    check_cmake(table, sources, report)
    check_architecture(table, root / "ARCHITECTURE.md", report)
    for _, _, message in found:
        print(message)
    if plants:
        caught = {(relpath, line) for relpath, line, _ in found}
        missed = [(r, l) for r, lines in sources.plants.items() for l in lines if (r, l) not in caught]
        for relpath, line in missed:
            print(f"the planted line '{line}' in {relpath} was not caught")
        return 1 if missed else 0
    print(f"{len(found)} layer violations" if found else "the sources keep to the layer table")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
