#!/usr/bin/env python3
"""Runs every test that ctest lists in a sanitizer build, each program once.

Usage: run-sanitized.py BUILD_FOLDER

The list is ctest's own (ctest --show-only=json-v1), so a test added to the
build is run here too. The cases that gtest_discover_tests lists one by one
are run together: their program once, in brief mode. Any other test runs
its own command, in its own folder and environment.

Rules, none of them a list of names:
- leaks are looked for in the build's own programs that are not linked to
  Qt; a program linked to Qt, and a script or system tool (whatever it
  starts is the program's windows), runs with leak detection off, since Qt's
  font and platform set-up keeps memory for the process's life by design;
- a program linked to Qt with no platform named runs offscreen;
- a test's own ASAN_OPTIONS and QT_QPA_PLATFORM win over these;
- a test ctest would not run (DISABLED) is not run, and said so;
- a test ctest lists with no command (its program was not built, or its
  cases could not be listed) is a failure, never a silent gap.
The exit status is 0 only when every test ran and passed.
"""
import json
import os
import subprocess
import sys
import time


def properties(test):
    return {p["name"]: p["value"] for p in test.get("properties", [])}


def environment_of(props):
    values = props.get("ENVIRONMENT", [])
    if isinstance(values, str):
        values = [values]
    pairs = {}
    for item in values:
        name, _, value = item.partition("=")
        pairs[name] = value
    return pairs


_qt_linked = {}


def linked_to_qt(program):
    if program not in _qt_linked:
        try:
            dynamic = subprocess.run(["readelf", "-d", program], capture_output=True, text=True).stdout
        except OSError:
            dynamic = ""
        _qt_linked[program] = "libQt6" in dynamic
    return _qt_linked[program]


def gtest_case(command):
    return any(argument.startswith("--gtest_filter=") for argument in command[1:])


def main():
    if len(sys.argv) != 2:
        print(__doc__.splitlines()[2], file=sys.stderr)
        return 2
    build = os.path.abspath(sys.argv[1])
    listing = subprocess.run(["ctest", "--show-only=json-v1"], cwd=build, capture_output=True, text=True)
    if listing.returncode != 0:
        print(listing.stderr, file=sys.stderr)
        return 1
    tests = json.loads(listing.stdout)["tests"]
    programs = os.path.join(build, "bin")

    runs = []  # (label, command, folder, environment, ctest test names)
    grouped = {}
    failures, skipped = [], []
    for test in tests:
        name, command, props = test["name"], test.get("command"), properties(test)
        if props.get("DISABLED"):
            skipped.append(f"{name} : désactivé dans ctest")
            continue
        if not command:
            failures.append(f"{name} : pas de commande (programme non construit ou cas non listés)")
            continue
        folder = props.get("WORKING_DIRECTORY", build)
        environment = environment_of(props)
        if gtest_case(command):
            key = (command[0], folder)
            if key not in grouped:
                grouped[key] = len(runs)
                runs.append([os.path.basename(command[0]), [command[0], "--gtest_brief=1"], folder, {}, []])
            run = runs[grouped[key]]
            run[3].update(environment)
            run[4].append(name)
        else:
            runs.append([name, command, folder, environment, [name]])

    covered = 0
    for label, command, folder, own, names in runs:
        environment = dict(os.environ)
        program = command[0]
        ours = os.path.dirname(os.path.abspath(program)) == programs
        qt = ours and linked_to_qt(program)
        leaks = ours and not qt
        environment["ASAN_OPTIONS"] = "detect_leaks=" + ("1" if leaks else "0")
        environment.setdefault("UBSAN_OPTIONS", "print_stacktrace=1")
        if qt:
            environment["QT_QPA_PLATFORM"] = "offscreen"
        environment.update(own)
        what = f"{len(names)} cas" if len(names) > 1 or names[0] != label else "1 test"
        print(f"== {label} ({what}, sanitizers, fuites {'cherchées' if leaks else 'ignorées'})", flush=True)
        started = time.monotonic()
        status = subprocess.run(command, cwd=folder, env=environment).returncode
        if status != 0:
            failures.append(f"{label} : code de sortie {status}")
        else:
            covered += len(names)
        print(f"   {label} : {'réussi' if status == 0 else 'ÉCHEC'} en {time.monotonic() - started:.0f} s", flush=True)

    print(f"\n{len(tests)} tests listés par ctest, {len(runs)} programmes ou commandes lancés, "
          f"{covered} tests réussis sous les sanitizers.")
    for line in skipped:
        print("non lancé :", line)
    for line in failures:
        print("ÉCHEC :", line)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
