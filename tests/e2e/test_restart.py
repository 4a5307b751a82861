"""restart_on_exit: a stay-alive launcher starts its application again on a chosen exit status."""
import pytest

from wine_session import windows_path as w


def restarting(scenario, restart_on_exit, stay_alive="on", startup_check_seconds=None, **double):
    settings = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "restart_on_exit": restart_on_exit}
    if stay_alive:
        settings["stay_alive"] = stay_alive
    if startup_check_seconds is not None:
        settings["startup_check_seconds"] = startup_check_seconds
    app = scenario.launcher(settings)
    scenario.java_home(app.parent / "jre", **double)
    return app, w(app.parent) + r"\jre\bin\javaw.exe"


@pytest.mark.parametrize("restart_on_exit, statuses, restarted_after", [
    ("3", "3,5", "3"),
    (" 7 , -1 ", "-1,0", "4294967295"),  # System.exit(-1)
])
def test_a_restart_status_starts_the_application_again_and_the_next_status_is_returned(
        scenario, restart_on_exit, statuses, restarted_after):
    app, java = restarting(scenario, restart_on_exit, exit_codes=statuses)
    run = scenario.run(app)
    command = f'"{java}"  -jar app.jar'
    assert [r["cmdline"] for r in run.app_starts] == [command, command]
    assert run.probes == []  # the runtime is not searched again
    assert [t for t in run.traces if t.startswith("Restart")] == [
        f"Restart after exit status {restarted_after} (restart 1 within a minute)"]
    # The second run's start follows the restart line.
    restart = run.traces.index(f"Restart after exit status {restarted_after} (restart 1 within a minute)")
    assert run.traces[restart + 1] == f"execute: {java}  -jar app.jar"
    assert run.exit_code == int(statuses.split(",")[-1]) & 0xFFFFFFFF


def test_the_restart_limit_holds(scenario):
    app, java = restarting(scenario, "3", exit_codes="3")
    run = scenario.run(app, timeout=90)
    assert len(run.app_starts) == 11
    assert [t for t in run.traces if t.startswith(("Restart", "No restart"))] == [
        f"Restart after exit status 3 (restart {n} within a minute)" for n in range(1, 11)] + [
        "No restart after exit status 3: 10 restarts within a minute"]
    assert run.exit_code == 3


def test_other_statuses_end_the_launcher(scenario):
    # (An unreadable list never reaches a launcher: the configuration tool refuses it.)
    app, _ = restarting(scenario, "3", exit_codes="4")
    run = scenario.run(app)
    assert len(run.app_starts) == 1 and run.exit_code == 4


def test_a_launcher_that_does_not_stay_never_restarts(scenario):
    # Without the start watch the launcher ends right after the start; with it, it ends with the
    # failed start's status and its report. Neither starts the application again.
    app, _ = restarting(scenario, "3", stay_alive=None, exit_codes="3", run_ms=500)
    run = scenario.run(app)
    assert len(run.app_starts) == 1 and run.exit_code == 3 and len(run.reports) == 1
    app, _ = restarting(scenario, "3", stay_alive=None, startup_check_seconds="0", exit_codes="3")
    run = scenario.run(app)
    assert len(run.app_starts) == 1 and run.exit_code == 0
