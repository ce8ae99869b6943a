#!/usr/bin/python3
"""End to end over AT-SPI, as a screen reader asks: the built program, started
with assistive technology on, answers every text query of its phone box and
output box at once, with attribute runs that hold the offset asked for, its
其它功能 link says whether the panel is open, and Tab into the phone box tells
of the focus before the number's selection (a screen reader would otherwise
read the number twice).

    tests/with-xvfb.sh tests/atspi-text.py PROGRAM

Each query waits at most two seconds (a hang in the program shows as a
timed-out call); any fault is printed and the script exits non-zero.
"""
import os
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# The calls a screen reader of Debian 12 makes, which later libraries deprecate.
warnings.filterwarnings("ignore", category=DeprecationWarning)

BOUNDARIES = {
    "char": Atspi.TextBoundaryType.CHAR,
    "word start": Atspi.TextBoundaryType.WORD_START,
    "word end": Atspi.TextBoundaryType.WORD_END,
    "sentence start": Atspi.TextBoundaryType.SENTENCE_START,
    "line start": Atspi.TextBoundaryType.LINE_START,
    "line end": Atspi.TextBoundaryType.LINE_END,
}
faults = []


def fault(message):
    print("atspi-text:", message, file=sys.stderr)
    faults.append(message)


def wait_for(what, find, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    sys.exit(f"atspi-text: {what} never appeared")


def descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield child
            yield from descendants(child)


def named(app, name):
    return next((n for n in descendants(app) if n.get_name() == name), None)


def check_text(name, node):
    # Called through Atspi.Text by name: in later libraries an Accessible is
    # its own Text, and some of its methods share the interface's names.
    text = node
    length = Atspi.Text.get_character_count(text)
    whole = Atspi.Text.get_text(text, 0, -1)
    for offset in sorted({-1, 0, 1, length // 2, length - 1, length, length + 1}):
        for kind, boundary in BOUNDARIES.items():
            where = f"{name}, {kind} at {offset} of {length}"
            for side in ("before", "at", "after"):
                ask = getattr(Atspi.Text, f"get_text_{side}_offset")
                try:
                    answer = ask(text, offset, boundary)
                except GLib.Error as error:
                    # A program that does not answer answers nothing more.
                    sys.exit(f"atspi-text: {where}, {side}: {error.message}")
                start, end, content = answer.start_offset, answer.end_offset, answer.content
                if start == -1 and end == -1:
                    if 0 <= offset <= length:
                        fault(f"{where}, {side}: no range")
                elif not (0 <= start <= end <= length) or whole[start:end] != content:
                    fault(f"{where}, {side}: {start} to {end} {content!r}")
    if node.get_name() == "手机号码":
        answer = Atspi.Text.get_text_at_offset(text, length, Atspi.TextBoundaryType.WORD_START)
        if answer.content != whole:
            fault(f"the word at the end of {whole!r} is {answer.content!r}")
    for offset in range(length):
        run = Atspi.Text.get_attribute_run(text, offset, False)
        if not run.start_offset <= offset < run.end_offset:
            fault(f"{name}: the attribute run at {offset} is {run.start_offset} to {run.end_offset}")


def states(node):
    state = node.get_state_set()
    return state.contains(Atspi.StateType.EXPANDABLE), state.contains(Atspi.StateType.EXPANDED)


def events_while(act, seconds=3):
    """The names of focus and text-selection events, with their objects' names,
    that arrive while act() runs and for a few seconds after."""
    seen = []

    def heard(event):
        seen.append((event.type, event.source.get_name()))

    listener = Atspi.EventListener.new(heard)
    for kind in ("object:state-changed:focused", "object:text-selection-changed"):
        listener.register(kind)
    act()
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        context.iteration(False)
        time.sleep(0.01)
    for kind in ("object:state-changed:focused", "object:text-selection-changed"):
        listener.deregister(kind)
    return seen


def check_focus_comes_first():
    def tab_to_phone_box():
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class", "phone-fortune",
                        "windowactivate", "--sync"], check=False, stdout=subprocess.DEVNULL)
        subprocess.run(["xdotool", "key", "--delay", "200", "Tab", "Tab"], check=True)

    seen = events_while(tab_to_phone_box)
    on_phone = [kind for kind, name in seen if name == "手机号码"]
    if "object:state-changed:focused" not in on_phone:
        fault(f"Tab never focused the phone box: {seen}")
    elif on_phone[0] != "object:state-changed:focused":
        fault(f"the phone box told of its selection before its focus: {on_phone}")


def main():
    program = sys.argv[1]
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    window = subprocess.Popen([program], env=env)
    try:
        Atspi.set_timeout(2000, 20000)
        desktop = Atspi.get_desktop(0)
        app = wait_for("the program over AT-SPI", lambda: next(
            (a for a in descendants_of_desktop(desktop) if a.get_process_id() == window.pid), None))
        phone = wait_for("the phone box", lambda: named(app, "手机号码"))
        check_focus_comes_first()
        check_text("phone box", phone)
        check_text("output box", named(app, "测算结果"))

        link = named(app, "其它功能")
        if states(link) != (True, False):
            fault(f"其它功能 when closed: expandable, expanded = {states(link)}")
        Atspi.Action.do_action(link, 0)
        wait_for("the open panel", lambda: states(link)[1], seconds=5)
        check_text("quiz text", named(app, "密码测验题目"))
        Atspi.Action.do_action(link, 0)
        wait_for("the closed panel", lambda: not states(link)[1], seconds=5)
        if window.poll() is not None:
            fault(f"the program ended with status {window.returncode}")
    finally:
        window.kill()
        window.wait()
    if faults:
        sys.exit(f"atspi-text: {len(faults)} faults")
    print("atspi-text: every query answered")


def descendants_of_desktop(desktop):
    return [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())
            if desktop.get_child_at_index(i) is not None]


if __name__ == "__main__":
    main()
