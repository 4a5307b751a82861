"""single_instance: a later start hands its arguments to the running application, through the
channel the first start named to it, and starts no runtime."""
import os
import queue
import re
import shutil
import subprocess
import threading
from pathlib import Path

import pytest
from PIL import Image

from wine_session import ROOT
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


def test_only_the_running_application_may_take_the_arguments(scenario):
    # Another process of the user that knows the pipe's name opens it first: it gets nothing.
    app = single(scenario, window="visible", run_ms=30000, later_starts="helper")
    run = scenario.run(app, args=[DOCUMENT], decoy=w(app), wait_children=1)
    assert run.exit_code == 0 and len(run.app_starts) == 1
    assert deliveries(scenario) == []
    assert re.fullmatch(r"Later start: process \d+, not the running application, opened the pipe; "
                        r"the arguments were not delivered", run.traces[-1])


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
    for document in ("first one.myapp", "second one.myapp"):
        run = scenario.run(app, args=[document], wait_children=20)
        assert len(run.app_starts) == 1
        assert run.app_starts[0]["cmdline"].endswith(f' -jar app.jar "{document}"')
        channels.append(CHANNEL.search(run.app_starts[0]["cmdline"]).group(1))
        assert deliveries(scenario) == []
    # Each application listens on a channel of its own marker.
    assert channels[0] != channels[1]


# ---- the real library, in this machine's JDK --------------------------------------------------
JDK = Path("/usr/lib/jvm/java-17-openjdk-amd64")
JDKS = [JDK, Path("/usr/lib/jvm/temurin-25-jdk-amd64")]


@pytest.fixture(scope="module")
def library(tmp_path_factory):
    """The library as tools/build-instance-library builds it, the test bridge and the sample
    application compiled against it."""
    base = tmp_path_factory.mktemp("library")
    built = subprocess.run([str(ROOT / "tools" / "build-instance-library"), "--out", str(base / "out"), "--repo",
                            str(base / "repo")], capture_output=True, text=True, timeout=600)
    assert built.returncode == 0, built.stdout + built.stderr
    jar = base / "out" / "windows-launcher-instance-1.0.0.jar"
    classes = base / "classes"
    sources = [ROOT / "tests" / "e2e" / "java" / "windowslauncher" / "instance" / "LaterStartBridge.java",
               ROOT / "samples" / "hello-swing" / "src" / "main" / "java" / "hello" / "Hello.java"]
    compiled = subprocess.run([str(JDK / "bin" / "javac"), "-encoding", "UTF-8", "-cp", str(jar), "-d", str(classes),
                               *map(str, sources)], capture_output=True, text=True, timeout=300)
    assert compiled.returncode == 0, compiled.stderr
    return f"{jar}:{classes}"


class Bridge:
    """The library listening behind the double's relay; its lines as they come."""

    def __init__(self, classpath, args=(), env=None, jdk=JDK):
        self.process = subprocess.Popen([str(jdk / "bin" / "java"), "-cp", classpath,
                                         "windowslauncher.instance.LaterStartBridge", *args],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, env=env)
        self.lines = queue.Queue()
        threading.Thread(target=lambda: [self.lines.put(line.rstrip("\n")) for line in self.process.stdout],
                         daemon=True).start()
        self.port = int(self.next("port=", 60))

    def next(self, prefix, timeout=30):
        while True:
            line = self.lines.get(timeout=timeout)
            if line.startswith(prefix):
                return line[len(prefix):]

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=30)


def decoded(hex_list):
    return [bytes.fromhex(a).decode("utf-8") for a in hex_list.split(",") if a]


@pytest.mark.parametrize("jdk", JDKS, ids=lambda jdk: jdk.name)
def test_the_library_receives_what_a_later_start_sends(scenario, library, jdk):
    bridge = Bridge(library, jdk=jdk)
    try:
        app = single(scenario, window="visible", run_ms=30000, later_starts=f"relay:{bridge.port}")
        run = scenario.run(app, args=[DOCUMENT, "zweites Dokument.myapp"], decoy=w(app), wait_children=1)
        assert run.exit_code == 0 and len(run.app_starts) == 1
        # The double relayed the pipe the first start named to its application.
        assert CHANNEL.search(run.app_starts[0]["cmdline"])
        assert decoded(bridge.next("delivered=")) == [DOCUMENT, "zweites Dokument.myapp"]
        assert "Later start: 2 arguments handed to the running application" in run.traces
        assert "later-start-relayed" in scenario.record.read_text(encoding="utf-8")
    finally:
        bridge.close()
    assert bridge.lines.empty() or not any(line.startswith("delivered=") for line in list(bridge.lines.queue))


def test_the_samples_window_shows_a_delivered_file_name(scenario, library, wine_session):
    shot = scenario.dir / "hello-swing-later-start.png"
    # The sample's window on the session's own X display, beside the double's.
    bridge = Bridge(library, [str(shot), "hello.Hello"], env=dict(os.environ, DISPLAY=wine_session.env["DISPLAY"]))
    try:
        app = single(scenario, window="visible", run_ms=30000, later_starts=f"relay:{bridge.port}")
        run = scenario.run(app, args=[r"C:\Users\Anna\Quarterly report.myapp"], decoy=w(app), wait_children=1)
        assert run.exit_code == 0 and len(run.app_starts) == 1
        assert decoded(bridge.next("delivered=")) == [r"C:\Users\Anna\Quarterly report.myapp"]
        assert decoded(bridge.next("label=")) == [r"Hello, C:\Users\Anna\Quarterly report.myapp"]
        assert bridge.next("shot=") == "true"
    finally:
        bridge.close()
    kept = ROOT / "build" / "shots"
    kept.mkdir(parents=True, exist_ok=True)
    shutil.copy(shot, kept / shot.name)
    with Image.open(shot) as picture:
        # The sample's window, widened for the whole path that its label now shows.
        width, height = picture.size
        assert width > 360 and height == 160
        rgb = picture.convert("RGB")
        dark = [x for x in range(width) for y in range(height) if sum(rgb.getpixel((x, y))) < 300]
        assert len(dark) > 1000 and max(dark) - min(dark) > width - 80
