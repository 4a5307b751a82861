"""A start that fails for a reason the launcher knows shows that reason, and traces it."""
import pytest

from wine_session import windows_path as w

START_FAILED = "Error occured while starting the application...\n"


def no_program(scenario, app):
    (app.parent / "jre" / "bin").mkdir(parents=True)
    (app.parent / "jre" / "bin" / "javaw.exe").write_text("not a program")
    return "Cannot create the process."


# A command line too long for the system is stopped before any start, with a message naming its
# length (test_launch_forms.py); what the runner itself knows is shown as here.
@pytest.mark.parametrize("prepare", [no_program])
@pytest.mark.parametrize("console", [False, True], ids=["window", "-c"])
def test_a_failed_start_shows_and_traces_the_reason_then_the_systems_words(scenario, prepare, console):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"}, name="app.exe")
    reason = prepare(scenario, app)
    run = scenario.run(app, args=["-c"] if console else [])
    assert run.exit_code == 1
    assert run.app_starts == []
    assert [(b["caption"], b["icon"]) for b in run.boxes] == [("", "error")]
    lines = run.boxes[0]["text"][len(START_FAILED):].split("\n")
    assert run.boxes[0]["text"].startswith(START_FAILED)
    # The launcher's reason, then the system's words for the error code, never empty.
    assert lines[0] == reason and len(lines) == 2 and lines[1] and lines[1] != "No error"
    traced = [t for t in run.traces if t.startswith("The application could not start: ")]
    assert traced == ["The application could not start: " + reason + "\n" + lines[1]]
    assert w(app.parent) in next(t for t in run.traces if t.startswith("CreateProcess: "))
