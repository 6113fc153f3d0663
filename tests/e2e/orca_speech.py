#!/usr/bin/env python3
"""What the Orca screen reader says while a player tabs through the running
window, read from Orca's debug log, in a private D-Bus session and X server.
Usage: orca_speech.py <config executable>. Exits 77 when orca or another tool
is missing: the setup does not install Orca."""
import os, re, shutil, subprocess, sys, tempfile, time


def skip(why):
    print("SKIPPED: %s (Debian packages orca, at-spi2-core, dbus, xvfb, openbox, xdotool)" % why)
    sys.exit(77)


if "TRELVANE_ORCA_SESSION" not in os.environ:
    for tool in ("orca", "dbus-run-session", "Xvfb", "openbox", "xdotool", "/usr/libexec/at-spi-bus-launcher"):
        if not shutil.which(tool):
            skip(tool + " is not installed")
    os.environ["TRELVANE_ORCA_SESSION"] = "1"
    sys.exit(subprocess.call(["dbus-run-session", "--", sys.executable] + sys.argv))

# Particles grayed (2); the keys Left, Right, Space, A and D.
SETTINGS = "3\r\n8\r\n1\r\n1\r\n1\r\n0\r\n1\r\n0\r\n40\r\n1\r\n.75\r\n1\r\n.5\r\n2\r\n203\r\n205\r\n57\r\n30\r\n32\r\n"

# The keys pressed after the window opens, on Sphere Detail: eight Tabs to the
# grayed Particles box, Space, Tab to Turn Left, Down, then Tab through the lists.
KEYS = ["Tab"] * 8 + ["space", "Tab", "Down", "Tab", "Tab", "Tab", "Tab"]
# What Orca must say, in this order; other utterances may come between.
HEARD = ["Particles: check box partially checked.",
         "Particles: check box not checked.",
         "Turn Left: combo box.", "Left.",
         "Right.",  # Down: the key after Left in the lists
         "Turn Right: combo box.", "Right.",
         "Jump: combo box.", "Space.",
         "Sharp Left: combo box.", "A.",
         "Sharp Right: combo box.", "D."]

SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*(?:\{|$)")


def said(log, start):
    with open(log, errors="replace") as f:
        f.seek(start)
        return [m.group(1) for m in SPEECH.finditer(f.read())]


def log_size(log):
    return os.path.getsize(log) if os.path.exists(log) else 0


def wait_for(probe, seconds):
    end = time.time() + seconds
    while time.time() < end:
        if probe():
            return True
        time.sleep(0.2)
    return False


def main():
    work = tempfile.mkdtemp()
    game, runtime, home = (os.path.join(work, d) for d in ("game", "run", "home"))
    for d in (game, runtime, home):
        os.makedirs(d, mode=0o700)
    shutil.copy(sys.argv[1], game)
    with open(os.path.join(game, "trelvane.cfg"), "w", newline="") as f:
        f.write(SETTINGS)
    log = os.path.join(work, "orca.log")
    children = []
    quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        read, write = os.pipe()
        children.append(subprocess.Popen(["Xvfb", "-nolisten", "tcp", "-screen", "0", "1280x1024x24",
                                          "-displayfd", str(write)], pass_fds=[write], **quiet))
        os.close(write)
        display = ":" + os.read(read, 16).decode().strip()
        if display == ":":
            sys.exit("FAILED: Xvfb did not start")
        env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime, HOME=home, QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        children.append(subprocess.Popen(["openbox"], env=env, **quiet))  # gives the window the focus
        children.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env, **quiet))
        children.append(subprocess.Popen(["orca", "--replace", "-u", os.path.join(work, "prefs"),
                                          "--debug-file", log], env=env, **quiet))
        # Orca is listening once it has chosen its first script; its speech follows.
        if not wait_for(lambda: os.path.exists(log) and "activating script" in open(log, errors="replace").read(),
                        60):
            sys.exit("FAILED: Orca did not start")
        time.sleep(3)
        start = log_size(log)
        children.append(subprocess.Popen([os.path.join(game, "config")], cwd=game, env=env, **quiet))
        try:
            subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Trelvane Configuration Utility$"],
                           env=env, check=True, timeout=30, **quiet)
        except subprocess.SubprocessError:
            sys.exit("FAILED: the window did not open")
        time.sleep(3)  # for Orca to meet it
        # Orca writes its log in blocks: the words are read once it has ended.
        subprocess.run(["xdotool", "key", "--delay", "1200"] + KEYS, env=env, check=True)
        time.sleep(2)
        for c in reversed(children[2:]):
            c.terminate()
            c.wait(10)
        words = said(log, start)
        print("Orca said:\n  " + "\n  ".join(words))
        failures = []
        left = iter(words)  # each expected utterance is looked for after the one before
        missing = [h for h in HEARD if h not in left]
        if missing:
            failures.append("not heard in order from %r on" % missing[0])
        after = words[words.index(HEARD[0]) + 1:] if HEARD[0] in words else []
        if any("partially" in w for w in after):
            failures.append("the Particles box was still said to be partially checked after Space")
        for f in failures:
            print("FAILED: " + f)
        return 1 if failures else 0
    finally:
        for c in reversed(children):
            if c.poll() is None:
                c.terminate()
                try:
                    c.wait(5)
                except subprocess.TimeoutExpired:
                    c.kill()
                    c.wait()
        shutil.rmtree(work, ignore_errors=True)


sys.exit(main())
