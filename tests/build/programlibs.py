#!/usr/bin/env python3
"""Built programs load none of the system libraries their layers do without.

Runs ldd on each program and fails on any shared library whose name starts
with one of the forbidden prefixes, naming the program and the library, so
that a link that drags the media stack under the kernel (SDL, and through
it sound and the window systems) or GL and fonts under input is seen at once.

usage: programlibs.py <program> ... --forbid <prefix> ...
"""
import subprocess
import sys


def loaded_libraries(program):
    """The shared libraries ldd lists for the program, by file name."""
    out = subprocess.run(["ldd", program], check=True, capture_output=True, text=True).stdout
    return [line.split()[0] for line in out.splitlines() if line.split()]


def main(argv):
    if "--forbid" not in argv:
        raise SystemExit(__doc__)
    split = argv.index("--forbid")
    programs, prefixes = argv[1:split], argv[split + 1:]
    if not programs or not prefixes:
        raise SystemExit(__doc__)
    found = [(program, library) for program in programs for library in loaded_libraries(program)
             if any(library.split("/")[-1].startswith(prefix) for prefix in prefixes)]
    for program, library in found:
        print(f"{program} loads {library}")
    if not found:
        print(f"{len(programs)} programs load none of {' '.join(prefixes)}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
