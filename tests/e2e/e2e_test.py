#!/usr/bin/python3
"""End-to-end run of the real program under Xvfb with real X input.

Keys go in through xdotool (the X server's XTEST extension, as a keyboard would send them);
what the program shows is read back through the accessibility tree over AT-SPI, the interface a
screen reader uses, so nothing test-only is compiled into the program.

Road: type 0145, F5, read every value label; "&Tisk"; save a report file; load it; print it to
the default CUPS queue and wait for the PDF; close the preview with Esc; "&Konec".

usage: e2e_test.py PATH_TO_HB9CV
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from outcome import cannot_run, missing, pdfs, printed_pdf

try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, Gio, GLib
except (ImportError, ValueError) as e:
    NO_ATSPI = str(e)
else:
    NO_ATSPI = None

# Value labels by their accessible description, and what they show after 145 MHz.
EXPECTED = {
    "Vlnová délka": "2{s}06896551724138 m",
    "Délka zářiče": "951{s}7 mm",
    "Délka reflektoru": "1036{s}5 mm",
    "Vzdálenost reflektoru od zářiče": "258{s}6 mm",
    "Vzdálenost x napájecího vedení od zářiče": "20{s}6 mm",
    "Odbočka Tz na zářiči": "130{s}3 mm",
    "Odbočka Tr na reflektoru": "140{s}6 mm",
    "Průměr prvků": "Průměr 2{s}89 až 5{s}17 mm",
}


def log(*args):
    print("e2e:", *args, flush=True)


def wait_for(what, predicate, timeout=20.0, interval=0.1):
    end = time.monotonic() + timeout
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        # libatspi learns of new applications and children from D-Bus signals, which it
        # handles only while the main context runs.
        while context.pending():
            context.iteration(False)
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    raise AssertionError("timed out waiting for " + what)


class Session:
    """Xvfb, a private D-Bus session and the accessibility bus."""

    def __init__(self, workdir):
        read_fd, write_fd = os.pipe()
        # Without -noreset the server resets each time its last client leaves, and turns away a
        # connection that comes during the reset. The accessibility bus launcher, its registry
        # and libatspi here each connect for a moment just as the program starts: about one
        # start in seven the program was turned away ("could not connect to display") and
        # aborted.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-noreset", "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp"],
            pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
        os.close(write_fd)
        display = b""
        while not display.endswith(b"\n"):
            chunk = os.read(read_fd, 16)
            if not chunk:
                raise AssertionError("Xvfb did not start")
            display += chunk
        os.close(read_fd)
        # The number is written once the server takes clients.
        os.environ["DISPLAY"] = ":" + display.decode().strip()
        runtime = os.path.join(workdir, "runtime")
        os.makedirs(runtime, mode=0o700)
        os.environ["XDG_RUNTIME_DIR"] = runtime
        out = subprocess.check_output(
            ["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"]).decode().split()
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = out[0]
        self.dbus_pid = int(out[1])
        # The accessibility bus starts on demand and the program asks for it at start-up: start
        # it now, and stop here when it cannot start.
        subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                        "org.a11y.Bus.GetAddress"], stdout=subprocess.DEVNULL, check=True)
        log("display", os.environ["DISPLAY"])

    def close(self):
        self.xvfb.terminate()
        try:
            self.xvfb.wait(5)
        except subprocess.TimeoutExpired:
            self.xvfb.kill()
        try:
            os.kill(self.dbus_pid, signal.SIGTERM)
        except OSError:
            pass


def children(acc):
    for i in range(acc.get_child_count()):
        child = acc.get_child_at_index(i)
        if child is not None:
            yield child


def walk(acc, depth=0):
    yield acc
    if depth > 30:
        return
    for child in children(acc):
        yield from walk(child, depth + 1)


def showing(acc):
    return acc.get_state_set().contains(Atspi.StateType.SHOWING)


def find(root, role=None, name=None, description=None, need_showing=True):
    for acc in walk(root):
        try:
            if role is not None and acc.get_role() != role:
                continue
            if name is not None and acc.get_name() != name:
                continue
            if description is not None and acc.get_description() != description:
                continue
            if need_showing and not showing(acc):
                continue
            return acc
        except GLib.Error:
            continue
    return None


def app_named(name):
    desktop = Atspi.get_desktop(0)
    for app in children(desktop):
        if app.get_name() == name:
            return app
    return None


def press_without_waiting(acc):
    """Presses a button without waiting for the reply: a modal dialog would block it."""
    address = subprocess.check_output(
        ["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus", "/org/a11y/bus",
         "org.a11y.Bus.GetAddress"]).decode().strip()
    bus = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
        None, None)
    bus.call(acc.app.bus_name, acc.path, "org.a11y.atspi.Action", "DoAction",
             GLib.Variant("(i)", (0,)), None, Gio.DBusCallFlags.NO_AUTO_START, -1, None, None, None)
    bus.flush_sync(None)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True).stdout


def window_id(title):
    out = wait_for("window " + title,
                   lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                                          capture_output=True, text=True).stdout.split())
    return out[-1]


def focus_and(title, *keys_or_text, type_text=None):
    wid = window_id(title)
    xdotool("windowfocus", "--sync", wid)
    if type_text is not None:
        xdotool("type", "--delay", "30", type_text)
    for k in keys_or_text:
        xdotool("key", "--delay", "30", k)


def label_text(app, description):
    acc = find(app, role=Atspi.Role.LABEL, description=description)
    return acc.get_name() if acc else None


def main():
    program = os.path.abspath(sys.argv[1])
    if NO_ATSPI:
        return cannot_run(log, "no AT-SPI for Python: " + NO_ATSPI)
    tools = missing("Xvfb", "xdotool", "dbus-daemon", "dbus-send", "pdfinfo")
    if tools:
        return cannot_run(log, f"missing {tools}")
    work = tempfile.mkdtemp(prefix="hb9cv-e2e-")
    session = Session(os.path.join(work, "session"))
    app_proc = None
    try:
        # A private temporary directory shows whether the page stream's file is cleaned up.
        tmp = os.path.join(work, "tmp")
        os.makedirs(tmp)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   QT_ACCESSIBILITY="1", TMPDIR=tmp)
        files = os.path.join(work, "files")
        os.makedirs(files)
        app_proc = subprocess.Popen([program], cwd=files, env=env)
        app = wait_for("the program on the accessibility bus",
                       lambda: app_named("HB9CV") or app_proc.poll() is not None)
        assert app is not True, f"the program ended at start-up with {app_proc.returncode}"
        main_title = "Výpočet rozměrů antény typu HB9CV"
        wait_for("the main window", lambda: find(app, role=Atspi.Role.FRAME, name=main_title))
        separator = None

        # Type 0,1,4,5 over the selected initial text, then F5.
        focus_and(main_title, "F5", type_text="0145")
        wait_for("the results", lambda: label_text(app, "Délka zářiče") not in (None, "Zářič"))
        z = label_text(app, "Délka zářiče")
        separator = "," if "," in z else "."
        for name, expected in EXPECTED.items():
            got = label_text(app, name)
            want = expected.format(s=separator)
            assert got == want, f"{name}: {got!r} != {want!r}"
        log("labels after 145 MHz:", z, label_text(app, "Průměr prvků"))

        # "&Tisk" opens the preview.
        focus_and(main_title, "alt+t")
        preview = wait_for("the preview", lambda: find(app, role=Atspi.Role.FRAME, name="Print Preview"))
        wait_for("page 1 of 1", lambda: find(preview, role=Atspi.Role.LABEL, name="Page 1 of 1"))
        log("preview open")

        # The page stream's file, unnamed or not, shows among the program's open files.
        def temporary_files():
            fds = f"/proc/{app_proc.pid}/fd"
            links = []
            for fd in os.listdir(fds):
                try:
                    links.append(os.readlink(os.path.join(fds, fd)))
                except OSError:
                    pass
            return [link for link in links if link.startswith(tmp + "/")]

        assert len(temporary_files()) == 1, temporary_files()

        # Save the report.
        report = os.path.join(files, "antenna.QRP")
        press_without_waiting(find(preview, role=Atspi.Role.PUSH_BUTTON, description="Save Report"))
        wait_for("the save dialog", lambda: find(app, name="Save report"))
        focus_and("Save report", "Return", type_text=report)
        wait_for("the report file", lambda: os.path.exists(report) and os.path.getsize(report) > 128)
        with open(report, "rb") as f:
            data = f.read()
        assert data[0:4] == bytes([3, 0, 0x31, 0x01]), data[0:4]
        assert int.from_bytes(data[8:12], "little") == 1
        assert int.from_bytes(data[-4:], "little") == 128
        log("saved", len(data), "bytes")

        # Load it back.
        press_without_waiting(find(preview, role=Atspi.Role.PUSH_BUTTON, description="Load Report"))
        wait_for("the load dialog", lambda: find(app, name="Load report"))
        focus_and("Load report", "Return", type_text=report)
        wait_for("the dialog to close", lambda: find(app, name="Load report") is None)
        setup = wait_for("printer setup disabled", lambda: (
            lambda b: b if b and not b.get_state_set().contains(Atspi.StateType.ENABLED) else None)(
                find(preview, role=Atspi.Role.PUSH_BUTTON, description="Printer setup")))
        assert setup is not None
        log("loaded")

        # Print the stored page to the default queue.
        before = pdfs()
        press_without_waiting(find(preview, role=Atspi.Role.PUSH_BUTTON, description="Print"))
        log("printed", printed_pdf(before))

        # Esc closes the preview, "&Konec" ends the program.
        focus_and("Print Preview", "Escape")
        wait_for("the preview to close", lambda: find(app, role=Atspi.Role.FRAME, name="Print Preview") is None)
        wait_for("the temporary file to close", lambda: not temporary_files())
        focus_and(main_title, "alt+k")
        rc = app_proc.wait(20)
        assert rc == 0, rc
        app_proc = None
        leftovers = [f for f in os.listdir(tmp) if f.startswith("QRP")]
        assert not leftovers, leftovers
        log("passed")
        return 0
    finally:
        if app_proc is not None:
            app_proc.kill()
        session.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
