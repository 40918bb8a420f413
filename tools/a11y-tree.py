#!/usr/bin/python3
"""The window as a screen reader meets it, on the real AT-SPI bus.

Starts the window program, prints its accessibility tree, and fails when a control lacks what a
screen reader needs: a name, a description on each button, the theme list's label, the link's
press action. Then uses the window from the keyboard alone, as xdotool types: Tab through every
control and round again, Enter on «Генерировать», Enter on «Очистить» and Ctrl+Z, and Space on
«Сохранить», whose description must announce the file written.

Needs an X display, a session bus and the Debian packages at-spi2-core, python3-pyatspi and
xdotool:

    xvfb-run -a dbus-run-session -- /usr/bin/python3 tools/a11y-tree.py PREFIX/bin/zurevavud

The program runs with a fresh home of its own, so that a save lands there; run an installed
program: one with an output folder beside it saves into that folder.
"""

import os
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

TITLE = "Zurevavud uvedididade vezivuda"
CONTROLS = {"text", "push button", "combo box", "link"}
# Tab order from the text box round to it again; the theme list is named by its current theme.
TAB_ORDER = ["Текст", "Генерировать", "Новое окно", "Сохранить", "Сделать exe",
             "Всё одной кучей", "Очистить", "Домашняя страница программы", "Текст"]

problems = []


def check(condition, message):
    if not condition:
        problems.append(message)
    return condition


def wait_for(what, timeout=10.0):
    """The first true value of what(), polled while the bus's events are dispatched."""
    deadline = time.monotonic() + timeout
    while True:
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)
        value = what()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.05)


def children(acc):
    return [c for c in acc if c is not None]


def labels_of(acc):
    return [target.name
            for relation in acc.getRelationSet()
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
            for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]


def actions_of(acc):
    try:
        action = acc.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def dump(acc, depth=0):
    line = f"{'  ' * depth}{acc.getRoleName()} «{acc.name}»"
    if acc.description:
        line += f" — {acc.description}"
    labels = labels_of(acc)
    if labels:
        line += f", labelled «{'», «'.join(labels)}»"
    actions = actions_of(acc)
    if actions and acc.getRoleName() in CONTROLS:
        line += f" [{', '.join(actions)}]"
    print(line)
    for child in children(acc):
        dump(child, depth + 1)


def controls(acc):
    found = [acc] if acc.getRoleName() in CONTROLS else []
    for child in children(acc):
        found += controls(child)
    return found


def check_tree(frame):
    for control in controls(frame):
        role, name = control.getRoleName(), control.name
        check(name, f"a {role} without a name")
        if role == "push button":
            check(control.description, f"button «{name}» without a description")
        if role == "combo box":
            check("Тема" in labels_of(control), f"theme list «{name}» not labelled «Тема»")
        if role == "link":
            check("Press" in actions_of(control), f"link «{name}» without a press action")
    roles = [c.getRoleName() for c in controls(frame)]
    check(roles.count("link") == 1, "no link, or more than one")
    check(roles.count("push button") == 5, f"{roles.count('push button')} buttons, not 5")


def focused(frame):
    for control in controls(frame):
        if control.getState().contains(pyatspi.STATE_FOCUSED):
            return control
    return None


def text_of(frame):
    box = next(c for c in controls(frame) if c.getRoleName() == "text")
    text = box.queryText()
    return text.getText(0, text.characterCount)


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)


def press_until(keys, what, message):
    key(*keys)
    return check(wait_for(what), message)


def use_keyboard(frame):
    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                             f"^{TITLE}$"], check=True, capture_output=True, text=True)
    subprocess.run(["xdotool", "windowfocus", "--sync", window.stdout.split()[0]], check=True)
    at = lambda name: lambda: (focused(frame) is not None and focused(frame).name == name)
    if not check(wait_for(at(TAB_ORDER[0])), "the focus does not start in the text box"):
        return
    for name in TAB_ORDER[1:]:
        if not press_until(["Tab"], at(name), f"Tab does not reach «{name}»"):
            return
    print("Tab: " + " → ".join(TAB_ORDER))

    key("Tab")
    if not press_until(["Return"], lambda: text_of(frame), "Enter on «Генерировать» adds nothing"):
        return
    made = text_of(frame)
    key(*["Tab"] * 5)
    press_until(["Return"], lambda: at("Очистить")() and not text_of(frame),
                "Enter on «Очистить» leaves text")
    press_until(["ctrl+z"], lambda: text_of(frame) == made,
                "Ctrl+Z on «Очистить» does not bring the text back")
    print(f"Enter on «Генерировать»: {len(made)} characters; «Очистить», Ctrl+Z: back again")

    announced = []
    listener = lambda event: announced.append((event.source.name, event.source.description))
    pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-description")
    key(*["shift+Tab"] * 3)
    press_until(["space"], lambda: any(name == "Сохранить" and "Текст сохранён" in description
                                       for name, description in announced),
                "Space on «Сохранить» announces no file")
    for name, description in announced:
        print(f"announced on «{name}»: {description!r}")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with tempfile.TemporaryDirectory() as home:
        environment = dict(os.environ, HOME=home, QT_ACCESSIBILITY="1",
                           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DOCUMENTS_DIR"):
            environment.pop(name, None)
        program = subprocess.Popen([sys.argv[1]], env=environment)
        try:
            desktop = pyatspi.Registry.getDesktop(0)
            app = wait_for(lambda: next((a for a in children(desktop)
                                         if a.name == os.path.basename(sys.argv[1])), None))
            frame = app and wait_for(lambda: next((f for f in children(app) if f.name == TITLE),
                                                  None))
            if not frame:
                sys.exit("the window never appeared on the accessibility bus")
            wait_for(lambda: len(controls(frame)) >= 9)
            dump(app)
            check_tree(frame)
            use_keyboard(frame)
        finally:
            program.terminate()
            program.wait()
    for problem in problems:
        print("a11y-tree:", problem, file=sys.stderr)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
