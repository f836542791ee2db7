#!/usr/bin/python3
# What a screen reader finds on a page with both controls: vestrak-page on an X display of its own
# (Xvfb), in a private D-Bus session with the accessibility bus, read through AT-SPI. Exits 77
# (skipped) with the reason when a piece of the accessibility stack is not installed.
#   accessibility_test.py VESTRAK_PAGE SOURCE_DIR
import os
import shutil
import subprocess
import sys
import tempfile
import time

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
# Long enough for a page starting on a machine busy with a parallel build.
DEADLINE_SECONDS = 90
PAGE = """\
create tree CiTree
size tree 4200 5400
set tree.ObjectFile plant/plant.ini
set tree.Style 0x618
expand tree.TreeView_Objects WW/0
expand tree.TreeView_Objects WW1/1
expand tree.TreeView_Objects WW11/2
create status CiStatus
size status 6000 5400
set status.UpdateInterval 500
on status.GetStatus answer status
tag WW_SCREENS_ST 2
tag WW_LS101_ST 0x104
tag WW_F202_ST 3
set status.ObjectFile plant/status.ini
expand status.TreeView_Status WW/0
expand status.TreeView_Status WW1/1
expand status.TreeView_Status WW12/6
expand status.TreeView_Status WW2/9
expand status.TreeView_Status WW21,WW22/10
"""


def missing_piece():
    missing = [tool for tool in ("Xvfb", "dbus-run-session", "dbus-send", BUS_LAUNCHER) if not shutil.which(tool)]
    if subprocess.run([sys.executable, "-c", "import pyatspi"], capture_output=True).returncode:
        missing.append("pyatspi")
    return missing and f"{', '.join(missing)} not installed"


def poll(what, find):
    end = time.monotonic() + DEADLINE_SECONDS
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    raise AssertionError(f"not found within {DEADLINE_SECONDS} s: {what}")


def walk(node, depth=0):
    yield node, depth
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def check_page(pyatspi, page):
    def on_bus():
        if page.poll() is not None:
            raise AssertionError(f"vestrak-page ended with {page.returncode} before it joined the bus")
        return next((app for app in pyatspi.Registry.getDesktop(0) if app is not None and app.name == "vestrak-page"),
                    None)

    app = poll("vestrak-page on the accessibility bus", on_bus)
    failures = []

    def expect(condition, message):
        if not condition:
            failures.append(message)

    trees = lambda: [node for node, _ in walk(app) if node.getRoleName() == "tree"]
    found = {tree.name: tree for tree in poll("both trees", lambda: len(trees()) == 2 and trees())}
    expect(set(found) == {"Object tree", "Status tree"}, f"the trees are named {sorted(found)}")
    for name, tree in found.items():
        items = [(node, depth, node.getState()) for node, depth in walk(tree) if depth > 0]
        expect(any(depth >= 3 for _, depth, _ in items), f"{name}: rows nest by level")
        expect(all(node.getRoleName() in ("table cell", "tree item") for node, _, _ in items),
               f"{name}: every row is an item of the tree")
        expect(any(state.contains(pyatspi.STATE_EXPANDED) for _, _, state in items), f"{name}: an open branch")
        expect(any(state.contains(pyatspi.STATE_EXPANDABLE) and not state.contains(pyatspi.STATE_EXPANDED)
                   for _, _, state in items), f"{name}: a closed branch")
        expect(all(node.name for node, _, _ in items), f"{name}: every row has its name")

    words = ("alarm", "warning", "normal", "unknown", "blinking")
    said = lambda: " ".join(node.description for node, _ in walk(found.get("Status tree", app)))
    try:
        poll("the statuses in words: " + ", ".join(words), lambda: all(word in said() for word in words))
    except AssertionError as missing:
        failures.append(str(missing))

    for node, _ in walk(app):
        role, states = node.getRoleName(), node.getState()
        if role in ("push button", "check box", "text", "tree", "list", "image"):
            expect(bool(node.name), f"a {role} without a name")
        expect("<qt>" not in node.description and "<table" not in node.description,
               f"a {role} whose description is markup: {node.description!r}")
        if states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_SHOWING):
            expect(role != "filler", f"a tab stop that shows nothing: {node.name!r}")
    return failures


def run_in_session(page_tool, source_dir):
    children = []
    try:
        # Xvfb picks a free display and names it on the pipe.
        read_end, write_end = os.pipe()
        children.append(subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1200x800x24",
                                          "-nolisten", "tcp"], pass_fds=(write_end,),
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            os.environ["DISPLAY"] = ":" + numbers.readline().strip()
        children.append(subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"],
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        # A page started before the accessibility bus answers never joins it.
        poll("the accessibility bus", lambda: subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.a11y.Bus.GetAddress"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0)
        # The page names its files relative to its own folder, where the example plant is linked.
        work = tempfile.mkdtemp()
        os.symlink(os.path.join(source_dir, "examples", "plant"), os.path.join(work, "plant"))
        with open(os.path.join(work, "both.page"), "w") as written:
            written.write(PAGE)
        environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                           VESTRAK_SETTINGS=os.path.join(work, "settings.sqlite"))
        # The page's own messages go to the test's output: they tell why it did not show.
        page = subprocess.Popen([page_tool, os.path.join(work, "both.page")], cwd=source_dir, env=environment,
                                stdout=subprocess.DEVNULL)
        children.append(page)
        import pyatspi  # after the accessibility bus is up: the import connects to it
        failures = check_page(pyatspi, page)
    finally:
        for child in reversed(children):
            child.terminate()
            try:
                child.wait(timeout=5)
            except subprocess.TimeoutExpired:
                child.kill()
    for failure in failures:
        print("FAILED:", failure)
    print(f"accessibility: {0 if failures else 1} passed, {1 if failures else 0} failed")
    return 1 if failures else 0


def main():
    page_tool, source_dir = sys.argv[1:3]
    if os.environ.get("VESTRAK_ATSPI_SESSION"):
        return run_in_session(page_tool, source_dir)
    reason = missing_piece()
    if reason:
        print(f"skipped: {reason}")
        return 77
    os.environ["VESTRAK_ATSPI_SESSION"] = "1"
    return subprocess.call(["dbus-run-session", "--", sys.executable, __file__, page_tool, source_dir])


if __name__ == "__main__":
    sys.exit(main())
