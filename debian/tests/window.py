#!/usr/bin/python3
"""The installed window, end to end: started by its desktop entry with a
screen reader's bus switched on, a number typed into the phone box and the
test button pressed with the X server's own pointer and keyboard (xdotool),
the verdict read back over AT-SPI, the panel opened and closed by its link,
and the close mark ending the program with status 0.

Every wait is on a state, bounded by a deadline; a fault says which step."""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
gi.require_version("Gio", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

ENTRY = "/usr/share/applications/com.example.PhoneFortune.desktop"
NUMBER = "13912345678"  # fictitious
VERDICT = "吉凶解释：吉带凶"
MEANING = "吉凶注解：有得有失.华而不实"


def fail(message):
    sys.exit(f"window: {message}")


def wait_for(what, find, seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    fail(f"{what} never came")


def enable_accessibility():
    """What a screen reader does as it starts: the accessibility bus's
    IsEnabled, which the program reads when it starts."""
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled", GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, 10000, None)


def launch():
    """Starts the program as a desktop does, from its entry's Exec line."""
    # GLib gives no entry (PyGObject raises TypeError for it) where the file
    # is missing, is not a desktop entry, or its program is not installed.
    try:
        info = Gio.DesktopAppInfo.new_from_filename(ENTRY)
    except TypeError:
        info = None
    if info is None:
        fail(f"{ENTRY} is missing, invalid, or starts a program that is not installed")
    started = []
    flags = GLib.SpawnFlags.SEARCH_PATH | GLib.SpawnFlags.DO_NOT_REAP_CHILD
    info.launch_uris_as_manager([], Gio.AppLaunchContext(), flags, None, None,
                                lambda _info, pid, _data: started.append(pid), None)
    if not started:
        fail(f"{ENTRY} started nothing")
    return started[0]


def descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield child
            yield from descendants(child)


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid and app.get_child_count() > 0:
            return app
    return None


def control(app, name):
    return wait_for(f"the control {name}",
                    lambda: next((n for n in descendants(app) if n.get_name() == name), None))


def click(node):
    """A real click in the middle of the control, where the screen shows it."""
    box = Atspi.Component.get_extents(node, Atspi.CoordType.SCREEN)
    x, y = box.x + box.width // 2, box.y + box.height // 2
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"], check=True)


def text_of(node):
    return Atspi.Text.get_text(node, 0, -1)


def expanded(node):
    return node.get_state_set().contains(Atspi.StateType.EXPANDED)


def main():
    enable_accessibility()
    pid = launch()
    app = wait_for("the program on the accessibility bus", lambda: application(pid))
    phone, test, result = (control(app, n) for n in ("手机号码", "测算", "测算结果"))
    link, close = control(app, "其它功能"), control(app, "关闭程序")

    # With no window manager to give the window the keyboard as a click on it
    # would, the X server's input focus is set on it, as one would.
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(pid),
                    "--class", "phone-fortune", "windowfocus", "--sync"], check=True, timeout=30)
    click(phone)
    wait_for("the focus in the phone box",
             lambda: phone.get_state_set().contains(Atspi.StateType.FOCUSED))
    # The box holds a sample number: rubbed out, and the number typed.
    subprocess.run(["xdotool", "key", "End"] + ["BackSpace"] * 20, check=True)
    subprocess.run(["xdotool", "type", "--delay", "30", NUMBER], check=True)
    wait_for(f"{NUMBER} in the phone box", lambda: text_of(phone) == NUMBER)
    click(test)
    shown = wait_for("the verdict", lambda: VERDICT in text_of(result) and text_of(result))
    if NUMBER not in shown or MEANING not in shown:
        fail(f"the output box reads {shown!r}")
    print(f"window: {NUMBER} gives {VERDICT}, {MEANING}")

    click(link)
    wait_for("the panel open", lambda: expanded(link))
    click(link)
    wait_for("the panel closed", lambda: not expanded(link))
    print("window: the link opens and closes the panel")

    click(close)
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        ended, status = os.waitpid(pid, os.WNOHANG)
        if ended:
            break
        time.sleep(0.1)
    else:
        fail("the close mark left the program running")
    if os.waitstatus_to_exitcode(status) != 0:
        fail(f"the program ended with {os.waitstatus_to_exitcode(status)}")
    print("window: the close mark ends the program with status 0")


if __name__ == "__main__":
    main()
