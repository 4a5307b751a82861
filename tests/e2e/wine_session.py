"""A throw-away Wine prefix and X display for one test run, and the tools built for it."""
import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("BUILD_DIR", ROOT / "build"))


def windows_path(path):
    """The Wine name of a Linux path (drive Z: is the Linux root)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def _free_display():
    # Parallel test workers (gw0, gw1, ...) look in ranges of their own, so none takes another's;
    # E2E_DISPLAY_BASE moves the ranges for test runs side by side on one machine.
    worker = os.environ.get("PYTEST_XDIST_WORKER", "gw0")
    first = int(os.environ.get("E2E_DISPLAY_BASE", "90")) + 20 * int(worker[2:] or 0)
    for number in range(first, first + 20):
        if not Path(f"/tmp/.X{number}-lock").exists() and not Path(f"/tmp/.X11-unix/X{number}").exists():
            return number
    raise RuntimeError("no free X display number")


class WineSession:
    """Starts Xvfb and a fresh Wine prefix; stop() ends both and removes the prefix."""

    def __init__(self):
        self.base = Path(tempfile.mkdtemp(prefix="launcher-e2e-"))
        self.prefix = self.base / "prefix"
        self.xvfb = None
        self.desktop_holder = None
        self.env = dict(os.environ)
        self.env.pop("JAVA_HOME", None)
        self.env.update({
            "WINEPREFIX": str(self.prefix),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "WINEARCH": "win64",
            "LANG": "C.UTF-8",  # a UTF-8 locale that exists: arguments in any language reach Wine
        })

    def start(self):
        display = _free_display()
        self.xvfb = subprocess.Popen(
            ["Xvfb", f":{display}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env["DISPLAY"] = f":{display}"
        for _ in range(100):
            if Path(f"/tmp/.X11-unix/X{display}").exists():
                break
            time.sleep(0.1)
        subprocess.run(["wineboot", "--init"], env=self.env, check=True, timeout=300,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # One server for the whole run keeps each start of a Windows program fast.
        subprocess.Popen(["wineserver", "-p"], env=self.env).wait(timeout=60)
        # Wine closes the desktop a moment after its last user has ended, and a program that
        # starts meanwhile waits up to 10 s for a new one: its whole start then stalls. One
        # program that holds the desktop for the whole run keeps each run's timing its own.
        self.desktop_holder = subprocess.Popen(["wine", str(BUILD / "x86_64" / "harness.exe"), "--hold-desktop"],
                                               env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.desktop_holder:
            try:
                self.desktop_holder.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.desktop_holder.kill()
        if self.xvfb:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
        shutil.rmtree(self.base, ignore_errors=True)

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    def wine(self, args, timeout=120, **kwargs):
        return subprocess.run(["wine", *args], env=self.env, timeout=timeout, capture_output=True, **kwargs)

    def register_open_handler(self, scheme, program):
        """Makes the shell open `scheme` addresses with `program` (the address as its argument)."""
        command = f'"{windows_path(program)}" "%1"'
        for key, value in [(rf"HKCR\{scheme}", ["/ve", "/d", f"URL:{scheme}"]),
                           (rf"HKCR\{scheme}", ["/v", "URL Protocol", "/d", ""]),
                           (rf"HKCR\{scheme}\shell\open\command", ["/ve", "/d", command])]:
            result = self.wine(["reg", "add", key, *value, "/f"])
            assert result.returncode == 0, result.stderr
