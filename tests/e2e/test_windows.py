"""The launcher's windows: splash, the wait for the application's window, cannot-start dialog and their screenshots."""
import shutil
import struct

import pytest
from PIL import Image, ImageDraw

from scenario import FAKE_JAVA, rect
from wine_session import BUILD
from wine_session import windows_path as w

SCREENSHOTS = BUILD / "screenshots"
SCREEN = (1024, 768)
DOWNLOAD = "https://www.java.com/download/"
CANNOT_START = ("This application cannot start since no appropriate JVM was found.\r\n"
                "It is required to have JRE version 1.5 or higher installed on your computer.\r\n"
                f"Please go to {DOWNLOAD} for installation instructions.")
SPLASH_FAILED = "Cannot load splash screen. Probably unsupported or invalid file."


@pytest.fixture
def drawn_captions(wine_session):
    """Window frames and captions drawn by Wine itself (Xvfb has no window manager to draw
    them), so that screenshots show the whole window."""
    key = r"HKCU\Software\Wine\X11 Driver"
    result = wine_session.wine(["reg", "add", key, "/v", "Decorated", "/d", "N", "/f"])
    assert result.returncode == 0
    yield
    wine_session.wine(["reg", "delete", key, "/v", "Decorated", "/f"])


def picture(tmp_path, name, size, format):
    path = tmp_path / name
    image = Image.new("RGB", size, (30, 90, 160))
    for x in range(size[0]):
        image.putpixel((x, x * size[1] // size[0]), (250, 200, 40))
    image.save(path, format=format)
    return path


def launcher(scenario, picture_file=None, **settings):
    """A launcher with a bundled runtime; the start watch is off unless a test turns it on."""
    values = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "startup_check_seconds": "0"}
    values.update({k: v for k, v in settings.items() if v is not None})
    return scenario.launcher(values, splash=picture_file)


def with_runtime(scenario, app, **config):
    scenario.java_home(app.parent / "jre", **config)
    return app


# --- the launcher's end, by configuration -------------------------------------------------

@pytest.mark.parametrize("status", [0, 3, 259])
def test_stay_alive_returns_the_application_status(scenario, status):
    # With the start watch on, a failure is reported and the status is still the application's.
    app = with_runtime(scenario, launcher(scenario, stay_alive="on", startup_check_seconds="10"), run_ms=1200,
                       exit_code=status)
    run = scenario.run(app)
    assert run.exit_code == status
    assert run.splash is None
    assert len(run.app_starts) == 1
    assert len(run.reports) == (1 if status else 0)


def test_splash_for_one_tick_without_stay_alive_returns_success(scenario):
    app = with_runtime(scenario, launcher(scenario, splash="on", splash_seconds="1"), run_ms=8000)
    run = scenario.run(app)
    assert run.splash is not None
    assert run.exit_code == 0


@pytest.mark.parametrize("seconds", [None, "0", "-4"])
def test_splash_time_that_is_not_positive_lasts_two_seconds(scenario, seconds):
    # A longer splash would outlast the application and return its status, 5.
    app = with_runtime(scenario, launcher(scenario, splash="on", splash_seconds=seconds), run_ms=8000, exit_code=5)
    run = scenario.run(app)
    assert run.exit_code == 0
    assert 1.5 < run.elapsed < 7


def test_splash_end_with_a_running_application_is_success(scenario):
    app = with_runtime(scenario, launcher(scenario, splash="on", splash_seconds="3"), run_ms=10000)
    run = scenario.run(app)
    assert run.exit_code == 0
    assert run.elapsed >= 2.5


def test_application_that_ends_during_the_splash_ends_the_launcher_with_its_status(scenario):
    app = with_runtime(scenario, launcher(scenario, splash="on", splash_seconds="30"), run_ms=300, exit_code=7)
    run = scenario.run(app, timeout=45)
    assert run.exit_code == 7
    assert run.elapsed < 20
    assert run.reports == []  # the start watch is off


def test_wait_for_window_ends_at_a_window_created_hidden_and_shown_later(scenario):
    app = with_runtime(scenario, launcher(scenario, splash="on", splash_seconds="30", wait_for_window="on"),
                       window="hidden_then_visible", window_delay_ms=2500, run_ms=40000)
    run = scenario.run(app, timeout=45)
    assert run.exit_code == 0
    assert run.windows_shown == 1
    assert 2 <= run.elapsed < 20


def test_windows_of_other_processes_do_not_count(scenario):
    app = with_runtime(scenario, launcher(scenario, splash="on", splash_seconds="4", wait_for_window="on"),
                       run_ms=15000)
    decoy = scenario.double_at(scenario.dir / "decoy", ("decoy.exe",), window="visible", run_ms=30000)
    run = scenario.run(app, decoy=w(decoy / "decoy.exe"))
    assert run.exit_code == 0
    assert run.elapsed >= 3.5


def test_splash_with_stay_alive_is_hidden_after_its_time_and_the_launcher_waits(scenario):
    app = with_runtime(scenario, launcher(scenario, splash="on", splash_seconds="1", stay_alive="on"),
                       run_ms=5000, exit_code=9)
    run = scenario.run(app)
    assert run.events[-2:] == ["splash-hidden", "exit"]
    assert run.events.index("splash") < run.events.index("splash-hidden")
    assert run.exit_code == 9


def test_window_found_with_stay_alive_hides_splash_and_waits_for_the_end(scenario):
    app = with_runtime(scenario, launcher(scenario, splash="on", splash_seconds="20", stay_alive="on",
                                          wait_for_window="on"),
                       window="visible", window_delay_ms=1500, run_ms=5000, exit_code=6)
    run = scenario.run(app)
    # Without the window check the splash would stay until the launcher ends with the application.
    assert "splash-hidden" in run.events
    assert run.exit_code == 6


# --- the splash picture -----------------------------------------------------------------

def test_default_picture_shows_centred_and_is_saved_as_screenshot(scenario):
    app = with_runtime(scenario, launcher(scenario, splash="on", splash_seconds="2"), run_ms=6000)
    shot = scenario.dir / "splash.bmp"
    run = scenario.run(app, splash_shot=shot)
    x, y, width, height = (int(v) for v in run.splash["rect"].split(","))
    assert (width, height) == (48, 48)
    assert (x, y) == ((SCREEN[0] - 48) // 2, (SCREEN[1] - 48) // 2)
    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    Image.open(shot).save(SCREENSHOTS / "splash.png")
    assert Image.open(shot).size == (48, 48)


@pytest.mark.parametrize("format, size", [("BMP", (75, 41)), ("GIF", (33, 17)), ("JPEG", (40, 21))])
def test_picture_files_of_odd_size_are_centred(scenario, tmp_path, format, size):
    splash = picture(tmp_path, f"splash.{format.lower()}", size, format)
    app = with_runtime(scenario, launcher(scenario, picture_file=splash, splash="on", splash_seconds="1"), run_ms=5000)
    run = scenario.run(app)
    assert run.splash["rect"] == f"{(SCREEN[0] - size[0]) // 2},{(SCREEN[1] - size[1]) // 2},{size[0]},{size[1]}"
    assert run.exit_code == 0


def test_picture_that_does_not_decode_is_reported_and_nothing_starts(scenario, tmp_path):
    # Whole in its structure (the configuration tool refuses anything less), garbage in its pixels.
    junk = tmp_path / "junk.png"
    chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + bytes(4)  # noqa: E731
    junk.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 40, 30, 8, 2, 0, 0, 0))
                     + chunk(b"IDAT", b"this is not a picture at all") + chunk(b"IEND", b""))
    app = with_runtime(scenario, launcher(scenario, picture_file=junk, splash="on"))
    run = scenario.run(app)
    assert [(b["text"], b["icon"], b["caption"]) for b in run.boxes] == [(SPLASH_FAILED, "error", "")]
    assert run.exit_code == 1
    assert run.records == []
    assert not any(t.startswith("CreateProcess") for t in run.traces)
    # The trace says why. Whether the decoder refuses such a file when it opens it (Wine's does)
    # or only when it decodes its pixels is the system's.
    assert [t for t in run.traces if t.startswith("Cannot show the splash")] in (
        ["Cannot show the splash: the splash picture is no picture the system decodes"],
        ["Cannot show the splash: the splash picture's pixels do not decode"])


def test_failed_start_with_splash_keeps_the_splash_behind_the_message(scenario):
    app = launcher(scenario, splash="on", splash_seconds="2")
    (app.parent / "jre" / "bin").mkdir(parents=True)
    (app.parent / "jre" / "bin" / "javaw.exe").write_text("not a program")
    run = scenario.run(app)
    assert len(run.boxes) == 1
    assert run.boxes[0]["text"].startswith("Error occured while starting the application...\n")
    assert run.boxes[0]["splash"] == "visible"
    assert run.exit_code == 1


# --- the cannot-start dialog ----------------------------------------------------------

def no_runtime(scenario):
    return scenario.launcher({"jar": "app.jar", "min_version": "1.5"})


def test_dialog_texts_geometry_and_screenshot(scenario, drawn_captions):
    shot = scenario.dir / "dialog.bmp"
    run = scenario.run(no_runtime(scenario), dialog_shot=shot)
    dialog = run.dialogs[0]
    # The product name of a launcher that names none is the configuration tool's default.
    assert dialog["caption"] == "Java Application - Application Cannot Start"
    assert dialog["heading"] == "Java Application"
    assert dialog["caret"] == "none"  # its text is read-only: no text cursor, although focused
    assert dialog["text"] == CANNOT_START
    assert dialog["button"] == "OK"
    assert dialog["message_class"] == "RichEdit20W"
    assert int(dialog["exstyle"], 16) & 0x8  # topmost
    assert int(dialog["style"], 16) & 0x80000 == 0  # no system menu, so no close box
    client = [int(v) for v in dialog["client"].split(",")]
    window = [int(v) for v in dialog["window"].split(",")]
    message = [int(v) for v in dialog["message"].split(",")]
    button = [int(v) for v in dialog["okbutton"].split(",")]
    # Dialog units: client 337 x 81 (the heading 26), message 323 x 25, button 50 x 14.
    assert abs(client[2] / button[2] - 337 / 50) < 0.15
    assert abs(client[3] / button[3] - 81 / 14) < 0.3
    assert message[1] - window[1] > button[3] * 26 / 14  # below the heading
    assert abs(message[2] / button[2] - 323 / 50) < 0.15
    work = [int(v) for v in dialog["work"].split(",")]
    assert abs(window[0] - (work[0] + work[2] // 2 - window[2] // 2)) <= 1
    assert abs(window[1] - (work[1] + work[3] // 2 - window[3] // 2)) <= 1
    assert run.exit_code == 1
    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    Image.open(shot).save(SCREENSHOTS / "dialog.png")


def test_dialog_names_the_configured_product_with_its_icon(scenario, tmp_path, drawn_captions):
    icon = tmp_path / "editor.ico"
    drawn = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    ImageDraw.Draw(drawn).ellipse([1, 1, 30, 30], fill=(220, 30, 30, 255))
    drawn.save(icon, format="ICO", sizes=[(32, 32)], bitmap_format="bmp")
    app = scenario.launcher({"jar": "app.jar", "min_version": "17", "product_name": "Fjord Editor",
                             "icon": str(icon)})
    shot = scenario.dir / "dialog.bmp"
    run = scenario.run(app, dialog_shot=shot)
    dialog = run.dialogs[0]
    assert dialog["caption"] == "Fjord Editor - Application Cannot Start"
    assert dialog["heading"] == "Fjord Editor"
    assert dialog["text"].startswith("This application cannot start since no appropriate JVM was found.")
    image = Image.open(shot).convert("RGB")
    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    image.save(SCREENSHOTS / "cannot-start-dialog.png")
    # The icon's red shows in the heading, at the dialog's upper left.
    window = [int(v) for v in dialog["window"].split(",")]
    message = [int(v) for v in dialog["message"].split(",")]
    heading = image.crop((0, 0, image.size[0] // 4, message[1] - window[1]))
    assert sum(1 for pixel in heading.getdata() if pixel == (220, 30, 30)) > 500


@pytest.mark.parametrize("action", ["ok", "enter", "esc"])
def test_dialog_ends_with_ok_enter_or_escape(scenario, action):
    run = scenario.run(no_runtime(scenario), dialog_actions=[action], timeout=15)
    assert run.exit_code == 1
    assert len(run.dialogs) == 1


def test_link_opens_the_configured_address_and_the_dialog_steps_back(scenario, wine_session):
    handler = scenario.dir / "handler" / "open-handler.exe"
    handler.parent.mkdir()
    shutil.copy(FAKE_JAVA, handler)
    wine_session.register_open_handler("https", handler)
    address = "https://adoptium.example/temurin/releases/?version=17"
    app = scenario.launcher({"jar": "app.jar", "min_version": "11", "max_version": "17", "download_url": address})
    run = scenario.run(app, dialog_actions=["link", "ok"])
    assert run.dialogs[0]["text"] == (
        "This application cannot start since no appropriate JVM was found.\r\n"
        "It is required to have JRE version 11 up to 17 installed on your computer.\r\n"
        f"Please go to {address} for installation instructions.")
    # The dialog stays, no longer above every window, so the browser can come to the front.
    assert run.dialog_after_link == [{"open": "1", "topmost": "0"}]
    assert [r["cmdline"] for r in run.records] == [f'"{w(handler)}" "{address}"']
    assert run.exit_code == 1


def test_rich_edit_library_planted_beside_the_launcher_is_never_loaded(scenario):
    app = no_runtime(scenario)
    shutil.copy(BUILD / "x86_64" / "RICHED32.DLL", app.parent / "RICHED32.DLL")
    # Wine prefers its own libraries; ask for the planted one first, as Windows would.
    run = scenario.run(app, env={"WINEDLLOVERRIDES": "mscoree,mshtml=;riched32=n,b"})
    assert len(run.dialogs) == 1
    assert not run.planted_library_loaded


def test_centring_holds_at_a_larger_display_scale(scenario, wine_session):
    def set_dpi(value):
        result = wine_session.wine(["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                                    "/d", str(value), "/f"])
        assert result.returncode == 0

    set_dpi(144)
    try:
        app = with_runtime(scenario, launcher(scenario, splash="on", splash_seconds="1"), run_ms=5000)
        splash = scenario.run(app).splash
        width, height = (int(v) for v in splash["screen"].split(","))
        # The 48-pixel picture at 150 %.
        assert splash["rect"] == f"{(width - 72) // 2},{(height - 72) // 2},72,72"
        dialog = scenario.run(no_runtime(scenario)).dialogs[0]
        window = [int(v) for v in dialog["window"].split(",")]
        work = [int(v) for v in dialog["work"].split(",")]
        assert abs(window[0] - (work[0] + work[2] // 2 - window[2] // 2)) <= 1
        assert abs(window[1] - (work[1] + work[3] // 2 - window[3] // 2)) <= 1
        assert window[2] > 600  # the dialog grew with the larger font
    finally:
        set_dpi(96)


# --- the start-failure report ---------------------------------------------------------

REASON = ("Error: Could not find or load main class com.example.Main\\r\\n"
          "Caused by: java.lang.ClassNotFoundException: com.example.Main\\r\\n")


def failing(scenario, **settings):
    values = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "product_name": "Quillfen Editor"}
    values.update(settings)
    return scenario.launcher(values)


def test_a_failed_start_is_reported_with_reason_status_runtime_and_command_line(scenario, drawn_captions):
    app = failing(scenario, startup_check_seconds="30")  # headroom for a slow start under Wine
    home = scenario.java_home(app.parent / "jre", output="starting\\r\\n", error_output=REASON, exit_code=1)
    (home / "release").write_text('JAVA_VERSION="17.0.9"\n')
    shot = scenario.dir / "report.bmp"
    run = scenario.run(app, report_actions=["copy", "resize", "close"], report_shot=shot)
    assert run.exit_code == 1
    [report] = run.reports
    assert report["caption"] == "Quillfen Editor"
    java = w(app.parent) + r"\jre\bin\javaw.exe"
    assert report["text"] == (
        "Quillfen Editor could not start.\r\n"
        "The application ended with exit status 1 before it showed a window.\r\n\r\n"
        f"Java runtime: {java}\r\n"
        "Java version: 17.0.9\r\n"
        f'Command line: "{java}"  -jar app.jar\r\n\r\n'
        "Last output of the application:\r\n"
        "starting\r\n"
        "Error: Could not find or load main class com.example.Main\r\n"
        "Caused by: java.lang.ClassNotFoundException: com.example.Main")
    assert (report["copy"], report["close"], report["text_class"]) == ("&Copy", "Close", "Edit")
    style = int(report["style"], 16)
    assert style & 0x40000 and style & 0x80000  # sizing border, close box
    assert int(report["exstyle"], 16) & 0x8 == 0  # not above every other window
    assert int(report["text_style"], 16) & 0x804 == 0x804  # read-only, multi-line
    assert run.clipboard == [{"text": report["text"]}]
    before = rect(report["textarea"])
    after = rect(run.report_resized[0]["textarea"])
    assert after[2] > before[2] * 1.3 and after[3] > before[3] * 1.3  # the text area grows with the window
    assert "The application could not start: exit status 1" in run.traces
    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    Image.open(shot).save(SCREENSHOTS / "start-failure-report.png")


LAUNCH_ERRORS = {
    "jar": ["Error: Unable to access jarfile app.jar"],
    "vm": ["Error: Could not create the Java Virtual Machine.",
           "Error: A fatal exception has occurred. Program will exit."],
}


@pytest.mark.parametrize("stay_alive", [None, "on"], ids=["plain", "stay-alive"])
@pytest.mark.parametrize("error", LAUNCH_ERRORS)
def test_the_windowed_runtimes_own_error_boxes_are_taken_into_the_report(scenario, error, stay_alive):
    app = failing(scenario, startup_check_seconds="30", **({"stay_alive": stay_alive} if stay_alive else {}))
    scenario.java_home(app.parent / "jre", launch_error=error)
    run = scenario.run(app)
    assert run.exit_code == 1
    [report] = run.reports
    reported = "The Java runtime reported:\r\n" + "".join(line + "\r\n" for line in LAUNCH_ERRORS[error])
    assert reported in report["text"]
    if error == "vm":
        assert report["text"].endswith("Last output of the application:\r\nUnrecognized option: --no-such-option")
    # Every box was answered: none is left for the user to close, and the runtime ended.
    assert scenario.record.read_text().count("box-answered") == len(LAUNCH_ERRORS[error])
    assert [t for t in run.traces if t.startswith("The Java runtime reported: ")] == [
        "The Java runtime reported: " + line for line in LAUNCH_ERRORS[error]]


def test_the_console_runtime_writes_its_launch_error_into_the_report(scenario):
    app = failing(scenario, bundled_java=r"jre\bin\java.exe", startup_check_seconds="30")
    scenario.java_home(app.parent / "jre", launch_error="jar")
    run = scenario.run(app)
    assert run.exit_code == 1
    [report] = run.reports
    assert report["text"].endswith("Last output of the application:\r\nError: Unable to access jarfile app.jar")
    assert "The Java runtime reported" not in report["text"]


def test_copy_waits_for_a_clipboard_another_program_holds_and_says_when_it_cannot(scenario):
    app = failing(scenario, startup_check_seconds="30")
    scenario.java_home(app.parent / "jre", error_output=REASON, exit_code=1)
    run = scenario.run(app, report_actions=["copy-held-briefly", "copy-held", "close"], timeout=40)
    [report] = run.reports
    assert run.clipboard[0] == {"text": report["text"]}  # held for a moment: copied all the same
    assert [box["text"] for box in run.boxes] == [
        "The report could not be put on the clipboard: another program is using it. Please try Copy again."]
    assert run.clipboard[1] == {"text": ""}
    assert run.exit_code == 1


@pytest.mark.parametrize("settings, config, exit_code", [
    ({"startup_check_seconds": "0"}, {}, 0),
    ({"stay_alive": "on"}, {"window": "visible", "run_ms": 1500}, 1),
    ({"stay_alive": "on", "startup_check_seconds": "1"}, {"run_ms": 3000}, 1),
    ({"console": "on"}, {}, 1),
], ids=["watch-off", "window-before-failing", "failing-after-the-watch", "console-launcher"])
def test_no_report(scenario, settings, config, exit_code):
    app = failing(scenario, **settings)
    scenario.java_home(app.parent / "jre", error_output=REASON, exit_code=1, **config)
    run = scenario.run(app)
    assert run.reports == []
    assert run.exit_code == exit_code
    assert len(run.app_starts) == 1


def test_the_splash_is_gone_before_the_report(scenario):
    app = failing(scenario, splash="on", splash_seconds="20")
    scenario.java_home(app.parent / "jre", error_output=REASON, run_ms=1500, exit_code=2)
    run = scenario.run(app)
    assert run.events.index("splash") < run.events.index("splash-hidden") < run.events.index("report")
    assert run.reports[0]["text"].startswith("Quillfen Editor could not start.\r\nThe application ended with exit "
                                             "status 2 ")
    assert run.exit_code == 2


def test_a_plain_launcher_ends_at_the_application_window(scenario):
    app = failing(scenario, startup_check_seconds="40")
    scenario.java_home(app.parent / "jre", window="visible", window_delay_ms=1500, run_ms=60000)
    run = scenario.run(app, timeout=80, wait_children=None)
    assert run.exit_code == 0
    assert 1.5 <= run.elapsed < 30  # at the window, well before the watch time
