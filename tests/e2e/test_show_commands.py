"""The show value a launcher is started with (a shortcut's "Run: Maximised", a script's hidden
start) is the application's: the launcher's own windows show normally, and the application gets
exactly the value the launcher was given, or none."""
import pytest
from PIL import Image, ImageDraw

SCREEN = (1024, 768)
WS_EX_LAYERED = 0x80000
WS_MAXIMIZE, WS_MINIMIZE, WS_VISIBLE = 0x01000000, 0x20000000, 0x10000000
SW_HIDE, SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE = 0, 3, 7
STARTS = [SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE, SW_HIDE]


def centred(width, height):
    return f"{(SCREEN[0] - width) // 2},{(SCREEN[1] - height) // 2},{width},{height}"


def shown_normally(style):
    return style & WS_VISIBLE and not style & (WS_MAXIMIZE | WS_MINIMIZE)


def splash_launcher(scenario, picture, **double):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "splash": "on",
                             "splash_seconds": "2"}, splash=picture)
    scenario.java_home(app.parent / "jre", run_ms=5000, **double)
    return app


@pytest.mark.parametrize("show", STARTS)
@pytest.mark.parametrize("translucent", [False, True], ids=["plain", "translucent"])
def test_the_splash_keeps_its_size_and_place_and_the_application_gets_the_show_value(
        scenario, tmp_path, show, translucent):
    picture = tmp_path / "splash.png"
    image = Image.new("RGBA", (120, 80), (40, 90, 200, 255))
    if translucent:
        ImageDraw.Draw(image).rectangle([0, 60, 119, 79], fill=(40, 90, 200, 128))
    image.save(picture, format="PNG")
    run = scenario.run(splash_launcher(scenario, picture), show=show)
    assert run.splash is not None, "the splash never showed"
    assert run.splash["rect"] == centred(120, 80)
    assert run.splash["iconic"] == "0"
    assert bool(int(run.splash["exstyle"]) & WS_EX_LAYERED) == translucent
    assert [r["show"] for r in run.app_starts] == [str(show)]
    assert run.exit_code == 0


@pytest.mark.parametrize("settings", [{}, {"stay_alive": "on"}, {"console": "on"}],
                         ids=["plain", "stay-alive", "console"])
def test_a_start_without_a_show_value_passes_none_to_the_runtime(scenario, settings):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", **settings})
    scenario.java_home(app.parent / "jre", run_ms=300)
    run = scenario.run(app)
    assert [r["show"] for r in run.app_starts] == ["none"]


@pytest.mark.parametrize("show", [SW_SHOWMAXIMIZED, SW_HIDE])
def test_dialogs_and_message_boxes_show_normally(scenario, show):
    # The cannot-start dialog (no runtime) and a message box (the usage help) are each the
    # launcher's first window.
    dialog = scenario.run(scenario.launcher({"jar": "app.jar", "min_version": "1.5"}), show=show)
    assert len(dialog.dialogs) == 1 and shown_normally(int(dialog.dialogs[0]["style"], 16))
    window = [int(v) for v in dialog.dialogs[0]["window"].split(",")]
    work = [int(v) for v in dialog.dialogs[0]["work"].split(",")]
    assert window[3] < work[3] // 2
    assert abs(window[0] - (work[0] + work[2] // 2 - window[2] // 2)) <= 1
    box = scenario.run(scenario.launcher({"jar": "app.jar"}), args=["-h"], show=show)
    assert len(box.boxes) == 1 and "shown" not in box.boxes[0]
    assert box.exit_code == 0


@pytest.mark.parametrize("show", [SW_SHOWMAXIMIZED, SW_HIDE])
def test_the_start_failure_report_shows_normally(scenario, show):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"})
    scenario.java_home(app.parent / "jre", exit_code=2, run_ms=300, error_output="no main class\\n")
    run = scenario.run(app, show=show)
    assert len(run.reports) == 1 and shown_normally(int(run.reports[0]["style"], 16))
    assert run.exit_code == 2
