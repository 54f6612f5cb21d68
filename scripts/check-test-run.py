#!/usr/bin/env python3
"""Reads what one ctest run left in its JUnit file (ctest --output-junit) and fails when a test did
not really run, or when a family of tests is missing.

A test's family is the part of its name before the first dot: core.*, cli.*, gui.*, print.*,
host.*, package.*, fuzz.* (tests/CMakeLists.txt names every test so). A test did not really run
when ctest says it failed, was skipped, disabled or not run, or when its output shows a skip
(GoogleTest "[  SKIPPED ]", Qt Test "SKIP   :") or that it ran nothing (a GoogleTest filter that
matches no test, a Qt Test program with no passed function).

Usage: check-test-run.py JUNIT_FILE REQUIREMENT...
A REQUIREMENT is "NAME=REGEX": at least one test whose name matches REGEX (re.search) must have
run and passed. The count of each family and of each requirement is printed.
"""
import re
import sys
import xml.etree.ElementTree as ET

SKIP_MARKS = [
    (re.compile(r"^\[  SKIPPED \]", re.M), "skipped"),
    (re.compile(r"^SKIP   :", re.M), "skipped"),
    (re.compile(r"^\[==========\] 0 tests? from", re.M), "ran no test"),
    (re.compile(r"^Totals: 0 passed", re.M), "ran no test"),
]


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 64
    root = ET.parse(sys.argv[1]).getroot()
    cases = root.iter("testcase")
    passed, problems, families = [], [], {}
    for case in cases:
        name = case.get("name", "")
        families.setdefault(name.split(".")[0], [0, 0])
        output = "".join(node.text or "" for node in case.iter("system-out"))
        status = case.get("status", "run")
        reason = None
        if case.find("failure") is not None or status == "fail":
            reason = "failed"
        elif case.find("skipped") is not None or status not in ("run", "passed"):
            skipped = case.find("skipped")
            reason = "not run (%s)" % (skipped.get("message") if skipped is not None else status)
            # GoogleTest prints the reason of a skip on the line after "...: Skipped".
            said = re.search(r"Skipped\n(.+)", output)
            if said:
                reason += ": " + said.group(1).strip()
        else:
            for mark, what in SKIP_MARKS:
                found = mark.search(output)
                if found:
                    line = output[found.start():].splitlines()[0]
                    reason = "%s: %s" % (what, line.strip())
                    break
        families[name.split(".")[0]][0 if reason is None else 1] += 1
        if reason is None:
            passed.append(name)
        else:
            problems.append("%s: %s" % (name, reason))

    print("tests per family (passed / did not pass):")
    for family in sorted(families):
        print("  %-10s %4d / %d" % (family, families[family][0], families[family][1]))
    missing = []
    for requirement in sys.argv[2:]:
        label, _, pattern = requirement.partition("=")
        count = sum(1 for name in passed if re.search(pattern, name))
        print("  %-22s %4d passed" % (label, count))
        if count == 0:
            missing.append("%s: no test matching %s ran and passed" % (label, pattern))
    for line in problems + missing:
        print("NOT RUN OR FAILED: " + line, file=sys.stderr)
    return 1 if problems or missing else 0


if __name__ == "__main__":
    sys.exit(main())
