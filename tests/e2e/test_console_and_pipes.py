"""Ctrl+C reaches the application and what it starts; the output pipe ends when the application
closes it, not only when the application ends."""
import subprocess

import pytest

from wine_session import windows_path as w


def record_of(scenario):
    """The double's starts as recorded: one dict of key -> value per start."""
    records, current = [], None
    for line in scenario.record.read_text(encoding="utf-8", errors="replace").splitlines():
        if line == "start":
            current = {}
            records.append(current)
        elif current is not None and "=" in line:
            key, _, value = line.partition("=")
            current[key] = value
    return records


@pytest.mark.parametrize("settings,args", [
    ({"bundled_java": r"jre\bin\javaw.exe"}, []),
    # found through JAVA_HOME: one version probe of java.exe first
    ({"min_version": "1.8"}, []),
    # java.exe in a console window of its own
    ({"bundled_java": r"jre\bin\javaw.exe"}, ["-c"]),
], ids=["bundled", "probed", "console-window"])
def test_a_window_launcher_starts_the_application_and_its_probe_with_ctrl_c_enabled(scenario, settings, args):
    app = scenario.launcher({"jar": "app.jar", **settings})
    home = scenario.java_home(app.parent / "jre", report_ctrl_c="1", run_ms=300)
    run = scenario.run(app, args=args, env={"JAVA_HOME": w(home)}, wait_children=10)
    assert len(run.app_starts) == 1
    expected_probes = 0 if "bundled_java" in settings else 1
    assert len(run.probes) == expected_probes
    assert [r.get("ctrl-c") for r in run.records] == ["enabled"] * (1 + expected_probes)


def test_a_console_launcher_starts_the_application_with_ctrl_c_enabled(scenario, wine_session):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "console": "on"})
    scenario.java_home(app.parent / "jre", report_ctrl_c="1", exit_code=3)
    env = dict(wine_session.env, DOUBLE_RECORD=w(scenario.record))
    result = subprocess.run(["wine", str(app)], stdin=subprocess.DEVNULL, capture_output=True, env=env, timeout=60)
    assert result.returncode == 3
    starts = record_of(scenario)
    assert [r["exe"].rsplit("\\", 1)[-1] for r in starts] == ["java.exe"]
    assert starts[0]["ctrl-c"] == "enabled"


def test_with_debug_log_the_launcher_ends_when_the_application_closes_its_output(scenario):
    # The double writes a line, closes its standard handles and runs on for 4 s; then it records
    # whether the launcher had ended by then and whether it could open log.txt without sharing.
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "startup_check_seconds": "0"})
    scenario.java_home(app.parent / "jre", output="before closing\\r\\n", close_output_ms=4000, exit_code=6)
    run = scenario.run(app, args=["-d"], cwd=app.parent, wait_children=20, timeout=40)
    assert run.exit_code == 0
    assert (app.parent / "log.txt").read_bytes() == b"before closing\r\n"
    starts = run.app_starts
    assert len(starts) == 1
    assert starts[0]["starter-after-close"] == "ended"
    assert starts[0]["log-after-close"] == "free"
