"""One test's world: launchers built from settings, test-double runtimes, and a run of the
launcher under the harness with everything it did read back."""
import hashlib
import shutil
import subprocess
from dataclasses import dataclass, field
from pathlib import Path

from wine_session import BUILD, ROOT, windows_path

HARNESS = BUILD / "x86_64" / "harness.exe"
FAKE_JAVA = BUILD / "x86_64" / "fake_java.exe"
FAKE_JAVA_CONSOLE = BUILD / "x86_64" / "fake_java_console.exe"


def unescape(text):
    out = bytearray()
    i = 0
    raw = text.encode("latin-1")
    while i < len(raw):
        c = raw[i]
        if c == 0x5C and i + 1 < len(raw):
            n = chr(raw[i + 1])
            if n == "x":
                out.append(int(raw[i + 2:i + 4], 16))
                i += 4
                continue
            out += {"n": b"\n", "r": b"\r", "t": b"\t", "\\": b"\\"}[n]
            i += 2
            continue
        out.append(c)
        i += 1
    return out.decode("latin-1")


def fields_of(parts):
    result = {}
    for part in parts:
        key, _, value = part.partition("=")
        result[key] = unescape(value)
    return result


def rect(text):
    x, y, w, h = (int(v) for v in text.split(","))
    return x, y, w, h


@dataclass
class Run:
    traces: list = field(default_factory=list)
    boxes: list = field(default_factory=list)
    dialogs: list = field(default_factory=list)
    splash: dict = None
    splash_hidden: bool = False
    events: list = field(default_factory=list)  # kinds in the order reported
    exit_code: int = None
    elapsed: float = None  # seconds the launcher ran
    errors: list = field(default_factory=list)
    records: list = field(default_factory=list)  # starts of test-double runtimes
    windows_shown: int = 0
    planted_library_loaded: bool = False
    dialog_after_link: list = field(default_factory=list)
    foreground_before: dict = None  # with take_foreground: the foreground window before the start
    foreground: dict = None  # and after the launcher has ended
    reports: list = field(default_factory=list)  # start-failure reports, their texts in UTF-8
    clipboard: list = field(default_factory=list)
    report_resized: list = field(default_factory=list)
    raw: str = ""

    @property
    def app_starts(self):
        return [r for r in self.records if not r["cmdline"].endswith("-version")]

    @property
    def probes(self):
        return [r for r in self.records if r["cmdline"].endswith("-version")]


class Scenario:
    _launcher_cache = {}

    def __init__(self, session, directory):
        self.session = session
        self.dir = Path(directory)
        self.dir.mkdir(parents=True, exist_ok=True)
        self.record = self.dir / "record.txt"

    # --- building blocks -------------------------------------------------------------
    def launcher(self, settings=None, name="app.exe", where="app", splash=None, arch="x86_64"):
        """A launcher built with make-launcher from `settings` (dict of key -> value, or raw text)."""
        if isinstance(settings, dict):
            text = "".join(f"{k}={v}\n" for k, v in settings.items())
        else:
            text = settings
        key = hashlib.sha256(repr((text, splash and Path(splash).read_bytes(), arch)).encode()).hexdigest()
        cached = self._launcher_cache.get(key)
        if cached is None or not cached.exists():
            cache_dir = self.session.base / "launchers"
            cache_dir.mkdir(exist_ok=True)
            cached = cache_dir / f"{key}.exe"
            command = [str(ROOT / "tools" / "make-launcher"), "--out", str(cached), "--arch", arch]
            if text is not None:
                settings_file = cache_dir / f"{key}.settings"
                settings_file.write_bytes(text.encode("utf-8"))
                command += ["--settings", str(settings_file)]
            if splash:
                command += ["--splash", str(splash)]
            subprocess.run(command, check=True, timeout=120)
            self._launcher_cache[key] = cached
        target = self.dir / where / name
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy(cached, target)
        return target

    def java_home(self, where, banner="1.8", executables=("java.exe", "javaw.exe"), **config):
        """A runtime folder whose bin holds the test double under the given names."""
        home = Path(where) if Path(where).is_absolute() else self.dir / where
        self.double_at(home / "bin", executables, banner=banner, **config)
        return home

    def double_at(self, directory, executables=("javaw.exe",), **config):
        """The test double copied into `directory` under the given names, with its settings."""
        directory = Path(directory)
        directory.mkdir(parents=True, exist_ok=True)
        for name in executables:
            shutil.copy(FAKE_JAVA_CONSOLE if name.lower() == "java.exe" else FAKE_JAVA, directory / name)
        self.configure(directory, **config)
        return directory

    def configure(self, bin_dir, **config):
        lines = "".join(f"{k}={v}\n" for k, v in config.items() if v is not None)
        (Path(bin_dir) / "double.ini").write_text(lines, encoding="utf-8")

    # --- running ---------------------------------------------------------------------
    def run(self, launcher, args=(), registry=(), env=None, cwd=None, show=None, dialog_actions=None,
            timeout=30, wait_children=10, splash_shot=None, dialog_shot=None, decoy=None, take_foreground=None,
            decoy_wait=None, report_actions=None, report_shot=None):
        # By default the run waits (up to wait_children seconds) for the runtimes the launcher
        # started to end, so that each has recorded its start before the harness ends them.
        if self.record.exists():
            self.record.unlink()
        options = ["--timeout", str(int(timeout * 1000))]
        registry_file = self.dir / "registry.txt"
        registry_file.write_text("".join(line + "\n" for line in registry), encoding="utf-8")
        options += ["--registry", windows_path(registry_file)]
        environment = {"DOUBLE_RECORD": windows_path(self.record)}
        environment.update(env or {})
        for name, value in environment.items():
            options += ["--env", f"{name}={value}" if value is not None else name]
        if cwd is not None:
            options += ["--cwd", windows_path(cwd)]
        if show is not None:
            options += ["--show", str(show)]
        if dialog_actions is not None:
            options += ["--dialog-actions", ",".join(dialog_actions)]
        if wait_children is not None:
            options += ["--wait-children", str(int(wait_children * 1000))]
        if splash_shot is not None:
            options += ["--splash-shot", windows_path(splash_shot)]
        if dialog_shot is not None:
            options += ["--dialog-shot", windows_path(dialog_shot)]
        if decoy is not None:
            options += ["--decoy", decoy]
        if decoy_wait is not None:
            options += ["--decoy-wait", str(int(decoy_wait * 1000))]
        if take_foreground is not None:
            options += ["--take-foreground", take_foreground]
        if report_actions is not None:
            options += ["--report-actions", ",".join(report_actions)]
        if report_shot is not None:
            options += ["--report-shot", windows_path(report_shot)]
        target = launcher if isinstance(launcher, str) else windows_path(launcher)
        result = self.session.wine([str(HARNESS), *options, "--", target, *args],
                                   timeout=timeout + 60)
        run = self._parse(result.stdout.decode("latin-1"))
        run.raw += result.stderr.decode("latin-1", "replace")
        assert not run.errors, run.errors
        return run

    def _parse(self, output):
        run = Run(raw=output)
        for line in output.splitlines():
            kind, *parts = line.split("\t")
            if kind not in ("trace",):
                run.events.append(kind)
            if kind == "trace":
                run.traces.append(unescape(parts[0]) if parts else "")
            elif kind == "box":
                run.boxes.append(fields_of(parts))
            elif kind == "dialog":
                run.dialogs.append(fields_of(parts))
            elif kind == "dialog-after-link":
                run.dialog_after_link.append(fields_of(parts))
            elif kind in ("report", "clipboard"):
                fields = {k: v.encode("latin-1").decode("utf-8") for k, v in fields_of(parts).items()}
                (run.reports if kind == "report" else run.clipboard).append(fields)
            elif kind == "report-resized":
                run.report_resized.append(fields_of(parts))
            elif kind == "splash":
                run.splash = fields_of(parts)
            elif kind == "splash-hidden":
                run.splash_hidden = True
            elif kind == "exit":
                run.exit_code = int(parts[0])
                run.elapsed = int(fields_of(parts[1:])["elapsed_ms"]) / 1000.0
            elif kind == "foreground-before":
                run.foreground_before = fields_of(parts)
            elif kind == "foreground":
                run.foreground = fields_of(parts)
            elif kind == "error":
                run.errors.append(parts)
        if self.record.exists():
            current = None
            for line in self.record.read_text(encoding="utf-8", errors="replace").splitlines():
                if line == "start":
                    current = {}
                elif line == "end":
                    run.records.append(current)
                elif line == "window-shown":
                    run.windows_shown += 1
                elif line == "planted-library-loaded":
                    run.planted_library_loaded = True
                elif current is not None:
                    key, _, value = line.partition("=")
                    current[key] = value
        return run
