#!/usr/bin/env python3
"""Reads the running window over the desktop accessibility bus (AT-SPI), as a
screen reader would: every focusable control has a name, the preview pictures
on show describe themselves and follow their controls, a grayed check box is
reported as such. Runs itself inside a private D-Bus session and X server.
Usage: atspi_names.py <config executable>. Exit 77 when a tool is missing."""
import os, shutil, subprocess, sys, tempfile, time

SKIP = 77
LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def skip(why):
    print("SKIPPED: " + why + " (Debian packages dbus, at-spi2-core, python3-pyatspi, xvfb)")
    sys.exit(SKIP)


if "TRELVANE_ATSPI_SESSION" not in os.environ:
    for tool in ("dbus-run-session", "Xvfb"):
        if not shutil.which(tool):
            skip(tool + " is not installed")
    if not os.access(LAUNCHER, os.X_OK):  # started by D-Bus when the first client asks for the bus
        skip(LAUNCHER + " is not installed")
    os.environ["TRELVANE_ATSPI_SESSION"] = "1"
    # The bus launcher puts its socket in the runtime folder: one of its own keeps runs apart.
    with tempfile.TemporaryDirectory() as runtime:
        os.environ["XDG_RUNTIME_DIR"] = runtime
        sys.exit(subprocess.call(["dbus-run-session", "--", sys.executable] + sys.argv))

try:
    import pyatspi
except ImportError:
    skip("pyatspi is not importable by " + sys.executable)

FOCUSABLE = {"Sphere Detail", "Score Odometer Detail", "Complex Score", "Complex Level",
             "Transparency", "Display FPS", "Masking", "Mirror", "Particles", "Turn Left",
             "Turn Right", "Jump", "Sharp Left", "Sharp Right", "Message Transition Speed",
             "Sound Effects", "Sound Effects volume", "Background Music",
             "Background Music volume", "Reset High Scores", "OK", "Restore Defaults", "Cancel"}
# Particles grayed (2), masking off.
SETTINGS = "3\r\n8\r\n1\r\n1\r\n1\r\n0\r\n1\r\n0\r\n40\r\n1\r\n.75\r\n1\r\n.5\r\n2\r\n203\r\n205\r\n57\r\n30\r\n32\r\n"


def wait_for(what, probe, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    sys.exit("FAILED: timed out waiting for " + what)


def heard(o):
    # Qt names a key list by its selected key and ties its caption by the labelled-by relation.
    if o.getRole() == pyatspi.ROLE_COMBO_BOX:
        for r in o.getRelationSet():
            if r.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                return r.getTarget(0).name.rstrip(":")
    return o.name


def main():
    work = tempfile.mkdtemp()
    game = os.path.join(work, "game")
    os.makedirs(game)
    shutil.copy(sys.argv[1], game)
    with open(os.path.join(game, "trelvane.cfg"), "w", newline="") as f:
        f.write(SETTINGS)
    children = []
    try:
        read, write = os.pipe()
        children.append(subprocess.Popen(["Xvfb", "-nolisten", "tcp", "-displayfd", str(write)], pass_fds=[write],
                                        stderr=subprocess.DEVNULL))
        os.close(write)
        display = ":" + os.read(read, 16).decode().strip()
        if display == ":":
            sys.exit("FAILED: Xvfb did not start")
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        children.append(subprocess.Popen([os.path.join(game, os.path.basename(sys.argv[1]))], env=env))

        def window():
            for app in pyatspi.Registry.getDesktop(0):
                if app is not None and app.name == "config" and app.childCount:
                    return app[0]
        top = wait_for("the window on the accessibility bus", window)
        parts = lambda: [top[i] for i in range(top.childCount)]

        failures = []
        focusable = [p for p in parts() if p.getState().contains(pyatspi.STATE_FOCUSABLE)]
        names = sorted(heard(p) for p in focusable)
        if names != sorted(FOCUSABLE):
            failures.append("focusable controls heard as %s" % names)
        images = [p.name for p in parts() if p.getRole() == pyatspi.ROLE_IMAGE]
        if len(images) != 9 or not all(" preview: " in n for n in images):
            failures.append("preview pictures met: %s" % images)
        boxes = {p.name: p for p in focusable if p.getRole() == pyatspi.ROLE_CHECK_BOX}
        particles, masking = boxes.get("Particles"), boxes.get("Masking")
        if not particles or not particles.getState().contains(pyatspi.STATE_INDETERMINATE) \
                or "grayed" not in particles.description:
            failures.append("the grayed Particles check box is not reported as grayed")
        if masking:
            masking.queryAction().doAction(0)
            wait_for("the Masking picture to follow its check box",
                     lambda: any(p.name.startswith("Masking preview: on") for p in parts()), 10)
        for f in failures:
            print("FAILED: " + f)
        return 1 if failures else 0
    finally:
        for c in reversed(children):
            c.terminate()
            c.wait()
        shutil.rmtree(work, ignore_errors=True)


sys.exit(main())
