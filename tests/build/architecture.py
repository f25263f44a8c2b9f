#!/usr/bin/env python3
"""ARCHITECTURE.md says what the code is; this holds it to what can be read
from the sources and build files. It fails on

  - an area of src/ whose libraries (add_library, engine_library in its
    CMake files) are not those of the areas table, or are header-only where
    the table says static or the other way round; an area or a library the
    layer table leaves out; a library the documents name that CMake does
    not define;
  - a class, function or file a row of the layer table names that lives
    outside that row's libraries (the owners of src/layers.txt);
  - a class, member, function, macro, file or quoted path named anywhere in
    the file that the sources, tests and data do not have;
  - a test program run on a GL driver that does not link
    tests/glerrorlistener.cc, a benchmark that does, or programs listing it
    themselves other than the ones the file names;
  - a class package that adds a class before its superclass's package, and
    a package whose listed modules differ from the file's list;
  - a directory of tests/ or bench/ that is neither an area of src/ nor
    named in the file.

With --plant LINE the line is added to the end of the file, one at a time,
and the check passes only when each such line is reported; so the test of
the test keeps proving that a false claim is caught.

usage: architecture.py <source directory> [--plant LINE ...]
"""
import pathlib
import re
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import layers  # noqa: E402  (the layer table's reader)

TEXT_SUFFIXES = {".h", ".cc", ".cpp", ".hpp", ".txt", ".cmake", ".py", ".sh", ".tcl", ".xml", ".fx",
                 ".n2", ".md", ".supp", ".in"}
SOURCE_SUFFIXES = {".h", ".cc", ".cpp", ".hpp"}
BACKTICK = re.compile(r"`([^`]+)`")
CLASS_NAME = re.compile(r"^n[A-Z0-9]\w*$")
MEMBER = re.compile(r"^(n[A-Z0-9]\w*)::(\w+)(\(\))?$")
PATH_SUFFIX = re.compile(r"\.(h|cc|cmake|txt|xml|fx|n2|py|sh|tcl|md|\*)$")
TEST_PROGRAM_CALLS = ("engine_test", "engine_gl_test", "engine_test_program", "engine_program_test")
GL_DRIVER = re.compile(r"SDL_VIDEODRIVER=(offscreen|x11)\b")


class Tree:
    """The text files of the source tree, read once."""

    def __init__(self, root):
        self.root = root
        self.files = {}    # relpath from root -> text
        for top in ("src", "tests", "bench", "fuzz", "cmake", "data", "scripts"):
            for path in sorted((root / top).rglob("*")):
                relpath = path.relative_to(root).as_posix()
                if relpath.startswith("tests/build/"):
                    continue   # the checks' own files name what they plant
                if path.is_file() and (path.suffix in TEXT_SUFFIXES or path.name == "CMakeLists.txt"):
                    self.files[relpath] = path.read_text(errors="replace")
        self.files["CMakeLists.txt"] = (root / "CMakeLists.txt").read_text()
        # the checks' own test names
        self.test_names = set(re.findall(r"add_test\(\s*NAME\s+([\w.-]+)",
                                         (root / "tests" / "build" / "CMakeLists.txt").read_text()))

    def under(self, prefix, suffixes=None):
        for relpath, text in self.files.items():
            if relpath.startswith(prefix) and (suffixes is None or pathlib.PurePosixPath(relpath).suffix in suffixes):
                yield relpath, text

    def declarations(self, name):
        if not hasattr(self, "index"):
            self.index = declaration_index(self)
        return sorted(self.index.get(name, ()))

    def has_word(self, word):
        if word in self.test_names:
            return True
        if re.fullmatch(r"\w+", word):
            if not hasattr(self, "words"):
                self.words = {w for text in self.files.values() for w in re.findall(r"\w+", text)}
            return word in self.words
        pattern = re.compile(r"(?<![\w.])" + re.escape(word) + r"(?![\w])")
        return any(pattern.search(text) for text in self.files.values())


def without_comments(text):
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


DEFINITION = re.compile(
    r"^\s*(?:template\s*<[^>]*>\s*)?(?:class|struct)\s+(\w+)\b(?!\s*;)"     # a class, not its forward declaration
    r"|^\s*(?:using|typedef|enum(?:\s+class)?)\s+(?:[^;=]*\s)?(\w+)\s*[;={:]"  # an alias or an enumeration
    r"|^[^\n;{}()#]*?\b(\w+)\s*\(", re.M)                                      # a function (headers only)


def declaration_index(tree):
    """name -> the files under src/ and tests/ that define the class or
    declare the function of that name."""
    index = {}
    for relpath, text in list(tree.under("src/", SOURCE_SUFFIXES)) + list(tree.under("tests/", SOURCE_SUFFIXES)):
        for match in DEFINITION.finditer(without_comments(text)):
            name = match.group(1) or match.group(2) or (match.group(3) if relpath.endswith(".h") else None)
            if name:
                index.setdefault(name, set()).add(relpath)
    return index


def cmake_libraries(tree):
    """area -> {library: kind} of every library src/'s CMake files define,
    kind "header-only" for INTERFACE libraries, else "static"."""
    areas = {}
    call = re.compile(r"\b(engine_library|add_library)\s*\(\s*([\w-]+)([^)]*)\)", re.S)
    for relpath, text in tree.under("src/"):
        if not (relpath.endswith("CMakeLists.txt") or relpath.endswith(".cmake")):
            continue
        parts = relpath.split("/")
        if len(parts) < 3:
            continue
        for match in call.finditer(re.sub(r"#[^\n]*", "", text)):
            kind = "header-only" if "INTERFACE" in match.group(3).split() else "static"
            areas.setdefault(parts[1], {})[match.group(2)] = kind
    return areas


def cmake_targets(tree):
    """Every target the CMake files of the tree add."""
    call = re.compile(r"\b(engine_library|add_library|add_executable|engine_test_support|engine_test|"
                      r"engine_gl_test|engine_test_program|engine_bench|engine_fuzz)\s*\(\s*([\w-]+)")
    return {m.group(2) for relpath, text in tree.files.items()
            if relpath.endswith("CMakeLists.txt") or relpath.endswith(".cmake")
            for m in call.finditer(re.sub(r"#[^\n]*", "", text))}


def markdown_rows(text, first_cell):
    """The cells of the table rows whose first cell matches first_cell."""
    for line in text.splitlines():
        if not line.startswith("|"):
            continue
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if cells and re.match(first_cell, cells[0]):
            yield cells


def check_areas(doc, tree, table, report):
    defined = cmake_libraries(tree)
    src_areas = sorted(p.name for p in (tree.root / "src").iterdir() if p.is_dir())
    stated = {}
    for cells in markdown_rows(doc, r"^`\w+/`"):
        libraries = BACKTICK.findall(cells[1])
        kind = "header-only" if "header-only" in cells[2] else "static"
        for area in re.findall(r"`(\w+)/`", cells[0]):
            names = [l for l in libraries if not l.endswith(".cmake") and "/" not in l] or [area]
            stated[area] = {name: kind for name in names}
    for area in src_areas:
        want = stated.get(area, {area: "static"})
        have = defined.get(area, {})
        if have != want:
            report(f"src/{area}/ defines the libraries {sorted(have.items())}; "
                   f"ARCHITECTURE.md's areas table says {sorted(want.items())}")
        for library in have:
            if table.library(library) is None:
                report(f"src/{area}/: the layer table does not name the library {library}")
    for area in stated.keys() - set(src_areas):
        report(f"ARCHITECTURE.md's areas table names {area}/, which src/ does not have")


def check_layer_rows(doc, tree, table, report):
    """What each row of the layer table names lives in that row's libraries."""
    defined = {lib for libs in cmake_libraries(tree).values() for lib in libs}
    for cells in markdown_rows(doc, r"^\d+\b"):
        if len(cells) < 3:
            continue
        row = set(BACKTICK.findall(cells[1]))
        for library in row:
            if library not in defined:
                report(f"ARCHITECTURE.md: the layer table names the library {library}, which CMake does not define")
        owners = {table.library(l) for l in row} - {None}
        for name in BACKTICK.findall(cells[2]):
            if CLASS_NAME.match(name):
                files = [f for f in tree.declarations(name) if f.startswith("src/")]
            elif re.match(r"^n\w+\.(h|cc)$", name):
                files = [f for f in tree.files if f.startswith("src/") and f.endswith("/" + name)]
            else:
                continue
            places = {table.owner(f[len("src/"):]) for f in files}
            if not places:
                report(f"ARCHITECTURE.md: the layer row of {sorted(row)} names {name}, which src/ does not have")
            elif not places & owners:
                report(f"ARCHITECTURE.md: the layer row of {sorted(row)} names {name}, "
                       f"which lives in {sorted(p or '?' for p in places)}")


def resolve_path(tree, token):
    """Whether a path named in the file exists: from the top, under src/ or
    data/, or (a bare file name) anywhere under src/."""
    pattern = re.sub(r"<[^>]+>", "*", token).rstrip("/")
    roots = [tree.root, tree.root / "src", tree.root / "data"]
    if any(list(root.glob(pattern)) for root in roots):
        return True
    return "/" not in pattern and any((tree.root / "src").rglob(pattern))


def check_names(doc, tree, report):
    """Every name in backticks, and every quoted path, exists."""
    seen = set()
    for token in BACKTICK.findall(doc):
        if token in seen:
            continue
        seen.add(token)
        bare = token[:-2] if token.endswith("()") else token
        member = MEMBER.match(token)
        if member:
            headers = [f for f in tree.declarations(member.group(1)) if f.endswith(".h")]
            word = re.compile(r"\b" + re.escape(member.group(2)) + r"\b")
            if not any(word.search(without_comments(tree.files[h])) for h in headers) \
                    and not tree.has_word(token.rstrip("()")):
                report(f"ARCHITECTURE.md names {token}, which no header of {member.group(1)} declares")
        elif CLASS_NAME.match(bare):
            if not tree.declarations(bare):
                report(f"ARCHITECTURE.md names {bare}, which no source declares")
        elif re.search(r"\s", token):
            continue
        elif re.match(r"^\w+:", token):
            if not any(token in t for t in tree.files.values()):
                report(f"ARCHITECTURE.md names {token}, which no source, test or data file has")
        elif "/" in token or PATH_SUFFIX.search(token):
            if not resolve_path(tree, token):
                report(f"ARCHITECTURE.md names the file {token}, which does not exist")
        elif re.match(r"^[A-Za-z_][\w.-]*$", bare) and not bare.endswith("*"):
            if not tree.has_word(bare):
                report(f"ARCHITECTURE.md names {bare}, which no source, test or data file has")
    for quoted in re.findall(r'"([^"\s]+)"', doc):
        if (":" in quoted or quoted.startswith("/")) and not any(quoted in t for t in tree.files.values()):
            report(f'ARCHITECTURE.md quotes "{quoted}", which no source, test or data file has')
    for library in re.findall(r"librar(?:y|ies) `([\w-]+)`", doc):
        if library not in cmake_targets(tree):
            report(f"ARCHITECTURE.md names the library {library}, which CMake does not define")


def cmake_call_args(text, names):
    """(call, [arguments]) of each call of one of names, parentheses balanced."""
    text = re.sub(r"#[^\n]*", "", text)
    for match in re.finditer(r"\b(" + "|".join(names) + r")\s*\(", text):
        depth, i = 1, match.end()
        while depth and i < len(text):
            depth += {"(": 1, ")": -1}.get(text[i], 0)
            i += 1
        yield match.group(1), text[match.end():i - 1].split()


def keyword_args(args, keyword, keywords):
    if keyword not in args:
        return []
    rest = args[args.index(keyword) + 1:]
    end = next((i for i, a in enumerate(rest) if a in keywords), len(rest))
    return rest[:end]


def check_gl_listener(doc, tree, report):
    keywords = {"SOURCES", "DEPS", "LABELS", "ENV", "TIMEOUT", "LAUNCHER", "TEST", "COMMAND",
                "LSAN_SUPPRESSIONS", "DEFINES"}
    engine_cmake = tree.files.get("cmake/engine.cmake", "")
    gl_function = re.search(r"function\(engine_gl_test\b.*?endfunction", engine_cmake, re.S)
    if not gl_function or "glerrorlistener.cc" not in gl_function.group(0):
        report("cmake/engine.cmake: engine_gl_test no longer adds tests/glerrorlistener.cc")
    programs = {}   # test program -> links the listener
    entries = []    # (program, environment and launcher words)
    for relpath, text in tree.under("tests/"):
        if not relpath.endswith("CMakeLists.txt"):
            continue
        for call, args in cmake_call_args(text, TEST_PROGRAM_CALLS):
            if not args:
                continue
            env = keyword_args(args, "ENV", keywords) + keyword_args(args, "LAUNCHER", keywords)
            if call == "engine_program_test":
                command = keyword_args(args, "COMMAND", keywords)
                entries.append((command[0] if command else "", env + command))
                continue
            listed = any(s.endswith("glerrorlistener.cc") for s in keyword_args(args, "SOURCES", keywords))
            programs[args[0]] = call == "engine_gl_test" or listed
            if call in ("engine_test", "engine_gl_test"):
                entries.append((args[0], env))
    for program, words in entries:
        on_gl = any(GL_DRIVER.search(w) for w in words) or any(w.endswith("xvfb.sh") for w in words)
        if on_gl and not programs.get(program, False):
            report(f"tests/: {program} runs on a GL driver but does not link tests/glerrorlistener.cc")
    listing = set()
    for relpath, text in tree.under("tests/"):
        if relpath.endswith("CMakeLists.txt"):
            for call, args in cmake_call_args(text, TEST_PROGRAM_CALLS):
                if call != "engine_gl_test" and any(a.endswith("glerrorlistener.cc") for a in args):
                    listing.add(args[0])
    paragraph = next((p for p in doc.split("\n\n") if "`tests/glerrorlistener.cc`" in p), "")
    named = {t for t in BACKTICK.findall(paragraph) if t in programs}
    if listing != named:
        report(f"ARCHITECTURE.md names {sorted(named)} as listing tests/glerrorlistener.cc themselves; "
               f"the CMake files: {sorted(listing)}")
    for relpath, text in tree.under("bench/"):
        if "glerrorlistener" in text:
            report(f"{relpath}: a benchmark links tests/glerrorlistener.cc, which ARCHITECTURE.md says none does")


def check_packages(doc, tree, report):
    """Each package's classes come after their superclasses' packages."""
    implement = re.compile(r'N_IMPLEMENT_(?:SINGLETON_)?MODULE\(\s*(\w+)\s*,\s*\w+\s*,\s*"(\w+)"')
    package = re.compile(r"^void\s+(\w+_package)\s*\(\s*\)\s*\{(.*?)^\}", re.S | re.M)
    add = re.compile(r"N_ADD_MODULE\([^,]+,\s*(\w+)\s*\)")
    superclass, packages = {}, {}
    for _, text in tree.under("src/", SOURCE_SUFFIXES):
        code = without_comments(text)
        superclass.update(implement.findall(code))
        for name, body in package.findall(code):
            packages[name] = add.findall(body)
    lists = re.search(r"#define\s+N_BOXING_PACKAGES((?:[^\n]*\\\n)*[^\n]*)",
                      tree.files.get("src/launcher/nboxingpackages.h", ""))
    if not lists:
        report("src/launcher/nboxingpackages.h: no N_BOXING_PACKAGES")
        return
    order = ["nkernel_package"] + re.findall(r"\b(\w+_package)\b", re.sub(r"/\*.*?\*/", "", lists.group(1)))
    registered = set()
    for name in order:
        if name not in packages:
            report(f"N_BOXING_PACKAGES names {name}, which no source defines")
            continue
        for module in packages[name]:
            parent = superclass.get(module)
            if parent is not None and parent not in registered:
                report(f"{name} adds {module} before its superclass {parent}")
            registered.add(module)
    for name, modules in re.findall(r"`(\w+_package)` \(([\w,\s]+)\)", doc):
        stated = [m.strip() for m in modules.split(",")]
        if stated != packages.get(name):
            report(f"ARCHITECTURE.md lists {name} as {stated}; it adds {packages.get(name)}")


def check_test_dirs(doc, tree, report):
    areas = {p.name for p in (tree.root / "src").iterdir() if p.is_dir()}
    for top in ("tests", "bench"):
        for path in sorted((tree.root / top).iterdir()):
            if path.is_dir() and path.name not in areas and f"`{top}/{path.name}/`" not in doc:
                report(f"{top}/{path.name}/ is no area of src/, and ARCHITECTURE.md does not name it")


def check(doc, tree, table):
    found = []
    for checker in (check_areas, check_layer_rows):
        checker(doc, tree, table, found.append)
    for checker in (check_names, check_gl_listener, check_packages, check_test_dirs):
        checker(doc, tree, found.append)
    return found


def main(argv):
    root, plants = layers.parse_arguments(argv, __doc__)
    doc = (root / "ARCHITECTURE.md").read_text()
    tree = Tree(root)
    table = layers.Table(root / "src" / "layers.txt")
    found = check(doc, tree, table)
    if plants:
        # each planted line, added to the file on its own, must be reported
        missed = [plant for plant in plants
                  if not set(check(doc + "\n" + plant + "\n", tree, table)) - set(found)]
        for plant in missed:
            print(f"the planted line '{plant}' was not caught")
        return 1 if missed else 0
    for message in found:
        print(message)
    print(f"{len(found)} claims of ARCHITECTURE.md do not hold" if found else "ARCHITECTURE.md holds")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
