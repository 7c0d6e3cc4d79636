# What a screen reader finds in the program, asked over AT-SPI as Orca asks it.
# Usage: accessibility_test.py PROGRAM, on an X display with a window manager, in a private
# D-Bus session, with xdotool. Each entry window is a dialog whose fields bear their labels'
# captions; the help is a frame whose document is read-only, focused and readable.
import subprocess
import sys
import time

import pyatspi
from gi.repository import Gio, GLib


def check(condition, fault):
    if not condition:
        sys.exit("FAIL: " + fault)


def wait_for(find, what):
    for _ in range(200):
        if found := find():
            return found
        time.sleep(0.1)
    check(False, f"{what} did not come over AT-SPI")


def active(app, caption):
    return next((w for w in app if w and w.name == caption and
                 w.getState().contains(pyatspi.STATE_ACTIVE)), None)


def press(key):
    wait_for(lambda: active(app, "Варкело"), "the main window, active,")
    subprocess.run(["xdotool", "key", key], check=True)


# The desktop's accessibility switch, as a screen reader turns it on when it starts.
Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
    "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
    GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled", GLib.Variant("b", True))),
    None, Gio.DBusCallFlags.NONE, -1, None)


def start():
    started = subprocess.Popen([sys.argv[1]])
    return started, wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0) if a and
                                           a.get_process_id() == started.pid), None), "the program")


program, app = start()
try:
    for key, caption, role, fields in [("F1", "Выловленная рыба", "dialog", 20),
                                       ("F2", "Потраченная приманка", "dialog", 6),
                                       ("F3", "Потраченные снасти", "dialog", 14),
                                       ("F5", "Помощь", "frame", 0)]:
        press(key)
        found = wait_for(lambda: active(app, caption), caption)
        check(found.getRoleName() == role, f"{caption} is a {found.getRoleName()}")
        edits = pyatspi.findAllDescendants(found, lambda n: n.getRole() == pyatspi.ROLE_TEXT)
        check(len(edits) == fields or not fields, f"{caption} has {len(edits)} fields")
        for edit in edits[:fields]:
            labels = [r.getTarget(0).name for r in edit.getRelationSet()
                      if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
            check(edit.name.endswith(":") and labels == [edit.name], f"{edit.name}: {labels}")
        if not fields:
            document = pyatspi.findAllDescendants(found, lambda n: n.name == "Помощь")[0]
            state, text = document.getState(), document.queryText()
            check(state.contains(pyatspi.STATE_FOCUSED) and
                  not state.contains(pyatspi.STATE_EDITABLE),
                  "the help's document is editable or does not have the keyboard")
            check("Калькулятор прибыли одной рыбалки" in text.getText(0, text.characterCount),
                  "the help's text cannot be read")
        subprocess.run(["xdotool", "key", "Escape"], check=True)
    # F6 ends the program, which must then end well (under the sanitizers, without a leak);
    # so must Esc and the window manager's close (Alt+F4 in openbox) in runs of their own.
    for key in ["F6", "Escape", "alt+F4"]:
        if key != "F6":
            program, app = start()
        press(key)
        check(program.wait(10) == 0, f"{key}: the program ended with status {program.returncode}")
finally:
    if program.poll() is None:
        program.terminate()
        program.wait(10)
