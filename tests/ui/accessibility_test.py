"""What a screen reader finds in the program, asked over AT-SPI as Orca asks it.

Usage: accessibility_test.py PROGRAM. Needs an X display (with a window manager, so that
the windows take the keyboard as they open), a private D-Bus session (dbus-run-session)
and xdotool. Exits 0 when everything holds; else names each fault.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import Gio, GLib

# Every entry window and the caption of each field's label, top to bottom.
DIALOGS = {
    "F1": ("Выловленная рыба", 20),
    "F2": ("Потраченная приманка", 6),
    "F3": ("Потраченные снасти", 14),
}
faults = []


def check(condition, fault):
    if not condition:
        faults.append(fault)


def wait_for(find, what, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    sys.exit(f"FAIL: {what} did not appear over AT-SPI")


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "varkelo":
            return app
    return None


def window(app, caption):
    for child in app:
        if child is not None and child.name == caption and child.getState().contains(
                pyatspi.STATE_VISIBLE):
            return child
    return None


def descendants(node, role):
    return pyatspi.findAllDescendants(node, lambda n: n.getRole() == role)


def press(key):
    subprocess.run(["xdotool", "key", key], check=True)


def main():
    # What a screen reader does on starting: the desktop's accessibility switch goes on, and
    # Qt programs started after it talk AT-SPI.
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
        GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled", GLib.Variant("b", True))),
        None, Gio.DBusCallFlags.NONE, -1, None)
    program = subprocess.Popen([sys.argv[1]])
    try:
        app = wait_for(application, "the program")
        main_window = wait_for(lambda: window(app, "Варкело"), "the main window")
        check(main_window.getRoleName() == "frame",
              f"the main window is a {main_window.getRoleName()}, not a frame")

        def main_active():
            return main_window.getState().contains(pyatspi.STATE_ACTIVE)

        for key, (caption, fields) in DIALOGS.items():
            # As a user, who types on once the window is back in front.
            wait_for(main_active, f"the main window, active before {key},")
            press(key)
            dialog = wait_for(lambda: window(app, caption), f"«{caption}»")
            check(dialog.getRoleName() == "dialog",
                  f"«{caption}» is a {dialog.getRoleName()}, not a dialog")
            # Each field bears its label's caption, and says which label that is.
            edits = descendants(dialog, pyatspi.ROLE_TEXT)
            check(len(edits) == fields, f"«{caption}» has {len(edits)} fields, not {fields}")
            for edit in edits:
                labels = [r.getTarget(0).name for r in edit.getRelationSet()
                          if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
                check(edit.name.endswith(":") and labels == [edit.name],
                      f"«{caption}»: a field named «{edit.name}» is labelled by {labels}")
            press("Escape")

        wait_for(main_active, "the main window, active")
        press("F5")
        help_window = wait_for(lambda: window(app, "Помощь"), "the help")
        check(help_window.getRoleName() == "frame",
              f"the help is a {help_window.getRoleName()}, not a frame")
        # The document: named, read-only, with the keyboard, its whole text readable.
        named = pyatspi.findAllDescendants(help_window, lambda n: n.name == "Помощь")
        check(len(named) == 1, "the help holds nothing named «Помощь»")
        for document in named:
            state = document.getState()
            check(state.contains(pyatspi.STATE_FOCUSED) and
                  not state.contains(pyatspi.STATE_EDITABLE),
                  "the help's document is editable or does not have the keyboard")
            text = document.queryText()
            content = text.getText(0, text.characterCount)
            check("Калькулятор прибыли одной рыбалки" in content and "Форель" in content,
                  "the help's text cannot be read: " + content[:80])
    finally:
        program.terminate()
        program.wait(10)

    for fault in faults:
        print("FAIL:", fault)
    if not faults:
        print("every window has its role and every field its label's name")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
