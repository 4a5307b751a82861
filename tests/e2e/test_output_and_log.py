"""The application's console output: trace chunks and, with -d, log.txt byte for byte."""

OUTPUT = b"line one\r\nline two\nbytes:\x82\x81 nul:\x00after\n" + b"z" * 300 + b"\n"
# The reader converts from the OEM code page (437) to the ANSI code page (1252): \x82 is e-acute, \x81 u-umlaut.
CONVERTED = OUTPUT.replace(b"\x82", b"\xe9").replace(b"\x81", b"\xfc")


def escaped(data):
    return "".join(f"\\x{b:02x}" for b in data)


def staying_launcher(scenario, **config):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "stay_alive": "on"})
    scenario.java_home(app.parent / "jre", **config)
    return app


def test_debug_log_holds_the_output_unchanged_in_the_starting_directory(scenario):
    app = staying_launcher(scenario, output=escaped(OUTPUT), run_ms=300, exit_code=4)
    started_in = scenario.dir / "start"
    started_in.mkdir()
    run = scenario.run(app, args=["-d"], cwd=started_in)
    assert run.exit_code == 4
    assert run.traces[0] == "run with debug flag"
    assert (started_in / "log.txt").read_bytes() == CONVERTED
    assert not (app.parent / "log.txt").exists()
    chunks = run.traces[run.traces.index(next(t for t in run.traces if t.startswith("CreateProcess: "))) + 1:]
    # Each chunk of at most 255 bytes is one trace string, which ends at a NUL byte.
    pieces = [CONVERTED[i:i + 255] for i in range(0, len(CONVERTED), 255)]
    assert chunks == [piece.split(b"\0")[0].decode("latin-1") for piece in pieces]


def test_long_output_reaches_the_log_whole(scenario):
    line = b"0123456789" * 20 + b"\r\n"
    app = staying_launcher(scenario, output=escaped(line), output_repeat=2000)
    run = scenario.run(app, args=["/D"], cwd=scenario.dir)
    assert run.exit_code == 0
    assert (scenario.dir / "log.txt").read_bytes() == line * 2000


def test_without_switch_no_log_file_is_written(scenario):
    app = staying_launcher(scenario, output="hello\\n")
    run = scenario.run(app, cwd=scenario.dir)
    assert "hello\n" in run.traces
    assert not (scenario.dir / "log.txt").exists()
    assert not (app.parent / "log.txt").exists()


def test_log_file_is_created_empty_even_when_no_runtime_is_found(scenario):
    app = scenario.launcher({"jar": "app.jar"})
    (scenario.dir / "log.txt").write_text("old contents")
    run = scenario.run(app, args=["-d"], cwd=scenario.dir)
    assert run.exit_code == 1
    assert len(run.dialogs) == 1
    assert (scenario.dir / "log.txt").read_bytes() == b""
