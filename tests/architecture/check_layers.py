#!/usr/bin/env python3
"""Checks that every folder of src/ uses only the folders and outside libraries its layer allows,
both in its #include lines and in the CMake targets it links.

    check_layers.py SOURCE_ROOT    checks that tree
    check_layers.py --self-test    shows on a made-up tree that an upward dependency fails
"""
import pathlib
import re
import sys
import tempfile

# Each folder, the folders it may use directly (and through them, theirs), and the outside
# libraries it may include. The core (text up to cistatus) stays on the C++ standard library so
# the controls run on any widget set and any settings store.
LAYERS = {
    "text": ([], []),
    "containers": (["text"], []),
    "ports": (["containers"], []),
    "object_file": (["ports", "text", "containers"], []),
    "diagnostics": (["ports", "text"], []),
    "widgets": (["ports", "containers", "text"], []),
    "headless": (["widgets", "object_file", "diagnostics"], []),
    "linux_platform": (["ports", "object_file", "diagnostics"], ["sqlite"]),
    "citree": (["ports", "object_file", "diagnostics"], []),
    "cistatus": (["ports", "object_file", "diagnostics"], []),
    "qt_widgets": (["widgets", "object_file", "diagnostics"], ["qt"]),
    "qt": (["qt_widgets", "citree", "cistatus", "linux_platform"], ["qt"]),
    "page_host": (["citree", "cistatus", "headless", "linux_platform"], []),
    "page_host_qt": (["page_host", "qt_widgets"], ["qt"]),
    "feeds": (["cistatus"], ["qt", "mosquitto", "protobuf"]),
    "designer": (["qt", "headless"], ["qt"]),
}

OUTSIDE = {
    "qt": re.compile(r"^(Q[A-Za-z]+|Qt[A-Za-z]*/.*)$"),
    "sqlite": re.compile(r"^sqlite3.*$"),
    "mosquitto": re.compile(r"^mosquitto.*$"),
    "protobuf": re.compile(r"^(google/protobuf/.*|sparkplug_b\.pb\.h)$"),
}
OUTSIDE_TARGETS = {
    "qt": re.compile(r"^Qt6::"),
    "sqlite": re.compile(r"^SQLite::"),
    "mosquitto": re.compile(r"^PkgConfig::Mosquitto$"),
    "protobuf": re.compile(r"^protobuf::"),
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
LINK = re.compile(r"target_link_libraries\(\s*(\S+)([^)]*)\)", re.S)
LIBRARY = re.compile(r"add_library\(\s*(\S+)")


def reachable(folder):
    seen, todo = set(), [folder]
    while todo:
        for used in LAYERS[todo.pop()][0]:
            if used not in seen:
                seen.add(used)
                todo.append(used)
    return seen


def outside_allowed(folder):
    return {kind for used in reachable(folder) | {folder} for kind in LAYERS[used][1]}


def folder_of_include(path, source, root):
    """The src folder an include names, or None for an outside or standard header."""
    resolved = (source.parent / path).resolve()
    if resolved.is_file() and root in resolved.parents:
        parts = resolved.relative_to(root).parts
        # The export header at the top serves every layer.
        return parts[0] if len(parts) > 1 else None
    first = pathlib.PurePosixPath(path).parts[0]
    return first if first in LAYERS and (root / path).is_file() else None


def check(root):
    root = pathlib.Path(root).resolve()
    problems = []
    target_folder = {}
    for folder in LAYERS:
        lists = root / folder / "CMakeLists.txt"
        if lists.is_file():
            for target in LIBRARY.findall(lists.read_text()):
                target_folder[target] = folder
    for folder_path in sorted(p for p in root.iterdir() if p.is_dir()):
        folder = folder_path.name
        if folder not in LAYERS:
            problems.append(f"{folder}: a folder the layer table does not know")
            continue
        allowed = reachable(folder) | {folder}
        outside = outside_allowed(folder)
        for source in sorted(folder_path.rglob("*")):
            if source.suffix not in (".h", ".cpp"):
                continue
            for kind, path in INCLUDE.findall(source.read_text(errors="replace")):
                used = folder_of_include(path, source, root)
                if used is not None and used not in allowed:
                    problems.append(f"{source.relative_to(root)}: includes {path} ({used} is above {folder})")
                elif used is None and (kind == "<" or not (source.parent / path).is_file()):
                    for name, pattern in OUTSIDE.items():
                        if pattern.match(path) and name not in outside:
                            problems.append(f"{source.relative_to(root)}: includes {path} ({name} is not for {folder})")
        lists = folder_path / "CMakeLists.txt"
        if not lists.is_file():
            continue
        for target, libraries in LINK.findall(lists.read_text()):
            for library in libraries.split():
                used = target_folder.get(library)
                if used is not None and used not in allowed:
                    problems.append(f"{folder}/CMakeLists.txt: {target} links {library} ({used} is above {folder})")
                for name, pattern in OUTSIDE_TARGETS.items():
                    if pattern.match(library) and name not in outside:
                        problems.append(f"{folder}/CMakeLists.txt: {target} links {library} ({name} is not for {folder})")
    return problems


def self_test():
    with tempfile.TemporaryDirectory() as scratch:
        root = pathlib.Path(scratch)
        for folder in ("text", "citree"):
            (root / folder).mkdir()
        (root / "citree" / "citree.h").write_text("#pragma once\n")
        (root / "citree" / "CMakeLists.txt").write_text("add_library(vestrak_citree STATIC citree.cpp)\n")
        (root / "text" / "text.cpp").write_text('#include "citree/citree.h"\n#include <QString>\n')
        (root / "text" / "CMakeLists.txt").write_text(
            "add_library(vestrak_text STATIC text.cpp)\ntarget_link_libraries(vestrak_text PUBLIC vestrak_citree)\n")
        problems = check(root)
    expected = ["includes citree/citree.h", "includes QString", "links vestrak_citree"]
    missed = [what for what in expected if not any(what in problem for problem in problems)]
    if missed:
        print("the layer check let these through:", ", ".join(missed))
        return 1
    print("the layer check finds upward includes and links, and outside headers out of place")
    return 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    problems = check(sys.argv[1])
    for problem in problems:
        print(problem)
    if problems:
        return 1
    print("every folder uses only the layers below it")
    return 0


if __name__ == "__main__":
    sys.exit(main())
