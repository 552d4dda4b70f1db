#!/usr/bin/env python3
"""The program read over AT-SPI as a screen reader reads it. Usage: check_tree.py PROGRAM.
Exits 77 (skipped) when Xvfb, D-Bus, AT-SPI or pyatspi is missing."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def main():
    if sys.argv[2:] == ["--inside"]:
        return inside(sys.argv[1])
    missing = [t for t in ("xvfb-run", "xauth", "dbus-run-session", "xdotool") if not shutil.which(t)]
    missing += [] if os.path.exists("/usr/libexec/at-spi-bus-launcher") else ["at-spi2-core"]
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        missing.append("python3-pyatspi")
    if missing:
        print("skipped, missing: " + " ".join(missing))
        return 77
    with tempfile.TemporaryDirectory() as home:  # never the user's settings
        env = dict(os.environ, HOME=home, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        for var in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"):
            env[var] = os.path.join(home, var)
            os.mkdir(env[var], 0o700)
        run = subprocess.Popen(["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", "dbus-run-session", "--",
                                sys.executable, __file__, os.path.abspath(sys.argv[1]), "--inside"],
                               env=env, start_new_session=True)
        try:
            return run.wait(timeout=540)
        except subprocess.TimeoutExpired:
            print("FAIL: timed out")
            return 1
        finally:
            if run.poll() is None:
                os.killpg(run.pid, signal.SIGKILL)


def inside(program):
    import pyatspi
    from gi.repository import GLib

    events, failures = [], []
    pyatspi.Registry.registerEventListener(events.append, "object:property-change:accessible-value",
                                           "object:state-changed:showing", "object:state-changed:focused")
    vorlac = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # Each wait ends on the event or state it waits for; the time limit only stops a program that
    # never answers, and is long enough for a machine busy with other work.
    def wait_for(what, timeout=120):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            while GLib.MainContext.default().iteration(False):
                pass
            found = what()
            if found:
                return found
            time.sleep(0.02)
        return None

    def sent(kind, test):
        return lambda: any(e.type.endswith(kind) and test(e) for e in events)

    def objects(o):  # a table's or a list's items are named by their content, maybe empty
        yield o
        for c in (o if o.getRoleName() not in ("table", "list") else []):
            yield from objects(c) if c is not None else ()

    def find(role, name, root):
        return next((o for o in objects(root) if o.getRoleName() == role and o.name == name), None)

    def has(o, state):
        return o.getState().contains(state)

    def key(name):
        subprocess.run(["xdotool", "key", name], timeout=20)

    try:
        app = lambda: next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "vorlac"), None)
        window = wait_for(lambda: app() and next((w for w in app() if w.name == "Le vorlac"), None), 180)
        wid = subprocess.run(["xdotool", "search", "--sync", "--limit", "1", "--name", "^Le vorlac$"],
                             capture_output=True, text=True, timeout=20).stdout.split()
        subprocess.run(["xdotool", "windowfocus", "--sync"] + wid, timeout=20)
        for icon in [c for c in window if c.getRoleName() == "push button" and c.name != "Projection"]:
            icon.queryAction().doAction(0)  # each panel opened by its icon, pressed by the reader
        if not wait_for(lambda: find("panel", "Paramétrer le vorlac", window)):
            failures.append("the icons opened no panels, or the panels are not panels")
        for o in objects(window):
            if not has(o, pyatspi.STATE_SHOWING):
                continue
            role, name = o.getRoleName(), o.name
            label = [r.getTarget(0).name for r in o.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
            where = "%s %r in %r" % (role, name, o.parent.name)
            if role == "frame":
                failures.append("a window inside the window: " + where)
            if not has(o, pyatspi.STATE_FOCUSABLE):
                continue
            if not name.strip() or name in ("Le vorlac", "Open", "Save", "Cancel", "Close", "Print", "Help"):
                failures.append("no French name of its own: " + where)
            if any(c != o and c.name == name and has(c, pyatspi.STATE_SHOWING) and has(c, pyatspi.STATE_FOCUSABLE)
                   for c in o.parent if c is not None):
                failures.append("a name shared with a sibling: " + where)
            if role in ("spin button", "scroll bar", "slider"):
                v = o.queryValue()
                if not v.minimumValue <= v.currentValue <= v.maximumValue or v.minimumValue == v.maximumValue:
                    failures.append("no value: " + where)
            if role == "combo box" and not (label and o.queryText().getText(0, -1)):
                failures.append("a list without its caption or its choice as text: " + where)
        if not any(o.getRoleName() == "label" and o.name[:1].isdigit() and o.description
                   for o in objects(find("panel", "Mesures", window))):
            failures.append("the measures are not read as numbers")
        # Right on the lamp: the scene's value follows and its change is sent.
        lamp, scene = find("slider", "Lampe", window), find("image", "Scène du prisme", window)
        before = scene.queryValue().currentValue
        lamp.queryComponent().grabFocus()
        # The key goes to the focused window: pressed only once the lamp says it has the focus.
        if not wait_for(lambda: has(lamp, pyatspi.STATE_FOCUSED)
                        or sent("focused", lambda e: e.detail1 and e.source.name == "Lampe")()):
            failures.append("the lamp never took the focus")
        key("Right")
        if not wait_for(sent("accessible-value", lambda e: e.source.name == "Lampe")):
            failures.append("no value change was sent for the lamp")
        if not wait_for(lambda: scene.queryValue().currentValue == before + 1):
            failures.append("Right on the lamp left the incidence at %g" % scene.queryValue().currentValue)
        key("F9")  # the recorded measure: the hint line, a notification, shown again
        if not wait_for(sent("showing", lambda e: e.detail1 and e.source.getRoleName() == "notification"
                             and e.source.name.startswith("Mesures relevées aux lignes 1 à 5"))):
            failures.append("the recorded measure was not announced")
    finally:
        vorlac.kill()
        vorlac.wait(timeout=20)
        for f in failures:
            print("FAIL: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
