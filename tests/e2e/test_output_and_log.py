"""The application's console output: trace chunks and, with -d, log.txt byte for byte and the
launcher's trace in launcher-trace.txt."""
from traces import search_section

OUTPUT = b"line one\r\nline two\nbytes:\x82\x81 nul:\x00after\n" + b"z" * 300 + b"\n"
TRACE_FILE = "launcher-trace.txt"


def escaped(data):
    return "".join(f"\\x{b:02x}" for b in data)


def launcher(scenario, stay_alive=True, **config):
    settings = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"}
    if stay_alive:
        settings["stay_alive"] = "on"
    app = scenario.launcher(settings)
    scenario.java_home(app.parent / "jre", **config)
    return app


def trace_file_lines(directory):
    data = (directory / TRACE_FILE).read_bytes()
    assert data.startswith(b"\xef\xbb\xbf")
    return data[3:].decode("utf-8")


def test_debug_log_holds_the_bytes_as_written_in_the_starting_directory(scenario):
    # The window stays long enough for the start watch to see it on a busy machine: its end with 4
    # is then the application's status, not a failed start.
    app = launcher(scenario, output=escaped(OUTPUT), window="visible", run_ms=1500, exit_code=4)
    started_in = scenario.dir / "start"
    started_in.mkdir()
    run = scenario.run(app, args=["-d"], cwd=started_in)
    assert run.exit_code == 4
    assert run.traces[0] == "run with debug flag"
    assert (started_in / "log.txt").read_bytes() == OUTPUT
    assert not (app.parent / "log.txt").exists()
    chunks = run.traces[run.traces.index(next(t for t in run.traces if t.startswith("CreateProcess: "))) + 1:]
    # Each read of at most 255 bytes is one trace string (decoded in the ANSI code page, which the
    # debug-output buffer shows again in that code page); a NUL ends the string.
    pieces = [OUTPUT[i:i + 255] for i in range(0, len(OUTPUT), 255)]
    assert chunks == [piece.split(b"\0")[0].decode("latin-1") for piece in pieces]


def test_debug_log_with_default_settings_captures_output_written_after_the_window(scenario):
    # The upper half of cp1252 (all but its five unassigned bytes), then a line a second later,
    # after the application has shown its window.
    high = bytes(b for b in range(0x80, 0x100) if b not in (0x81, 0x8D, 0x8F, 0x90, 0x9D))
    app = launcher(scenario, stay_alive=False, output=escaped(b"first line " + high + b"\r\n"),
                   window="visible", late_output_ms=1000, late_output="late line\\r\\n", run_ms=1500, exit_code=3)
    run = scenario.run(app, args=["-d"], cwd=scenario.dir)
    assert (scenario.dir / "log.txt").read_bytes() == b"first line " + high + b"\r\nlate line\r\n"
    # The window ended the start watch: the exit code is what it is without -d.
    assert run.exit_code == 0
    assert run.reports == []
    assert run.elapsed >= 1.0
    assert any(("first line " + high.decode("cp1252")) in t for t in
               (line.encode("latin-1").decode("cp1252") for line in run.traces))


def test_long_output_reaches_the_log_whole(scenario):
    line = b"0123456789" * 20 + b"\r\n"
    app = launcher(scenario, output=escaped(line), output_repeat=2000)
    run = scenario.run(app, args=["/D"], cwd=scenario.dir)
    assert run.exit_code == 0
    assert (scenario.dir / "log.txt").read_bytes() == line * 2000


def test_the_trace_file_holds_every_trace_line_and_the_log_none(scenario):
    app = launcher(scenario, output="reason on stdout\\r\\n", exit_code=0)
    run = scenario.run(app, args=["-d"], cwd=scenario.dir)
    text = trace_file_lines(scenario.dir)
    assert text == "".join(line + "\r\n" for line in run.traces)
    lines = text.split("\r\n")
    assert lines[0] == "run with debug flag"
    assert search_section(lines)[0] == "Search for Jre..."
    assert any(line.startswith("Full command line: ") and line.endswith(" -jar app.jar") for line in lines)
    assert (scenario.dir / "log.txt").read_bytes() == b"reason on stdout\r\n"
    assert not (scenario.dir / TRACE_FILE).with_name("log.txt").read_bytes().count(b"Search for")


def test_without_switch_no_log_or_trace_file_is_written(scenario):
    app = launcher(scenario, output="hello\\n")
    run = scenario.run(app, cwd=scenario.dir)
    assert "hello\n" in run.traces
    for name in ("log.txt", TRACE_FILE):
        assert not (scenario.dir / name).exists()
        assert not (app.parent / name).exists()


def test_log_and_trace_files_are_made_even_when_no_runtime_is_found(scenario):
    app = scenario.launcher({"jar": "app.jar"})
    (scenario.dir / "log.txt").write_text("old contents")
    run = scenario.run(app, args=["-d"], cwd=scenario.dir)
    assert run.exit_code == 1
    assert len(run.dialogs) == 1
    assert (scenario.dir / "log.txt").read_bytes() == b""
    lines = trace_file_lines(scenario.dir).split("\r\n")
    assert "Search for Jre..." in lines and "JAVA_HOME not found" in lines


def test_a_helper_that_keeps_writing_after_the_end_holds_the_launcher_at_most_two_seconds(scenario):
    app = launcher(scenario, window="visible", run_ms=1500, exit_code=5, helper_writes_ms=15000)
    run = scenario.run(app, timeout=40, wait_children=None)
    assert run.exit_code == 5
    assert any(t.startswith("helper line ") for t in run.traces)
    assert run.elapsed < 1.5 + 3.5  # the application's 1.5 s, at most 2 s of output after it, the starts
