#!/usr/bin/env python3
"""The running window read over the desktop accessibility bus, as a screen
reader reads it, in a private D-Bus session and X server.
Usage: atspi_names.py <config executable>. Exits 77 when a tool is missing."""
import os, shutil, subprocess, sys, tempfile, time

from desktop_session import APP, enter_private_session, make_game, skip, report, start_xvfb, stop

PACKAGES = "dbus, at-spi2-core, python3-pyatspi, xvfb, xdotool"
enter_private_session(("xdotool",), PACKAGES)
try:
    import pyatspi
except ImportError:
    skip("pyatspi is not importable by " + sys.executable, PACKAGES)


def wait_for(what, probe, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        if probe():
            return probe()
        time.sleep(0.2)
    sys.exit("FAILED: timed out waiting for " + what)


def heard(o):
    # A key list is heard as its setting, then its text: the bound key.
    if o.getRole() == pyatspi.ROLE_COMBO_BOX:
        return "%s = %s" % (o.name, o.queryText().getText(0, -1))
    return o.name


def capture(combo, env):
    """Enter on Turn Left: it asks for the key; Escape gives back its own sentence."""
    own = combo.description
    if not own.endswith(" Press Enter, then the key you want."):
        return ["Turn Left does not say how to set its key: %r" % own]
    # No window manager hands the window the keyboard.
    xdotool = lambda *args: subprocess.run(("xdotool",) + args, env=env, check=True, timeout=30,
                                           capture_output=True, text=True).stdout
    xdotool("windowfocus", "--sync", xdotool("search", "--sync", "--onlyvisible", "--name", "^%s$" % APP).split()[0])
    combo.queryComponent().grabFocus()
    wait_for("Turn Left to take the focus", lambda: combo.getState().contains(pyatspi.STATE_FOCUSED), 10)
    for key, said in (("Return", "Press the key for Turn Left; Escape cancels."), ("Escape", own)):
        xdotool("key", key)
        wait_for("Turn Left to say %r after %s" % (said, key), lambda: combo.description == said, 10)
    return []


def check(top, env):
    parts = lambda: [top[i] for i in range(top.childCount)]
    failures = []
    focusable = {heard(p): p for p in parts() if p.getState().contains(pyatspi.STATE_FOCUSABLE)}
    # 23 distinct names, none of them empty; the key lists with their keys (205 is Right).
    keys = {"Turn Left = Left", "Turn Right = Right", "Jump = Space", "Sharp Left = A", "Sharp Right = D"}
    if len(focusable) != 23 or "" in focusable or not keys <= set(focusable):
        failures.append("focusable controls heard as %s" % sorted(focusable))
    if top.getRole() != pyatspi.ROLE_FRAME:
        failures.append("the window is a %s, not a frame" % top.getRoleName())
    images = [p.name for p in parts() if p.getRole() == pyatspi.ROLE_IMAGE]
    if len(images) != 9 or not all(" preview: " in n for n in images):
        failures.append("preview pictures met: %s" % images)
    particles = focusable.get("Particles")
    if not particles or not particles.getState().contains(pyatspi.STATE_INDETERMINATE) \
            or particles.getState().contains(pyatspi.STATE_CHECKED) \
            or "grayed" not in particles.description:
        failures.append("the grayed Particles check box is not reported as grayed")
    if "Masking" in focusable:
        focusable["Masking"].queryAction().doAction(0)
        wait_for("the Masking picture to follow its check box",
                 lambda: any(p.name.startswith("Masking preview: on") for p in parts()), 10)
    return failures + (capture(focusable["Turn Left = Left"], env) if "Turn Left = Left" in focusable else [])


def main():
    work = tempfile.mkdtemp()
    children = []
    try:
        config = make_game(work, sys.argv[1])
        env = dict(os.environ, DISPLAY=start_xvfb(children), QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        children.append(subprocess.Popen([config], env=env))
        apps = lambda: [a for a in pyatspi.Registry.getDesktop(0) if a and a.name == APP and a.childCount]
        return report(check(wait_for("the window on the accessibility bus", apps)[0][0], env))
    finally:
        stop(children)
        shutil.rmtree(work, ignore_errors=True)


sys.exit(main())
