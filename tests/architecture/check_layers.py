#!/usr/bin/env python3
"""check_layers.py SOURCE_ROOT | --self-test: checks that every folder of src/ (or, for the self
test, of a made-up tree with upward dependencies) uses only the folders and outside libraries its
layer allows, in its #include lines and in the CMake targets it links."""
import pathlib, re, sys, tempfile

# Each folder, the folders it may use directly (and theirs), and the outside libraries it may use;
# the core (text up to cistatus) needs none, so the controls run on any widget set and store.
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

# Each outside library: the headers that name it and the CMake targets that bring it.
OUTSIDE = {
    "qt": (re.compile(r"^(Q[A-Za-z]+|Qt[A-Za-z]*/.*)$"), re.compile(r"^Qt6::")),
    "sqlite": (re.compile(r"^sqlite3.*$"), re.compile(r"^SQLite::")),
    "mosquitto": (re.compile(r"^mosquitto.*$"), re.compile(r"^PkgConfig::Mosquitto$")),
    "protobuf": (re.compile(r"^(google/protobuf/.*|sparkplug_b\.pb\.h)$"), re.compile(r"^protobuf::")),
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
LINK = re.compile(r"target_link_libraries\(\s*(\S+)([^)]*)\)", re.S)
LIBRARY = re.compile(r"add_library\(\s*(\S+)")


def reachable(folder):
    return {below for used in LAYERS[folder][0] for below in reachable(used) | {used}}


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
    target_folder = {target: folder for folder in LAYERS if (root / folder / "CMakeLists.txt").is_file()
                     for target in LIBRARY.findall((root / folder / "CMakeLists.txt").read_text())}
    for folder_path in sorted(p for p in root.iterdir() if p.is_dir()):
        folder = folder_path.name
        if folder not in LAYERS:
            problems.append(f"{folder}: a folder the layer table does not know")
            continue
        allowed = reachable(folder) | {folder}
        outside = outside_allowed(folder)
        for source in sorted(s for s in folder_path.rglob("*") if s.suffix in (".h", ".cpp")):
            where = source.relative_to(root)
            for kind, path in INCLUDE.findall(source.read_text(errors="replace")):
                used = folder_of_include(path, source, root)
                if used is not None and used not in allowed:
                    problems.append(f"{where}: includes {path} ({used} is above {folder})")
                elif used is None and (kind == "<" or not (source.parent / path).is_file()):
                    problems += [f"{where}: includes {path} ({name} is not for {folder})"
                                 for name, (header, _) in OUTSIDE.items() if header.match(path) and name not in outside]
        lists = folder_path / "CMakeLists.txt"
        for target, libraries in LINK.findall(lists.read_text()) if lists.is_file() else []:
            where = f"{folder}/CMakeLists.txt: {target} links"
            for library in libraries.split():
                used = target_folder.get(library)
                if used is not None and used not in allowed:
                    problems.append(f"{where} {library} ({used} is above {folder})")
                problems += [f"{where} {library} ({name} is not for {folder})"
                             for name, (_, linked) in OUTSIDE.items() if linked.match(library) and name not in outside]
    return problems


def self_test():
    with tempfile.TemporaryDirectory() as scratch:
        root = pathlib.Path(scratch)
        for name, text in {
            "citree/citree.h": "#pragma once\n",
            "citree/CMakeLists.txt": "add_library(vestrak_citree STATIC citree.cpp)\n",
            "text/text.cpp": '#include "citree/citree.h"\n#include <QString>\n',
            "text/CMakeLists.txt": "add_library(vestrak_text STATIC text.cpp)\n"
                                   "target_link_libraries(vestrak_text PUBLIC vestrak_citree Qt6::Core)\n",
        }.items():
            (root / name).parent.mkdir(exist_ok=True)
            (root / name).write_text(text)
        problems = check(root)
    expected = ["includes citree/citree.h", "includes QString", "links vestrak_citree", "links Qt6::Core"]
    missed = [what for what in expected if not any(what in problem for problem in problems)]
    print(f"the layer check let these through: {', '.join(missed)}" if missed
          else "the layer check finds upward includes and links, and outside headers and targets out of place")
    return 1 if missed else 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    problems = check(sys.argv[1])
    print("\n".join(problems) or "every folder uses only the layers below it")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
