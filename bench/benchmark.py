"""Measures the launcher's own cost under Wine against the least a launcher must do.

(a) A launcher with a bundled runtime, splash and stay-alive off, against a program that only
    starts the same test-double runtime.          Target: ratio at most 1.25.
(b) A launcher whose search reaches JAVA_HOME (one version probe, then the start), against the
    double's own -version followed by one start.  Target: ratio at most 1.5.
(c) A launcher that finds five installed runtimes, none in the written registry keys (Java 9+ and
    vendor keys in both views, PATH, a Program Files folder), each with its release file, against
    one plain start of the runtime it chooses.  Target: ratio at most 1.2 (no probe).
"""
import os
import re
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))

from scenario import Scenario  # noqa: E402
from wine_session import BUILD, WineSession, windows_path as w  # noqa: E402

RUNS = int(os.environ.get("BENCHMARK_RUNS", "15"))
TIMER = BUILD / "x86_64" / "run_timer.exe"
PLAIN_START = BUILD / "x86_64" / "plain_start.exe"


def timed(session, command_line):
    session.env["RUN_TIMER_COMMAND"] = command_line
    result = session.wine([str(TIMER), str(RUNS)], timeout=600)
    output = result.stdout.decode()
    match = re.search(r"median=([\d.]+) mean=([\d.]+)", output)
    if not match:
        raise RuntimeError(f"run_timer failed: {output} {result.stderr.decode(errors='replace')}")
    return float(match.group(1))


def five_installed_runtimes(session, scenario):
    """Five runtimes as installers leave them; returns a launcher that finds them and the home it chooses."""
    def install(home, version):
        scenario.java_home(home, banner="17")
        (home / "release").write_text(f'JAVA_VERSION="{version}"\n')
        return home

    def reg(key, value, data, view):
        session.wine(["reg", "add", f"HKLM\\{key}", "/v", value, "/d", data, "/f", f"/reg:{view}"])

    session.env.pop("JAVA_HOME", None)
    oracle = install(scenario.dir / "oracle17", "17.0.13")
    reg(r"SOFTWARE\JavaSoft\JDK\17", "JavaHome", w(oracle), 64)
    temurin = install(scenario.dir / "temurin21", "21.0.5")
    reg(r"SOFTWARE\Eclipse Adoptium\JDK\21.0.5.11\hotspot\MSI", "Path", w(temurin) + "\\", 32)
    zulu = install(scenario.dir / "zulu11", "11.0.25")
    reg(r"SOFTWARE\Azul Systems\Zulu\zulu-11", "InstallationPath", w(zulu) + "\\", 64)
    on_path = install(scenario.dir / "path22", "22.0.2")
    session.env["WINEPATH"] = w(on_path) + "\\bin"
    install(session.drive_c / "Program Files" / "Microsoft" / "jdk-17.0.13.11-hotspot", "17.0.13")
    launcher = scenario.launcher({"jar": "app.jar", "min_version": "11"}, where="c")
    return launcher, on_path


def main():
    session = WineSession().start()
    try:
        scenario = Scenario(session, Path(tempfile.mkdtemp(dir=session.base)))
        bundled = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"}, where="a")
        java = scenario.java_home(bundled.parent / "jre") / "bin" / "javaw.exe"
        searching = scenario.launcher({"jar": "app.jar", "min_version": "1.8"}, where="b")
        home = scenario.java_home(scenario.dir / "home", banner="17")
        session.env["JAVA_HOME"] = w(home)
        session.env.pop("DOUBLE_RECORD", None)

        # Warm both paths once so file caches do not count.
        timed(session, f'"{w(bundled)}"')
        launcher_a = timed(session, f'"{w(bundled)}"')
        baseline_a = timed(session, f'"{w(PLAIN_START)}" "{w(java)}"  -jar app.jar')
        launcher_b = timed(session, f'"{w(searching)}"')
        probe = timed(session, f'"{w(home)}\\bin\\java.exe" -version')
        start = timed(session, f'"{w(PLAIN_START)}" "{w(home)}\\bin\\javaw.exe"  -jar app.jar')
        baseline_b = probe + start

        installed_launcher, chosen = five_installed_runtimes(session, scenario)
        timed(session, f'"{w(installed_launcher)}"')
        launcher_c = timed(session, f'"{w(installed_launcher)}"')
        baseline_c = timed(session, f'"{w(PLAIN_START)}" "{w(chosen)}\\bin\\javaw.exe"  -jar app.jar')

        print(f"runs per figure: {RUNS} (medians, milliseconds)")
        print(f"(a) bundled runtime: launcher {launcher_a:.1f} / plain start {baseline_a:.1f} "
              f"= {launcher_a / baseline_a:.2f} (target <= 1.25)")
        print(f"(b) JAVA_HOME search: launcher {launcher_b:.1f} / (-version {probe:.1f} + start {start:.1f}) "
              f"= {launcher_b / baseline_b:.2f} (target <= 1.5)")
        print(f"(c) five installed runtimes: launcher {launcher_c:.1f} / plain start {baseline_c:.1f} "
              f"= {launcher_c / baseline_c:.2f} (target <= 1.2)")
    finally:
        session.stop()


if __name__ == "__main__":
    main()
