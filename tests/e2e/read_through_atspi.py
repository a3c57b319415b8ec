# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the running Vantok through the accessibility bus, as a screen reader does.

Lists every focusable control of both windows with its name and role and checks them against
what each one is; walks the tab stops by keyboard; presses "SAMPLE" and "FILE" through their
actions; picks a colour with a real pointer click and reads the swatch's colour from the event it
raises. Prints the controls it read; exits non-zero on the first mismatch.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TIMEOUT_S = 30  # a loaded machine answers slowly

BANNER = ("Vantok Ver3.53 Support: help@vantok.example "
          "Written by the Vantok authors. Free to use and share.")

# Every control that takes the focus, by (role, name). The hidden sample chart is listed too.
MAIN_CONTROLS = {
    ("image", "Picture"), ("image", "Sample chart"),
    ("text", "Red"), ("text", "Green"), ("text", "Blue"),
    ("radio button", "Decimal"), ("radio button", "Hexadecimal"),
    ("push button", "FILE"), ("push button", "PASTE"), ("push button", "SAMPLE"),
    ("push button", "Zoom it!"), ("push button", "PAINT"), ("push button", "EXIT"),
    ("push button", BANNER),
}
CHOOSER_CONTROLS = {
    ("combo box", "Drives"), ("tree", "Folders"), ("list", "Files"),
    ("text", "File name pattern"), ("check box", "Vantokmode"),
}
# Keyboard focus from the picture on, one Tab at a time: one stop for the two radio buttons.
TAB_STOPS = ["FILE", "PASTE", "PAINT", "EXIT", BANNER, "Red", "Green", "Blue", "Hexadecimal",
             "SAMPLE", "Zoom it!", "Picture"]


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def deliver_pending_events():
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(what, found):
    """Runs the event loop until found() returns something true; returns it."""
    deadline = time.monotonic() + TIMEOUT_S
    while time.monotonic() < deadline:
        deliver_pending_events()
        result = found()
        if result:
            return result
        time.sleep(0.05)
    fail(f"timed out waiting for {what}")


class EventLog:
    """Keeps the events of one type that the bus delivers."""

    def __init__(self, event_type):
        self.events = []
        self._listener = lambda event: self.events.append(event)
        pyatspi.Registry.registerEventListener(self._listener, event_type)

    def take(self, matches):
        for i, event in enumerate(self.events):
            if matches(event):
                del self.events[: i + 1]
                return event
        return None


def window_named(title):
    def find():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Vantok":
                for window in app:
                    if window is not None and window.name == title:
                        return window
        return None

    return wait_for(f"window '{title}'", find)


def child(window, role, name):
    for control in window:
        if control.getRoleName() == role and control.name == name:
            return control
    fail(f"no {role} named '{name}' in '{window.name}'")


def has_state(control, state):
    return control.getState().contains(state)


def spoken_name(control):
    """What a screen reader says the control is: its labels, else its name. A combo box's name
    is its current item, so only a label can say what it is."""
    labels = [target.name
              for relation in control.getRelationSet()
              if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
              for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]
    if labels or control.getRoleName() == "combo box":
        return " ".join(labels)
    return control.name


def focusable_controls(window):
    controls = {}
    for control in window:
        if has_state(control, pyatspi.STATE_FOCUSABLE):
            name = spoken_name(control)
            if not name.strip():
                fail(f"a focusable {control.getRoleName()} in '{window.name}' has no name")
            controls[(control.getRoleName(), name)] = control
    return controls


def check_controls(window, expected):
    """Prints every control of the window as a listener meets it, then checks the focusable."""
    print(f"-- {window.getRoleName()} '{window.name}'")
    for control in window:
        name = spoken_name(control)
        told = [f"name {control.name!r}"] if control.name != name else []
        told += [f"description {control.description!r}"] if control.description else []
        stop = "focusable" if has_state(control, pyatspi.STATE_FOCUSABLE) else "         "
        print(f"   {stop}  {control.getRoleName():13} {name!r}"
              + (f"  ({'; '.join(told)})" if told else ""))
    found = set(focusable_controls(window))
    if found != expected:
        fail(f"controls of '{window.name}': unexpected {sorted(found - expected)}, "
             f"missing {sorted(expected - found)}")


def press(control):
    action = control.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        fail(f"'{control.name}' offers no Press action, only {names}")
    action.doAction(names.index("Press"))


def screen_click(control, dx, dy):
    extents = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(extents.x + dx), str(extents.y + dy)], check=True)
    subprocess.run(["xdotool", "click", "1"], check=True)


def press_key(key, focus_log, leaving):
    """Presses a key and returns the control the focus moves to. An event still on its way for
    the control being left is passed over."""
    subprocess.run(["xdotool", "key", key], check=True)
    event = wait_for(f"the focus to leave {leaving!r} on {key}",
                     lambda: focus_log.take(lambda e: e.detail1 and e.source.name != leaving))
    return event.source


def check_tab_stops(main, focus_log):
    # A click on the swatch, which has no handler, makes the window active without a window manager.
    screen_click(child(main, "label", "Colour swatch"), 3, 3)
    wait_for("the picture to hold the focus",
             lambda: has_state(child(main, "image", "Picture"), pyatspi.STATE_FOCUSED))
    walked = ["Picture"]
    for _ in TAB_STOPS:
        walked.append(press_key("Tab", focus_log, walked[-1]).name)
    if walked[1:] != TAB_STOPS:
        fail(f"tab stops {walked}, expected {TAB_STOPS}")
    # Back into the radio group, then an arrow key moves to the other button and selects it.
    landed = walked[-1]
    for _ in range(len(TAB_STOPS) - 1 - TAB_STOPS.index("Hexadecimal")):
        landed = press_key("shift+Tab", focus_log, landed).name
    arrow, other = ("Down", "Hexadecimal") if landed == "Decimal" else ("Up", "Decimal")
    moved = press_key(arrow, focus_log, landed)
    if moved.name != other or not has_state(moved, pyatspi.STATE_CHECKED):
        fail(f"{arrow} on '{landed}' moved to '{moved.name}', not to a checked '{other}'")
    print("   tab stops: " + " > ".join(walked))
    print(f"   shift+Tab back lands on {landed}; {arrow} selects {other}")


def check_swatch_after_pick(main, description_log):
    swatch = child(main, "label", "Colour swatch")
    print(f"   swatch at start: {swatch.description!r}")
    sample = child(main, "push button", "SAMPLE")
    press(sample)
    chart = child(main, "image", "Sample chart")
    wait_for("the sample chart to show", lambda: has_state(chart, pyatspi.STATE_SHOWING))
    deliver_pending_events()  # any earlier change of colour, so only the pick's is awaited
    description_log.events.clear()
    # The chart's pixel 8, 4 inside its 2-pixel border is red 255, green 23, blue 0, nearest to
    # CSS's red.
    screen_click(chart, 2 + 8, 2 + 4)
    event = wait_for("the swatch to announce its colour",
                     lambda: description_log.take(lambda e: e.source.name == "Colour swatch"))
    heard = event.source.description  # announced without the focus moving to the swatch
    if heard != "red 255, green 23, blue 0; red, strong red":
        fail(f"the swatch announced '{heard}'")
    if not has_state(chart, pyatspi.STATE_FOCUSED):
        fail("the focus left the sample chart that was pressed")
    boxes = [child(main, "text", n).queryText() for n in ("Red", "Green", "Blue")]
    texts = [box.getText(0, -1) for box in boxes]
    if texts != ["255", "23", "0"]:
        fail(f"component boxes read {texts}")
    print(f"   after a pick on the chart the swatch announced: {heard!r}")


def check_folder_tree_header(chooser):
    """The tree's header is hidden but read all the same: it says what the column holds."""
    folders = child(chooser, "tree", "Folders")
    headers = [c.name for c in folders if c.getRoleName() == "table column header"]
    if headers != ["Folders"]:
        fail(f"the folder tree's column headers are {headers}")
    print(f"   folder tree's hidden column header: {headers[0]!r}")


def main():
    description_log = EventLog("object:property-change:accessible-description")
    focus_log = EventLog("object:state-changed:focused")

    main_window = window_named("Vantok")
    if main_window.getRoleName() != "frame":
        fail(f"the main window is a {main_window.getRoleName()}, not a frame")
    check_controls(main_window, MAIN_CONTROLS)
    check_tab_stops(main_window, focus_log)
    check_swatch_after_pick(main_window, description_log)

    press(child(main_window, "push button", "FILE"))
    chooser = window_named("Files ")
    check_controls(chooser, CHOOSER_CONTROLS)
    check_folder_tree_header(chooser)

    exit_button = child(main_window, "push button", "EXIT")
    try:
        press(exit_button)
    except Exception:  # the process may end before its answer leaves; the caller checks it ended
        pass


if __name__ == "__main__":
    main()
