#!/usr/bin/env python3
"""Runs one benchmark program once, briefly, as a test.

A benchmark that stops, crashes or fails one of its own checks
(state.SkipWithError) fails the run; Google Benchmark itself would exit 0
after a SkipWithError, so its JSON report is read for errors.

usage: smoke.py <benchmark program> [extra benchmark flags]
"""
import json
import os
import subprocess
import sys
import tempfile


def main():
    if len(sys.argv) < 2:
        print("usage: smoke.py <benchmark program> [flags]", file=sys.stderr)
        return 2
    program = sys.argv[1]
    with tempfile.TemporaryDirectory() as tmp:
        report = os.path.join(tmp, "report.json")
        command = [program, "--benchmark_min_time=0.001",
                   "--benchmark_out=" + report, "--benchmark_out_format=json"]
        command += sys.argv[2:]
        result = subprocess.run(command)
        if result.returncode != 0:
            print(f"smoke: {program} exited with {result.returncode}", file=sys.stderr)
            return 1
        try:
            with open(report, encoding="utf-8") as f:
                data = json.load(f)
        except (OSError, ValueError) as error:
            print(f"smoke: no readable report from {program}: {error}", file=sys.stderr)
            return 1
    runs = data.get("benchmarks", [])
    failed = [r for r in runs if r.get("error_occurred")]
    for r in failed:
        print(f"smoke: {r.get('name')}: {r.get('error_message')}", file=sys.stderr)
    if not runs:
        print(f"smoke: {program} ran no benchmark", file=sys.stderr)
        return 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
