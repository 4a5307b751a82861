"""single_instance: a later start hands its arguments to the running application, through the
channel the first start named to it, and starts no runtime."""
import re

from wine_session import windows_path as w

CHANNEL = re.compile(r" -Dwindowslauncher\.instance\.channel=(\\\\\.\\pipe\\JavaApplicationLauncher-[0-9a-f]{32}) ")
DOCUMENT = r"C:\my docs\Grüße – 報告 😀.myapp"


def single(scenario, **double):
    settings = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "single_instance": "on",
                "pass_arguments": "on"}
    app = scenario.launcher(settings)
    scenario.java_home(app.parent / "jre", **double)
    return app


def deliveries(scenario):
    """What the double took, one entry per message: its arguments, decoded."""
    lines = scenario.record.read_text(encoding="utf-8").splitlines() if scenario.record.exists() else []
    return [[bytes.fromhex(a).decode("utf-8") for a in line[len("later-start="):].split(",") if a]
            for line in lines if line.startswith("later-start=")]


def test_a_later_start_hands_its_document_over_once_and_starts_no_runtime(scenario):
    app = single(scenario, window="visible", run_ms=30000, later_starts="record")
    run = scenario.run(app, args=[DOCUMENT, "--read-only"], decoy=w(app), wait_children=1)
    assert run.exit_code == 0
    assert len(run.app_starts) == 1
    assert CHANNEL.search(run.app_starts[0]["cmdline"])
    assert deliveries(scenario) == [[DOCUMENT, "--read-only"]]
    assert "Later start: 2 arguments handed to the running application" in run.traces
    assert not any(t.startswith("execute: ") for t in run.traces)


def test_a_later_start_without_arguments_is_announced_with_none(scenario):
    app = single(scenario, window="visible", run_ms=30000, later_starts="record")
    run = scenario.run(app, decoy=w(app), wait_children=1)
    assert run.exit_code == 0 and len(run.app_starts) == 1
    assert deliveries(scenario) == [[]]


def test_an_application_that_does_not_listen_is_brought_forward_and_nothing_starts(scenario):
    app = single(scenario, window="visible", run_ms=30000)
    run = scenario.run(app, args=[DOCUMENT], decoy=w(app), wait_children=0)
    assert run.exit_code == 0
    assert len(run.app_starts) == 1
    assert run.traces[-1] == "Later start: the running application does not listen; the arguments were not delivered"
    # The wait for the pipe is bounded: a few seconds, not the run of the application.
    assert run.elapsed < 15


def test_arguments_above_the_limit_are_refused_with_a_message(scenario):
    app = single(scenario, window="visible", run_ms=30000, later_starts="record")
    run = scenario.run(app, args=["文" * 25000], decoy=w(app), wait_children=1)
    assert run.exit_code == 0 and len(run.app_starts) == 1
    assert deliveries(scenario) == []
    assert len(run.boxes) == 1
    assert "too long to hand to the running application (75020 bytes, at most 65536)" in run.boxes[0]["text"]
    assert "Later start: the arguments take 75020 bytes, more than 65536; the arguments were not delivered" in run.traces


def test_once_the_application_has_ended_the_next_start_runs_its_own_with_its_arguments(scenario):
    app = single(scenario, run_ms=200, later_starts="record")
    channels = []
    for document in ("first.myapp", "second one.myapp"):
        run = scenario.run(app, args=[document], wait_children=20)
        assert len(run.app_starts) == 1
        assert run.app_starts[0]["cmdline"].endswith(f' -jar app.jar "{document}"')
        channels.append(CHANNEL.search(run.app_starts[0]["cmdline"]).group(1))
        assert deliveries(scenario) == []
    # Each application listens on a channel of its own marker.
    assert channels[0] != channels[1]
