"""Documents double-clicked, arguments for the application, console launchers, -c, and -d
where log.txt cannot be made."""
import shutil
import struct
import subprocess

import pytest

from test_configure import configure
from wine_session import windows_path as w


def launcher_with_runtime(scenario, **settings):
    values = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"}
    values.update(settings)
    app = scenario.launcher(values)
    scenario.java_home(app.parent / "jre", run_ms=300)
    return app


def subsystem(path):
    data = path.read_bytes()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    return struct.unpack_from("<H", data, pe + 24 + 68)[0]


@pytest.mark.parametrize("document", [r"C:\docs\quarterly-report.myapp", r"C:\Users\Jean-Luc\a/b.myapp"])
def test_a_document_never_shows_the_usage_help(scenario, document):
    app = launcher_with_runtime(scenario)
    run = scenario.run(app, args=[document], wait_children=10)
    assert run.boxes == []
    assert [r["cmdline"] for r in run.app_starts] == [f'"{w(app.parent)}\\jre\\bin\\javaw.exe"  -jar app.jar']


def test_passed_arguments_follow_the_jar_exactly(scenario):
    app = launcher_with_runtime(scenario, pass_arguments="on")
    run = scenario.run(app, args=[r"C:\my docs\report-1.myapp", "--open", "x"], wait_children=10)
    assert run.boxes == []
    assert [r["cmdline"] for r in run.app_starts] == [
        f'"{w(app.parent)}\\jre\\bin\\javaw.exe"  -jar app.jar "C:\\my docs\\report-1.myapp" --open x']


def test_with_passed_arguments_only_the_exact_switches_stay_the_launchers(scenario):
    app = launcher_with_runtime(scenario, pass_arguments="on")
    help_run = scenario.run(app, args=["-h"], wait_children=10)
    assert help_run.boxes == []
    assert help_run.app_starts[0]["cmdline"].endswith(" -jar app.jar -h")
    console_run = scenario.run(app, args=["-c"], wait_children=10)
    assert console_run.traces[0] == "run as console application"
    assert console_run.app_starts[0]["cmdline"].endswith(" -jar app.jar")


def test_console_switch_shows_the_console_java_beside_a_bundled_javaw(scenario):
    app = launcher_with_runtime(scenario)
    run = scenario.run(app, args=["-c"], wait_children=10)
    java = f"{w(app.parent)}\\jre\\bin\\java.exe"
    assert [r["exe"] for r in run.app_starts] == [java]
    assert run.app_starts[0]["console"] == "visible"  # its own window, not hidden, not piped
    assert not any("CreateProcess" in line and "javaw" in line for line in run.traces)


def run_console_launcher(scenario, wine_session, app, text):
    return subprocess.run(["wine", str(app)], input=text.encode(), capture_output=True, env=wine_session.env,
                          timeout=60)


def test_console_launcher_shares_its_standard_handles_and_returns_the_status(scenario, wine_session):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "console": "on"})
    scenario.java_home(app.parent / "jre", echo_input="1", exit_code=7)
    assert subsystem(app) == 3
    result = run_console_launcher(scenario, wine_session, app, "hello there\n")
    assert result.returncode == 7
    assert b"echo: hello there" in result.stdout
    assert b"a line on standard error" in result.stderr


def test_configuration_tool_writes_the_console_subsystem(tmp_path):
    result, out = configure(tmp_path, {"jar": "app.jar", "console": "on"})
    assert result.returncode == 0, result.stderr
    assert subsystem(out) == 3
    result, out = configure(tmp_path, {"jar": "app.jar"}, launcher=out, out=tmp_path / "window.exe")
    assert result.returncode == 0, result.stderr
    assert subsystem(out) == 2


def test_log_file_that_cannot_be_created_is_reported_and_the_application_starts(scenario):
    app = launcher_with_runtime(scenario)
    (scenario.dir / "log.txt").mkdir()
    run = scenario.run(app, args=["-d"], cwd=scenario.dir, wait_children=10)
    message = f"Cannot create the log file {w(scenario.dir)}\\log.txt:\n"
    assert run.traces[1].startswith(message)
    assert len(run.boxes) == 1 and run.boxes[0]["text"].startswith(message)
    assert run.boxes[0]["icon"] == "error"
    assert len(run.app_starts) == 1
