"""What the launcher's children get from it: only their own handles, no console window for a
probe, the launcher's show command, the usual library search, and a probe that cannot hang the
launcher."""
import shutil

import pytest

from traces import BANNERS
from wine_session import BUILD, windows_path as w


def test_the_running_application_holds_no_handle_to_log_txt(scenario):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "stay_alive": "on"})
    scenario.java_home(app.parent / "jre", report_log_handles="1", run_ms=300, output="hello\\r\\n")
    run = scenario.run(app, args=["-d"], cwd=scenario.dir)
    assert (scenario.dir / "log.txt").read_bytes() == b"hello\r\n"
    assert [r.get("log-handle") for r in run.app_starts] == ["none"]


def test_a_probe_whose_output_stays_open_is_ended_without_hanging_the_launcher(scenario):
    app = scenario.launcher({"jar": "app.jar", "min_version": "1.8"})
    home = w(scenario.java_home("held", banner="17", hold_output_ms=25000))
    run = scenario.run(app, env={"JAVA_HOME": home}, timeout=60, wait_children=1)
    info = run.traces.index("Info = ")
    assert run.traces[info + 1] == BANNERS["17"]
    assert "JAVA_HOME found" in run.traces
    assert run.app_starts[0]["cmdline"] == f'"{home}\\bin\\javaw.exe"  -jar app.jar'
    assert run.elapsed < 20  # the helper holds the output for 25 s


def test_a_probe_runs_without_a_console_window(scenario):
    # java.exe is a console program: with only a hidden window it would still flash on a PC whose
    # console host is a terminal program.
    app = scenario.launcher({"jar": "app.jar", "min_version": "1.8"})
    home = w(scenario.java_home("jdk", banner="17"))
    run = scenario.run(app, env={"JAVA_HOME": home})
    assert [(r["console"], r["show"]) for r in run.probes] == [("none", "none")]
    assert "JAVA_HOME found" in run.traces


@pytest.mark.parametrize("show", [7, 3])  # minimised without activation, maximised
def test_the_application_gets_the_launchers_show_command(scenario, show):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"})
    scenario.java_home(app.parent / "jre")
    run = scenario.run(app, show=show)
    assert [r["show"] for r in run.app_starts] == [str(show)]


def test_the_applications_library_search_still_includes_its_working_directory(scenario):
    # A native library in the working directory whose own dependency lies beside it, as an
    # application's JNI library is loaded: the launcher's own library settings must not reach it.
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "working_dir": "data"})
    scenario.java_home(app.parent / "jre", load_library="native_library.dll")
    (app.parent / "data").mkdir()
    for library in ("native_library.dll", "native_dependency.dll"):
        shutil.copy(BUILD / "x86_64" / library, app.parent / "data" / library)
    run = scenario.run(app)
    assert run.app_starts[0]["cwd"] == w(app.parent / "data")
    assert run.app_starts[0]["library-native_library.dll"] == "loaded"
