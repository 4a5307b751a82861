"""single_instance: a second start brings the running application forward and starts none."""
from wine_session import windows_path as w

TITLE = "Fake Java Application"


def single(scenario, stay_alive=None, **double):
    settings = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "single_instance": "on"}
    if stay_alive:
        settings["stay_alive"] = stay_alive
    app = scenario.launcher(settings)
    scenario.java_home(app.parent / "jre", **double)
    return app


def test_a_second_start_brings_the_first_window_forward_and_starts_no_runtime(scenario):
    # The first launcher does not stay: the marker lives on with its application.
    app = single(scenario, window="visible", run_ms=30000)
    run = scenario.run(app, decoy=w(app), take_foreground=TITLE, wait_children=0)
    assert run.foreground_before["title"] == "Harness Foreground"
    assert len(run.app_starts) == 1
    assert not any(t.startswith("execute: ") for t in run.traces)
    assert run.exit_code == 0
    assert run.foreground == {"title": TITLE, "iconic": "0"}


def test_a_minimised_first_window_is_restored(scenario):
    app = single(scenario, stay_alive="on", window="visible", minimise_window="1", run_ms=30000)
    run = scenario.run(app, decoy=w(app), take_foreground=TITLE, wait_children=0)
    assert run.foreground_before["target_iconic"] == "1"
    assert len(run.app_starts) == 1
    assert run.exit_code == 0
    assert run.foreground == {"title": TITLE, "iconic": "0"}


def test_once_the_first_application_has_ended_a_start_runs_its_own(scenario):
    app = single(scenario, run_ms=200)
    # Each run waits until its application has ended by itself.
    for _ in range(2):
        run = scenario.run(app, wait_children=20)
        assert len(run.app_starts) == 1
        assert any(t.startswith("execute: ") for t in run.traces)


def test_a_first_application_without_a_window_is_waited_for_briefly(scenario):
    app = single(scenario, run_ms=30000)
    run = scenario.run(app, decoy=w(app), decoy_wait=4, wait_children=0)
    assert len(run.app_starts) == 1
    assert run.traces[-2:] == ["Single instance: the running application shows no window",
                               "Later start: the running application does not listen; the arguments were not delivered"]
    assert run.exit_code == 0 and run.elapsed >= 4


def test_without_the_setting_every_start_runs_its_own_application(scenario):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"})
    scenario.java_home(app.parent / "jre", window="visible", run_ms=30000)
    # Long enough for the second runtime to record its start.
    run = scenario.run(app, decoy=w(app), wait_children=3)
    assert len(run.app_starts) == 2
