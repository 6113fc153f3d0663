"""What the accessibility-bus tests share: a private D-Bus session, a private X
server and a game folder holding the utility and one settings file."""
import os, shutil, subprocess, sys, tempfile

APP = "Trelvane Configuration Utility"  # the window's title, and what readers call the program
# Particles grayed (2), masking off; the keys Left, Right, Space, A and D.
SETTINGS = "3\r\n8\r\n1\r\n1\r\n1\r\n0\r\n1\r\n0\r\n40\r\n1\r\n.75\r\n1\r\n.5\r\n2\r\n203\r\n205\r\n57\r\n30\r\n32\r\n"


def skip(why, packages):
    print("SKIPPED: %s (Debian packages %s)" % (why, packages))
    sys.exit(77)


def enter_private_session(tools, packages):
    """Runs this script again inside its own D-Bus session, unless it already is there."""
    if "TRELVANE_ATSPI_SESSION" in os.environ:
        return
    for tool in ("dbus-run-session", "Xvfb", "/usr/libexec/at-spi-bus-launcher") + tools:
        if not shutil.which(tool):
            skip(tool + " is not installed", packages)
    os.environ["TRELVANE_ATSPI_SESSION"] = "1"
    # The bus launcher, started by D-Bus on the first request, puts its socket in the runtime
    # folder: one of its own keeps runs apart.
    with tempfile.TemporaryDirectory() as runtime:
        os.environ["XDG_RUNTIME_DIR"] = runtime
        sys.exit(subprocess.call(["dbus-run-session", "--", sys.executable] + sys.argv))


def make_game(work, executable):
    """A game folder in work with the utility and SETTINGS; the path of the utility there."""
    game = os.path.join(work, "game")
    os.makedirs(game)
    shutil.copy(executable, game)
    with open(os.path.join(game, "trelvane.cfg"), "w", newline="") as f:
        f.write(SETTINGS)
    return os.path.join(game, os.path.basename(executable))


def start_xvfb(children):
    """Starts a 1280 x 1024 X server on a free display, added to children; its name (":93")."""
    read, write = os.pipe()
    children.append(subprocess.Popen(["Xvfb", "-nolisten", "tcp", "-screen", "0", "1280x1024x24",
                                      "-displayfd", str(write)], pass_fds=[write], stderr=subprocess.DEVNULL))
    os.close(write)
    display = ":" + os.read(read, 16).decode().strip()
    if display == ":":
        sys.exit("FAILED: Xvfb did not start")
    return display


def report(failures):
    """Prints each failure; the script's exit status."""
    for f in failures:
        print("FAILED: " + f)
    return 1 if failures else 0


def stop(children):
    for c in reversed(children):
        if c.poll() is None:
            c.terminate()
            try:
                c.wait(5)
            except subprocess.TimeoutExpired:
                c.kill()
                c.wait()
