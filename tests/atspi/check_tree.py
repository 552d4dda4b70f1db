#!/usr/bin/env python3
"""Reads the program over AT-SPI as a screen reader does: every control named in French, values
given as values, panels inside the window, the lamp moved by keys, a recorded measure announced.

Usage: check_tree.py PROGRAM. Exits 77 (skipped) when Xvfb, D-Bus, AT-SPI or pyatspi is missing.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
ENGLISH = {"Cancel", "Open", "Save", "Close", "Yes", "No", "Apply", "Help", "Print", "Form", "Dialog"}
VALUE_ROLES = {"spin button", "scroll bar", "slider"}


def main():
    program = os.path.abspath(sys.argv[1])
    if sys.argv[2:] == ["--inside"]:
        return inside(program)
    missing = [t for t in ("xvfb-run", "xauth", "dbus-run-session", "xdotool") if not shutil.which(t)]
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        missing.append("at-spi2-core")
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        missing.append("python3-pyatspi")
    if missing:
        print("skipped, missing: " + " ".join(missing))
        return SKIP
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, HOME=home, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        for var, sub in (("XDG_CONFIG_HOME", ".config"), ("XDG_DATA_HOME", ".local/share"),
                         ("XDG_CACHE_HOME", ".cache"), ("XDG_RUNTIME_DIR", "run")):
            env[var] = os.path.join(home, sub)
            os.makedirs(env[var], mode=0o700)
        cmd = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", "dbus-run-session", "--",
               sys.executable, os.path.abspath(__file__), program, "--inside"]
        run = subprocess.Popen(cmd, env=env, start_new_session=True)
        try:
            return run.wait(timeout=240)
        except subprocess.TimeoutExpired:
            print("FAIL: timed out")
            return 1
        finally:
            os.killpg(run.pid, signal.SIGKILL) if run.poll() is None else None


def inside(program):
    import pyatspi
    from gi.repository import GLib

    events = []
    pyatspi.Registry.registerEventListener(events.append, "object:property-change:accessible-value",
                                           "object:state-changed:showing")
    vorlac = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    failures = []

    def wait_for(what, timeout=20):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            while GLib.MainContext.default().iteration(False):
                pass
            found = what()
            if found:
                return found
            time.sleep(0.1)
        return None

    def objects(o):
        yield o
        # A table's cells are its items, named by their content: an empty one says "blank".
        for c in (o if o.getRoleName() not in ("table", "list") else []):
            if c is not None:
                yield from objects(c)

    def app():
        return next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "vorlac" and a.childCount), None)

    def find(role, name=None, root=None):
        root = root or app()
        return root and next((o for o in objects(root) if o.getRoleName() == role and name in (None, o.name)), None)

    def showing(o):
        return o.getState().contains(pyatspi.STATE_SHOWING)

    try:
        window = wait_for(lambda: app() and next((w for w in app() if w.name == "Le vorlac"), None), 60)
        if not window:
            print("FAIL: the window never reached AT-SPI")
            return 1
        wid = subprocess.run(["xdotool", "search", "--sync", "--limit", "1", "--name", "^Le vorlac$"],
                             capture_output=True, text=True, timeout=20).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", wid], timeout=20)
        # Every panel is opened by its icon, pressed as a screen reader presses it.
        for icon in [c for c in window if c.getRoleName() == "push button"]:
            icon.queryAction().doAction(0)
        if not wait_for(lambda: find("panel", "Paramétrer le vorlac")):
            failures.append("the icons did not open the panels, or the panels are not panels")
        for o in objects(window):
            if not showing(o) or o.parent is None:
                continue
            role = o.getRoleName()
            label = [r.getTarget(0).name for r in o.getRelationSet()
                     if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
            name = label[0] if label else o.name
            where = "%s %r in %r" % (role, name, o.parent.name)
            if role == "frame":
                failures.append("a frame inside the window: " + where)
            if not o.getState().contains(pyatspi.STATE_FOCUSABLE):
                continue
            if not name.strip() or name in ENGLISH or name == "Le vorlac":
                failures.append("no French name of its own: " + where)
            twins = [c for c in o.parent if c is not None and c != o and showing(c) and c.name == o.name
                     and c.getState().contains(pyatspi.STATE_FOCUSABLE) and c.getRoleName() != "list item"]
            if twins and role not in ("list item", "table cell"):
                failures.append("shares its name with a sibling: " + where)
            if role in VALUE_ROLES:
                v = o.queryValue()
                if not v.minimumValue <= v.currentValue <= v.maximumValue or v.minimumValue == v.maximumValue:
                    failures.append("no value: " + where)
            if role == "combo box" and not (label and o.queryText().getText(0, -1)):
                failures.append("a list without its caption or value: " + where)
        measures = find("panel", "Mesures")
        if not measures or not any(o.getRoleName() == "label" and any(ch.isdigit() for ch in o.name)
                                   and o.description and o.name != o.description for o in objects(measures)):
            failures.append("the measures are not read as numbers")
        # The lamp moved by a key: the scene's value follows, and its change is sent.
        lamp, scene = find("slider", "Lampe"), find("image", "Scène du prisme")
        if not (lamp and scene):
            failures.append("no lamp or no scene")
            return 1
        before = scene.queryValue().currentValue
        lamp.queryComponent().grabFocus()
        wait_for(lambda: lamp.getState().contains(pyatspi.STATE_FOCUSED), 10)
        del events[:]
        subprocess.run(["xdotool", "key", "Right"], timeout=20)
        if not wait_for(lambda: scene.queryValue().currentValue == before + 1, 10):
            failures.append("Right on the lamp left the incidence at %g" % scene.queryValue().currentValue)
        if not wait_for(lambda: any(e.type.startswith("object:property-change:accessible-value") for e in events)):
            failures.append("no value change was sent for the lamp")
        # A recorded measure is announced: the hint line, a notification, is shown again.
        subprocess.run(["xdotool", "key", "F9"], timeout=20)
        if not wait_for(lambda: any(e.type == "object:state-changed:showing" and e.detail1
                                    and e.source.getRoleName() == "notification"
                                    and e.source.name.startswith("Mesures relevées aux lignes 1 à 5") for e in events)):
            failures.append("the recorded measure was not announced")
    finally:
        vorlac.kill()
        vorlac.wait(timeout=20)
        for f in failures:
            print("FAIL: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
