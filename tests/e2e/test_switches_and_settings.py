"""The launcher's own switches and how its string-table settings read."""
import pytest

from wine_session import windows_path as w

USAGE = ("Options: \nuse -c or /c to run java with console window\nuse -d or /d to get output to log file\n"
         "use -h, /h, -? or /? to get help about usage.")


def launcher_with_runtime(scenario, **settings):
    values = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"}
    values.update(settings)
    app = scenario.launcher(values)
    scenario.java_home(app.parent / "jre", run_ms=1500, exit_code=5)
    return app


@pytest.mark.parametrize("args", [["-h"], ["/h"], ["-?"], ["/?"], ["-x"], ["--c"], ["-c", "-d"], ["/docs/report.txt"]])
def test_usage_help_and_nothing_else(scenario, args):
    app = launcher_with_runtime(scenario)
    run = scenario.run(app, args=args, cwd=scenario.dir)
    assert run.boxes == [{"caption": "", "text": USAGE, "icon": "information", "splash": "none"}]
    assert run.exit_code == 0
    assert run.traces == []
    assert run.records == []
    assert not (scenario.dir / "log.txt").exists()


@pytest.mark.parametrize("switch", ["-c", "/C"])
def test_console_switch_starts_java_exe(scenario, switch):
    app = scenario.launcher({"jar": "app.jar"})
    home = w(scenario.java_home("jre"))
    run = scenario.run(app, args=[switch], env={"JAVA_HOME": home}, wait_children=10)
    assert run.traces[0] == "run as console application"
    assert run.traces[-1] == f'CreateProcess: "{home}\\bin\\java.exe"  -jar app.jar'
    assert [r["exe"] for r in run.records] == [home + r"\bin\java.exe", home + r"\bin\java.exe"]


def test_plain_arguments_are_ignored(scenario):
    app = launcher_with_runtime(scenario)
    # The launcher returns at once; wait for the runtime, or it may be ended before it records.
    run = scenario.run(app, args=["document.txt", "more"], wait_children=10)
    assert run.boxes == []
    assert [r["cmdline"].endswith(" -jar app.jar") for r in run.app_starts] == [True]


def test_a_flag_counts_by_its_presence_whatever_its_word(scenario):
    # The tool writes a flag that is on as "on"; a string table written otherwise (by an earlier
    # tool, or by hand) still counts a flag by its presence alone: "no" is on too.
    app = launcher_with_runtime(scenario, stay_alive="on")
    data = app.read_bytes()
    entry = b"\x02\x00o\x00n\x00"  # the string table entry: its length, then UTF-16
    assert data.count(entry) == 1
    app.write_bytes(data.replace(entry, b"\x02\x00n\x00o\x00"))
    run = scenario.run(app)
    assert run.exit_code == 5


@pytest.mark.parametrize("stay_alive, watch", [(None, "0"), ("off", "-0"), ("no", "0000000000")])
def test_without_stay_alive_the_launcher_returns_at_once(scenario, stay_alive, watch):
    # Without the start watch, which would wait for this runtime's failure and report it; a
    # flag written off is off, and every way of writing 0 turns the watch off.
    settings = {"startup_check_seconds": watch, **({"stay_alive": stay_alive} if stay_alive else {})}
    app = launcher_with_runtime(scenario, **settings)
    run = scenario.run(app, wait_children=10)
    assert run.exit_code == 0
    assert len(run.app_starts) == 1
    assert run.reports == []


def test_long_texts_with_quotes_and_backslashes_reach_the_launcher(scenario):
    options = " ".join(f'-Dp{i}="va\\lue {i}"' for i in range(40))
    assert len(options) > 255
    app = launcher_with_runtime(scenario, vm_options=options)
    run = scenario.run(app)
    assert run.traces[1] == options
    assert run.app_starts[0]["cmdline"].endswith(f'" {options} -jar app.jar')
