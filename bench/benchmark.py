"""Measures the launcher's own cost under Wine against the least a launcher must do.

Every case runs its commands in interleaved rounds (launcher, then baseline, again and again), so
that slow and fast phases of the machine fall on both alike, and reports the median of the
per-round figures with their spread (the middle half, quartile to quartile). A run is timed to
the end of its own process; the next starts only once every process it started has ended too,
so that no application still starting from the last run slows the one being timed.

A plain launcher now watches the start of its application until its window or the watch time
(startup_check_seconds, 10 s unless set); cases that measure the cost of finding and starting
the runtime turn that watch off, so that they time the same work as the baseline.

(a) jar, bundled_java, startup_check_seconds=0: a launcher with a bundled runtime, against a
    program that only starts the same test-double runtime.      Target: ratio at most 1.25.
(b) jar, min_version=1.8, startup_check_seconds=0; JAVA_HOME set: a launcher whose search reaches
    JAVA_HOME (one version probe, then the start), against the double's own -version followed by
    one start.                                                   Target: ratio at most 1.2.
(c) jar, min_version=11, startup_check_seconds=0: a launcher that finds five installed runtimes,
    none in the written registry keys (Java 9+ and vendor keys in both views, PATH, a Program
    Files folder), each with its release file, against one plain start of the runtime it
    chooses.                                                      Target: ratio at most 1.15 (no probe).
(d) jar, bundled_java, stay_alive (the start watch on, as by default): how much later than its
    application the launcher ends, apart from the cost of starting: launchers whose application
    runs 300 ms and 0 ms, against those applications alone.    Target: at most 50 ms.
(e) jar, bundled_java, splash, splash_seconds=1, startup_check_seconds=0, the application running
    on: how long the launcher runs.                              Target: about 1 s.
(f) jar, bundled_java, the start watch on (default) against off (startup_check_seconds=0): the
    time from the launcher's start to the application's first visible window. The application
    shows its window at once and ends a second later.            Target: ratio at most 1.05.
Before the cases, the sizes of the built launchers.    Target: x86_64 at most 160 KB, i686 180 KB.
"""
import os
import re
import statistics
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))

from scenario import Scenario  # noqa: E402
from wine_session import BUILD, WineSession, windows_path as w  # noqa: E402

ROUNDS = int(os.environ.get("BENCHMARK_ROUNDS", "21"))
TIMER = BUILD / "x86_64" / "run_timer.exe"
WINDOW_TIMER = BUILD / "x86_64" / "window_timer.exe"
PLAIN_START = BUILD / "x86_64" / "plain_start.exe"


def rounds(session, *command_lines, timer=TIMER):
    """Per-round wall times (or times to the application's window), one list per command line."""
    for name in [n for n in session.env if n.startswith("RUN_TIMER_COMMAND_")]:
        del session.env[name]
    for number, command_line in enumerate(command_lines, 1):
        session.env[f"RUN_TIMER_COMMAND_{number}"] = command_line
    result = session.wine([str(timer), str(ROUNDS)], timeout=1200)
    lines = re.findall(r"^round((?: [\d.]+)+)\s*$", result.stdout.decode(), re.M)
    if len(lines) != ROUNDS:
        raise RuntimeError(f"run_timer failed: {result.stdout.decode()} {result.stderr.decode(errors='replace')}")
    table = [[float(v) for v in line.split()] for line in lines]
    return [list(column) for column in zip(*table)]


def spread(values):
    quartiles = statistics.quantiles(values, n=4)
    return f"{statistics.median(values):.2f} (middle half {quartiles[0]:.2f} to {quartiles[2]:.2f})"


def ratio_case(label, target, launcher, baseline):
    ratios = [a / b for a, b in zip(launcher, baseline)]
    print(f"{label}: launcher {statistics.median(launcher):.1f} ms, baseline {statistics.median(baseline):.1f} ms, "
          f"ratio per round {spread(ratios)} (target <= {target})")


def five_installed_runtimes(session, scenario):
    """Five runtimes as installers leave them; returns a launcher that finds them and the home it chooses."""
    def install(home, version):
        scenario.java_home(home, banner="17")
        (home / "release").write_text(f'JAVA_VERSION="{version}"\n')
        return home

    def reg(key, value, data, view):
        session.wine(["reg", "add", f"HKLM\\{key}", "/v", value, "/d", data, "/f", f"/reg:{view}"])

    oracle = install(scenario.dir / "oracle17", "17.0.13")
    reg(r"SOFTWARE\JavaSoft\JDK\17", "JavaHome", w(oracle), 64)
    temurin = install(scenario.dir / "temurin21", "21.0.5")
    reg(r"SOFTWARE\Eclipse Adoptium\JDK\21.0.5.11\hotspot\MSI", "Path", w(temurin) + "\\", 32)
    zulu = install(scenario.dir / "zulu11", "11.0.25")
    reg(r"SOFTWARE\Azul Systems\Zulu\zulu-11", "InstallationPath", w(zulu) + "\\", 64)
    on_path = install(scenario.dir / "path22", "22.0.2")
    session.env["WINEPATH"] = w(on_path) + "\\bin"
    install(session.drive_c / "Program Files" / "Microsoft" / "jdk-17.0.13.11-hotspot", "17.0.13")
    launcher = scenario.launcher({"jar": "app.jar", "min_version": "11", "startup_check_seconds": "0"}, where="c")
    return launcher, on_path


# Bytes that a launcher of each architecture may have (KB of 1,000 bytes).
SIZE_TARGETS = {"x86_64": 160_000, "i686": 180_000}


def executable_sizes():
    for arch, target in SIZE_TARGETS.items():
        launcher = BUILD / arch / "launcher.exe"
        size = launcher.stat().st_size
        print(f"size {arch}: {size} bytes ({size / 1000:.1f} KB, target <= {target // 1000} KB, "
              f"{(target - size) / 1000:.1f} KB to spare)")


def main():
    executable_sizes()
    session = WineSession().start()
    try:
        scenario = Scenario(session, Path(tempfile.mkdtemp(dir=session.base)))
        session.env.pop("DOUBLE_RECORD", None)
        print(f"rounds per case: {ROUNDS} (wall times in milliseconds)")

        bundled = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe",
                                     "startup_check_seconds": "0"}, where="a")
        java = scenario.java_home(bundled.parent / "jre") / "bin" / "javaw.exe"
        launcher, baseline = rounds(session, f'"{w(bundled)}"', f'"{w(PLAIN_START)}" "{w(java)}"  -jar app.jar')
        ratio_case("(a) bundled runtime", 1.25, launcher, baseline)

        searching = scenario.launcher({"jar": "app.jar", "min_version": "1.8", "startup_check_seconds": "0"}, where="b")
        home = scenario.java_home(scenario.dir / "home", banner="17")
        session.env["JAVA_HOME"] = w(home)
        launcher, probe, start = rounds(session, f'"{w(searching)}"', f'"{w(home)}\\bin\\java.exe" -version',
                                        f'"{w(PLAIN_START)}" "{w(home)}\\bin\\javaw.exe"  -jar app.jar')
        ratio_case("(b) JAVA_HOME search", 1.2, launcher, [p + s for p, s in zip(probe, start)])
        session.env.pop("JAVA_HOME")

        installed, chosen = five_installed_runtimes(session, scenario)
        launcher, baseline = rounds(session, f'"{w(installed)}"',
                                    f'"{w(PLAIN_START)}" "{w(chosen)}\\bin\\javaw.exe"  -jar app.jar')
        ratio_case("(c) five installed runtimes", 1.15, launcher, baseline)
        session.env.pop("WINEPATH")

        # The end latency, apart from the cost of starting: (launcher with a 300 ms application
        # minus launcher with a 0 ms one) minus (the same two applications alone).
        latency_runs = []
        for run_ms in (300, 0):
            staying = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "stay_alive": "on"},
                                        where=f"d{run_ms}")
            java = scenario.java_home(staying.parent / "jre", run_ms=run_ms) / "bin" / "javaw.exe"
            latency_runs += [f'"{w(staying)}"', f'"{w(java)}"  -jar app.jar']
        long_launcher, long_alone, short_launcher, short_alone = rounds(session, *latency_runs)
        later = [(a - b) - (c - d) for a, b, c, d in zip(long_launcher, short_launcher, long_alone, short_alone)]
        print(f"(d) stay-alive end: launcher {statistics.median(long_launcher):.1f} ms with a 300 ms application "
              f"({statistics.median(long_alone):.1f} ms alone); the end noticed later than the application's by "
              f"{spread(later)} ms per round (target <= 50)")

        splash = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "splash": "on",
                                    "splash_seconds": "1", "startup_check_seconds": "0"}, where="e")
        scenario.java_home(splash.parent / "jre", run_ms=1500)
        (launcher,) = rounds(session, f'"{w(splash)}"')
        print(f"(e) splash_seconds=1 without stay-alive: launcher runs {spread(launcher)} ms (target about 1000)")

        watching = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"}, where="f-on")
        plain = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe",
                                   "startup_check_seconds": "0"}, where="f-off")
        for app in (watching, plain):
            scenario.java_home(app.parent / "jre", window="visible", run_ms=1000)
        report_on, report_off = rounds(session, f'"{w(watching)}"', f'"{w(plain)}"', timer=WINDOW_TIMER)
        ratio_case("(f) time to the application's window, report on against off", 1.05, report_on, report_off)
    finally:
        session.stop()


if __name__ == "__main__":
    main()
