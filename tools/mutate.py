#!/usr/bin/env python3
"""Plants small faults in src/core one at a time and reports the share the tests catch.

Each mutant changes one operator or constant of one .cpp file of src/core: a comparison flipped
or moved across its boundary (< <=, > >=, == !=), arithmetic swapped (+ -, * /, += -=), a logical
operator swapped (&& ||) or a ! dropped, an integer constant moved by one. Comments, strings,
character literals and preprocessor lines are never touched. The sites are sampled
deterministically from SEED, so that two runs with the same seed on the same sources plant the
same faults.

For each mutant the script rebuilds a dedicated build folder (Release, no Qt layers) and runs its
ctest suite (the core and cli tests), stopping at the first failure. The source file is restored
after each mutant, on an error and on Ctrl-C. A mutant that does not compile is not counted.

Usage: tools/mutate.py [--count N] [--seed S] [--build DIR] [--timeout SECONDS] [--exclude REGEX]
                       [--list]
"""

import argparse
import os
import random
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

TOP = Path(__file__).resolve().parent.parent

# Binary operators are recognised with a space on each side, as clang-format writes them; this keeps
# template brackets, pointers, references and unary minus out.
SWAPS = [
    ("comparison", re.compile(r"(?<= )(<=|>=|==|!=|<|>)(?= )"),
     {"<": ["<="], "<=": ["<"], ">": [">="], ">=": [">"], "==": ["!="], "!=": ["=="]}),
    ("arithmetic", re.compile(r"(?<= )(\+=|-=|\+|-|\*|/)(?= )"),
     {"+": ["-"], "-": ["+"], "*": ["/"], "/": ["*"], "+=": ["-="], "-=": ["+="]}),
    ("boolean", re.compile(r"(?<= )(&&|\|\|)(?= )"), {"&&": ["||"], "||": ["&&"]}),
    ("boolean", re.compile(r"(?<![\w)\]!=])(!)(?!=)"), {"!": [""]}),
]
INTEGER = re.compile(r"(?<![\w.'])(0|[1-9]\d*)([uUlL]*)(?![\w.'])")


def code_mask(text):
    """Returns a list of booleans: True where text is code, False in comments, string and character
    literals (raw strings included) and preprocessor lines."""
    mask = [True] * len(text)
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        start = i
        if line_start and c == "#":
            while i < n and text[i] != "\n":
                i += 2 if text[i] == "\\" else 1
        elif text.startswith("//", i):
            i = text.find("\n", i)
            i = n if i < 0 else i
        elif text.startswith("/*", i):
            i = text.find("*/", i + 2)
            i = n if i < 0 else i + 2
        elif c == "R" and text.startswith('R"', i) and not (i and (text[i - 1].isalnum() or text[i - 1] == "_")):
            delimiter = text[i + 2:text.index("(", i)]
            i = text.index(")" + delimiter + '"', i) + len(delimiter) + 2
        elif c in "\"'" and not (c == "'" and i and text[i - 1].isalnum()):
            i += 1
            while i < n and text[i] != c:
                i += 2 if text[i] == "\\" else 1
            i += 1
        else:
            line_start = c == "\n" or (line_start and c in " \t")
            i += 1
            continue
        for k in range(start, min(i, n)):
            mask[k] = False
    return mask


def find_sites(path):
    text = path.read_text(encoding="utf-8")
    mask = code_mask(text)
    sites = []

    def add(start, end, replacement, operator):
        if all(mask[start:end]):
            line = text.count("\n", 0, start) + 1
            sites.append((path, start, end, replacement, operator, line))

    for operator, pattern, table in SWAPS:
        for m in pattern.finditer(text):
            for replacement in table[m.group(1)]:
                add(m.start(1), m.end(1), replacement, operator)
    for m in INTEGER.finditer(text):
        value = int(m.group(1))
        for moved in ([value + 1, value - 1] if value > 0 else [value + 1]):
            add(m.start(1), m.end(1), str(moved), "constant")
    return text, sites


def run(command, timeout, **kwargs):
    """Runs command in its own process group; returns (exit status or None on timeout, output)."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               start_new_session=True, text=True, errors="replace", **kwargs)
    try:
        output, _ = process.communicate(timeout=timeout)
        return process.returncode, output
    except subprocess.TimeoutExpired:
        return None, ""
    finally:
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()


def build_and_test(build, timeout, exclude):
    status, output = run(["cmake", "--build", str(build), "-j2"], None)
    if status != 0:
        return "stillborn", output
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    status, output = run(["ctest", "--test-dir", str(build), "-j2", "--stop-on-failure",
                          "--timeout", str(int(timeout))] + (["-E", exclude] if exclude else []),
                         timeout, env=env)
    if status is None:
        return "timeout", output
    return ("survived" if status == 0 else "killed"), output


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--count", type=int, default=120, help="mutants to plant (default 120)")
    parser.add_argument("--seed", type=int, default=1, help="sampling seed (default 1)")
    parser.add_argument("--build", type=Path, default=TOP / "build/mutate", help="build folder")
    parser.add_argument("--timeout", type=float, help="seconds per mutant's tests "
                        "(default: five times the unmutated run, at least 120)")
    parser.add_argument("--exclude", metavar="REGEX", help="tests to leave out (ctest -E)")
    parser.add_argument("--list", action="store_true", help="print the sampled mutants and stop")
    args = parser.parse_args()

    files = subprocess.run(["git", "ls-files", "src/core/*.cpp"], cwd=TOP, check=True,
                           capture_output=True, text=True).stdout.split()
    sources, sites = {}, []
    for name in sorted(files):
        sources[name], found = find_sites(TOP / name)
        sites += found
    # The first COUNT sites of one shuffle: a shorter run plants the first mutants of a longer one
    # with the same seed, and a run stopped early is still a random sample.
    random.Random(args.seed).shuffle(sites)
    chosen = sites[:args.count]
    describe = lambda s: "%s:%d %s '%s' -> '%s'" % (
        s[0].relative_to(TOP), s[5], s[4], sources[str(s[0].relative_to(TOP))][s[1]:s[2]], s[3])
    if args.list:
        print("%d sites, %d sampled with seed %d" % (len(sites), len(chosen), args.seed))
        print("\n".join(describe(s) for s in chosen))
        return 0

    build = args.build
    subprocess.run(["cmake", "-S", str(TOP), "-B", str(build), "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DPARVANE_GUI=OFF", "-DPARVANE_BENCH=OFF",
                    "-DPARVANE_FUZZ_REPLAY=OFF"], check=True, stdout=subprocess.DEVNULL)
    started = time.monotonic()
    verdict, output = build_and_test(build, 3600, args.exclude)
    baseline = time.monotonic() - started
    if verdict != "survived":
        print(output[-4000:])
        print("The unmutated sources do not build or pass their tests; nothing to measure.")
        return 1
    timeout = args.timeout or max(120.0, 5 * baseline)
    print("%d sites in %d files; %d mutants with seed %d; %.0f s per mutant at most"
          % (len(sites), len(files), len(chosen), args.seed, timeout), flush=True)

    # SIGTERM restores the file the same way as Ctrl-C.
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    results = {"killed": [], "survived": [], "timeout": [], "stillborn": []}
    for index, site in enumerate(chosen, 1):
        path, start, end, replacement = site[:4]
        original = sources[str(path.relative_to(TOP))]
        try:
            path.write_text(original[:start] + replacement + original[end:], encoding="utf-8")
            verdict, _ = build_and_test(build, timeout, args.exclude)
        except KeyboardInterrupt:
            print("\ninterrupted after %d mutants; sources restored" % (index - 1))
            break
        finally:
            path.write_text(original, encoding="utf-8")
        results[verdict].append(describe(site))
        print("[%d/%d] %-9s %s" % (index, len(chosen), verdict, describe(site)), flush=True)
    run(["cmake", "--build", str(build), "-j2"], None)
    report(results)
    return 0


def report(results):
    compiled = len(results["killed"]) + len(results["survived"]) + len(results["timeout"])
    caught = len(results["killed"]) + len(results["timeout"])
    print("\nkilled %d, survived %d, timeouts %d, not compiled %d"
          % (len(results["killed"]), len(results["survived"]), len(results["timeout"]),
             len(results["stillborn"])))
    if compiled:
        print("caught: %d of %d compiled mutants = %.1f %% (timeouts count as caught)"
              % (caught, compiled, 100.0 * caught / compiled))
    if results["survived"]:
        print("surviving mutants:")
        print("\n".join("  " + line for line in results["survived"]))


if __name__ == "__main__":
    sys.exit(main())
