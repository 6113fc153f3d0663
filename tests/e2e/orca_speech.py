#!/usr/bin/env python3
"""What the Orca screen reader says while a player tabs through the running
window, read from Orca's debug log, in a private D-Bus session and X server.
Usage: orca_speech.py <config executable>. Exits 77 when orca or another tool
is missing: the setup does not install Orca."""
import json, os, re, shutil, subprocess, sys, tempfile, time

from desktop_session import APP, enter_private_session, make_game, report, start_xvfb, stop

enter_private_session(("orca", "xdotool"), "orca, at-spi2-core, dbus, xvfb, xdotool")

# From Sphere Detail, which has the focus at start: eight Tabs to the grayed Particles box, Space, Tab to
# Turn Left, Down, then Tab through the other lists. Each step waits for what
# Orca says of it, lest a loaded machine have Orca drop a focus change.
STEPS = [(["Tab"] * 8, "Particles: check box partially checked."), (["space"], "Particles: check box not checked."),
         (["Tab"], "Turn Left: combo box."), (["Down"], None), (["Tab"], "Turn Right: combo box."),
         (["Tab"], "Jump: combo box."), (["Tab"], "Sharp Left: combo box."), (["Tab"], "Sharp Right: combo box.")]
# What Orca must say, in this order; other utterances may come between.
HEARD = ["Particles: check box partially checked.", "Particles: check box not checked.",
         "Turn Left: combo box.", "Left.", "Right.",  # Down: the key after Left
         "Turn Right: combo box.", "Right.", "Jump: combo box.", "Space.",
         "Sharp Left: combo box.", "A.", "Sharp Right: combo box.", "D."]


def main():
    work = tempfile.mkdtemp()
    log = os.path.join(work, "orca.log")
    children = []
    quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        config = make_game(work, sys.argv[1])
        env = dict(os.environ, DISPLAY=start_xvfb(children), HOME=work, QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        children.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env, **quiet))
        # Speech off: the log still gets every utterance, and Orca does not wait for a speech server.
        prefs = os.path.join(work, "prefs")
        os.makedirs(prefs)
        with open(os.path.join(prefs, "user-settings.conf"), "w") as f:
            json.dump({"general": {"enableSpeech": False}, "pronunciations": {}, "keybindings": {},
                       "profiles": {"default": {"profile": ["Default", "default"]}}}, f)
        children.append(subprocess.Popen(["orca", "--replace", "-u", prefs, "--debug-file", log],
                                         env=env, **quiet))
        # Orca writes its log in blocks; the lines a key makes it write push the block out.
        def wait_for_log(text, seconds):
            end = time.time() + seconds
            while time.time() < end:
                if os.path.exists(log) and text in open(log, errors="replace").read():
                    return True
                subprocess.run(["xdotool", "key", "shift"], env=env, **quiet)
                time.sleep(0.5)
            return False

        # Orca's own start, in a fresh session, sometimes stalls on a loaded
        # machine; that says nothing of the window, so the test is not run then.
        if not wait_for_log("Screen reader on.", 60):
            print("Orca did not start within a minute: not tested", flush=True)
            return 77
        print("Orca started", flush=True)
        children.append(subprocess.Popen([config], cwd=os.path.dirname(config), env=env, **quiet))
        if not wait_for_log(APP, 60):
            sys.exit("FAILED: Orca did not meet the window")
        print("Orca met the window", flush=True)
        # No window manager runs to hand the window the focus, and without it
        # no key reaches the window: the test gives it the focus itself.
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", APP], env=env,
                                capture_output=True, text=True, timeout=60).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window], env=env, check=True, timeout=60)
        if not wait_for_log("SPEECH OUTPUT: 'Sphere Detail: slider", 60):
            print("".join(open(log, errors="replace").readlines()[-40:]))
            sys.exit("FAILED: Orca said nothing of the first control; the end of its log is above")
        for keys, said in STEPS:
            subprocess.run(["xdotool", "key", "--delay", "300"] + keys, env=env, check=True)
            if not said or not wait_for_log(said, 30):  # what is missing then is told below
                time.sleep(1.5)
        stop(children[1:])  # and the last block once Orca has ended
        with open(log, errors="replace") as f:
            words = re.findall(r"SPEECH OUTPUT: '(.*?)'\s*(?:\{|$)", f.read(), re.MULTILINE)
        print("Orca said:\n  " + "\n  ".join(words))
        rest = iter(words)  # each utterance is looked for after the one before
        missing = [h for h in HEARD if h not in rest]
        after_space = words[words.index(HEARD[1]) + 1:] if HEARD[1] in words else []
        failures = ["not heard in order from %r on" % missing[0]] if missing else []
        failures += ["Particles said to be partially checked again"] if any("partially" in w for w in after_space) else []
        return report(failures)
    finally:
        stop(children)
        shutil.rmtree(work, ignore_errors=True)


sys.exit(main())
