"""Reads the demo project's matrix the way a screen reader does: the program
runs on its own, and everything is asked of it through the AT-SPI tree."""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

program, project = sys.argv[1], sys.argv[2]
environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   XDG_RUNTIME_DIR=os.environ["PONDERIX_RUNTIME_DIR"])
process = None
program_errors = tempfile.TemporaryFile()
# What a screen reader is told of renamed controls, as it is told.
renamed = []
pyatspi.Registry.registerEventListener(lambda event: renamed.append(event.source.name if event.source else None),
                                       "object:property-change:accessible-name")


def find_application():
    """Starts the program and waits for it on the bus; None, with the
    program's own words kept in `program_errors`, when it never appears."""
    global process
    process = subprocess.Popen([program, project], env=environment, stderr=program_errors)
    for _ in range(150):
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.get_process_id() == process.pid:
                return application
        if process.poll() is not None:
            break
        time.sleep(0.2)
    return None


def find(node, role, name):
    for child in node:
        if child is None:
            continue
        if child.getRoleName() == role and child.name == name:
            return child
        found = find(child, role, name)
        if found is not None:
            return found
    return None


def nodes(node):
    """Every accessible below `node`: role, name, description and, for a
    slider, its value, minimum and maximum."""
    found = []
    for child in node:
        if child is None:
            continue
        value = None
        if child.getRoleName() == "slider":
            numbers = child.queryValue()
            value = (numbers.currentValue, numbers.minimumValue, numbers.maximumValue)
        found.append((child.getRoleName(), child.name, child.description, value))
        found.extend(nodes(child))
    return found


failures = []
try:
    application = find_application()
    if application is None:
        program_errors.seek(0)
        said = program_errors.read().decode(errors="replace").strip()
        failures.append(f"the program never appeared on the accessibility bus (exit status {process.poll()}): {said}")
    else:
        # The window fills in as it is laid out; wait for the last rating.
        tree = []
        for _ in range(50):
            tree = nodes(application)
            if any(name == "Rating C:3, Horsepower, Car SUV V8" for _, name, _, _ in tree):
                break
            time.sleep(0.2)
        # Worked out from the demo: A:1 is stored as 9, shown as +4;
        # Price has importance 5; C:3 is stored as 7, shown as +2.
        expected = [
            ("slider", "Rating A:1, Price, Car SUV T7", "+4", (4.0, -5.0, 5.0)),
            ("slider", "Rating C:3, Horsepower, Car SUV V8", "+2", (2.0, -5.0, 5.0)),
            ("slider", "Importance of criterion 1, Price", "High, 5 of 5", (5.0, 1.0, 5.0)),
            ("slider", "Importance of criterion 2, Fuel consumption", "4 of 5", (4.0, 1.0, 5.0)),
            ("push button", "Comment on rating A:1", "USD 39'000", None),
            ("push button", "Add option", "Add option", None),
            ("push button", "Delete criterion", "Criterion 2", None),
            ("text", "Name of option B", "", None),
            ("label", "DemoProject", "", None),
            ("label", "3 Criteria and 3 Options", "", None),
        ]
        for entry in expected:
            if entry not in tree:
                same_name = [node for node in tree if node[1] == entry[1]]
                failures.append(f"expected {entry}, found {same_name or 'nothing of that name'}")
        # Renaming an option through the tree, as an assistive tool may: the
        # column's ratings are renamed, and the reader is told of it.
        field = find(application, "text", "Name of option A")
        if field is None:
            failures.append("no name field for option A")
        else:
            field.queryEditableText().setTextContents("Van")
            context = GLib.MainContext.default()
            deadline = time.time() + 10
            while "Rating A:3, Horsepower, Van" not in renamed and time.time() < deadline:
                context.iteration(False)
                time.sleep(0.01)
            for wanted in ("Rating A:1, Price, Van", "Rating A:3, Horsepower, Van"):
                if wanted not in renamed:
                    failures.append(f"no name change to {wanted!r} announced; heard {renamed}")
            if find(application, "slider", "Rating A:1, Price, Van") is None:
                failures.append("the slider of A:1 was not renamed after its option")
        unnamed = [node for node in tree if node[0] in ("slider", "push button", "text") and not node[1]]
        if unnamed:
            failures.append(f"controls without a name: {unnamed}")
finally:
    process.terminate()
    process.wait(timeout=30)

for failure in failures:
    print("screen_reader_tree:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
