"""What the launcher's children get from it: only their own handles, and a probe that cannot
hang the launcher."""
from traces import BANNERS
from wine_session import windows_path as w


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
