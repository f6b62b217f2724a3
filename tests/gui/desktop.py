"""A private X display and session bus with the processes started on them.

Everything started here is tracked by PID and stopped by close(), also when a
check fails half-way. Waits poll with short steps and a bounded timeout and
name what did not appear.
"""

import os
import shutil
import signal
import subprocess
import time

POLL_SECONDS = 0.03
DEFAULT_TIMEOUT = 10.0
# A program's first window: a cold start (a fresh machine's font caches, the
# sanitizers, a busy CI machine) takes far longer than a change of state.
STARTUP_TIMEOUT = 60.0


class WaitTimeout(Exception):
    pass


def wait_for(what, probe, timeout=DEFAULT_TIMEOUT):
    """Returns probe()'s first truthy result, or raises naming `what`."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise WaitTimeout(f"timed out after {timeout:g} s waiting for: {what}")
        time.sleep(POLL_SECONDS)


def require_tools(*names):
    missing = [name for name in names if shutil.which(name) is None]
    if missing:
        raise SystemExit(
            "missing programs: " + ", ".join(missing) + " (tools/install-deps installs them)"
        )


class Desktop:
    """Xvfb without a window manager, plus the processes run on it."""

    def __init__(self, work_dir):
        self.work_dir = work_dir
        self._processes = []  # (name, Popen), started order
        self.env = dict(os.environ)
        # Pixel positions below assume 96 DPI without scaling.
        for name in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI",
                     "WAYLAND_DISPLAY"):
            self.env.pop(name, None)
        self.env.update(
            QT_QPA_PLATFORM="xcb",
            QT_ACCESSIBILITY="0",
            XDG_CONFIG_HOME=os.path.join(work_dir, "config"),
            XDG_RUNTIME_DIR=os.path.join(work_dir, "runtime"),
        )
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
        try:
            self._start_display()
        except BaseException:
            self.close()
            raise

    def _start_display(self):
        # Xvfb picks a free display itself and tells its number through a pipe.
        read_end, write_end = os.pipe()
        try:
            self.start(
                "Xvfb",
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                 "-nolisten", "tcp", "-dpi", "96"],
                pass_fds=(write_end,),
            )
            os.close(write_end)
            write_end = -1
            number = b""
            deadline = time.monotonic() + DEFAULT_TIMEOUT
            while not number.endswith(b"\n"):
                if time.monotonic() > deadline:
                    raise WaitTimeout("Xvfb did not report its display")
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise WaitTimeout("Xvfb ended before reporting its display")
                number += chunk
        finally:
            os.close(read_end)
            if write_end >= 0:
                os.close(write_end)
        self.env["DISPLAY"] = ":" + number.decode().strip()

    def start(self, name, argv, env_overrides=None, pass_fds=(), cwd=None):
        env = dict(self.env)
        env.update(env_overrides or {})
        log = open(os.path.join(self.work_dir, name.replace(" ", "_") + ".log"), "ab")
        try:
            process = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=log,
                                       stderr=subprocess.STDOUT, pass_fds=pass_fds, cwd=cwd)
        finally:
            log.close()
        self._processes.append((name, process))
        return process

    def stop(self, process, timeout=5.0):
        """Ends one started process by its PID; returns its exit code."""
        if process.poll() is None:
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self._processes = [(n, p) for n, p in self._processes if p is not process]
        return process.returncode

    def close(self):
        for _, process in reversed(list(self._processes)):
            self.stop(process)

    def run(self, *argv):
        """Runs an X client to completion and returns its stdout."""
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True)
        return result.stdout if result.returncode == 0 else ""

    def bus_name_owner(self, name):
        """PID of the process owning a session-bus name, or None."""
        reply = self.run("dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                         "/org/freedesktop/DBus", "org.freedesktop.DBus.GetConnectionUnixProcessID",
                         "string:" + name)
        words = reply.split()
        return int(words[-1]) if words and words[-1].isdigit() else None

    # Windows: without a window manager every window is a plain top-level.
    def visible_windows(self, name_regex, pid=None):
        argv = ["xdotool", "search", "--all", "--onlyvisible"]
        if pid is not None:
            argv += ["--pid", str(pid)]
        return [int(w) for w in self.run(*argv, "--name", name_regex).split()]

    def wait_window(self, description, name_regex, pid=None, timeout=DEFAULT_TIMEOUT):
        windows = wait_for(f"window '{description}' to appear",
                           lambda: self.visible_windows(name_regex, pid), timeout)
        return windows[-1]

    def wait_window_gone(self, description, window, timeout=DEFAULT_TIMEOUT):
        wait_for(f"window '{description}' to close",
                 lambda: "IsViewable" not in self.run("xwininfo", "-id", str(window)), timeout)

    def focus(self, window):
        """Waits for the window to hold the keyboard focus, as the toolkit gives it."""
        def has_focus():
            return self.run("xdotool", "getwindowfocus").strip() == str(window)
        try:
            wait_for("keyboard focus", has_focus, 2.0)
        except WaitTimeout:
            self.run("xdotool", "windowfocus", "--sync", str(window))

    def geometry(self, window):
        """(x, y, width, height) of a window on the screen; None once it has gone."""
        values = {}
        for line in self.run("xdotool", "getwindowgeometry", "--shell", str(window)).splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value)
        if not {"X", "Y", "WIDTH", "HEIGHT"} <= values.keys():
            return None
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def move(self, window, x, y):
        self.run("xdotool", "windowmove", "--sync", str(window), str(x), str(y))

    # Input: real events through the XTEST extension.
    def click(self, x, y, modifier=None):
        argv = ["xdotool"]
        if modifier:
            argv += ["keydown", modifier]
        argv += ["mousemove", str(x), str(y), "click", "1"]
        if modifier:
            argv += ["keyup", modifier]
        self.run(*argv)

    def key(self, *keys):
        self.run("xdotool", "key", "--delay", "20", *keys)

    def type_text(self, text):
        self.run("xdotool", "type", "--delay", "8", text)

    # Pixels.
    def screenshot(self, path, window=None, crop=None):
        argv = ["import", "-window", str(window) if window else "root"]
        if crop:
            x, y, w, h = crop
            argv += ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
        # No time stamps in the file: an unchanged window gives an unchanged PNG.
        subprocess.run(argv + ["-strip", path], env=self.env, check=True, capture_output=True)

    def gray_pixels(self, x, y, width, height):
        """Rows of 8-bit gray values of a screen area."""
        raw = subprocess.run(
            ["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage",
             "-depth", "8", "gray:-"],
            env=self.env, check=True, capture_output=True).stdout
        return [raw[row * width:(row + 1) * width] for row in range(height)]
