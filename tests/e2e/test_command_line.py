"""The Java command line: VM options file or setting, boot class path, -jar, and failed starts."""
import pytest

from traces import start
from wine_session import windows_path as w

START_FAILED = "Error occured while starting the application...\n"


def bundled(scenario, name="app.exe", **settings):
    values = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"}
    values.update(settings)
    app = scenario.launcher(values, name=name)
    scenario.java_home(app.parent / "jre")
    return app, w(app.parent) + r"\jre\bin\javaw.exe"


@pytest.mark.parametrize("content, options", [
    (None, "-Dfrom=setting"),
    (b"", ""),
    (b"-Xmx64m\n", "-Xmx64m "),
    (b"-Xmx64m\n-Dname=\"two words\"\n", "-Xmx64m -Dname=\"two words\" "),
    (b"-Xmx64m\n-Da=1", "-Xmx64m -Da=1 "),
    (b"-Xmx64m\n\n-Da=1", "-Xmx64m -Da=1 "),
    (b"-Xmx64m\r\n-Da=1\r\n", "-Xmx64m -Da=1 "),
    (b"\xef\xbb\xbf-Xmx64m\r\n", "-Xmx64m "),
    (b"  -Da=1  \n#-Db=2\n", "  -Da=1   "),
])
def test_vm_options_from_file_or_setting(scenario, content, options):
    app, java = bundled(scenario, vm_options="-Dfrom=setting")
    if content is not None:
        app.with_name("app.exe.vmoptions").write_bytes(content)
    run = scenario.run(app)
    assert run.traces[1] == options
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}" {options} -jar app.jar']


def test_long_option_lines_are_read_whole(scenario):
    app, java = bundled(scenario)
    long_option = "-Dlong=" + "x" * 5000
    app.with_name("app.exe.vmoptions").write_text(f"{long_option}\n-Dlast=1\n")
    run = scenario.run(app)
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}" {long_option} -Dlast=1  -jar app.jar']


def test_options_file_follows_the_executable_name(scenario):
    app, java = bundled(scenario, name="Other.exe")
    app.with_name("app.exe.vmoptions").write_text("-Dwrong=1\n")
    app.with_name("Other.exe.vmoptions").write_text("-Dright=1")
    run = scenario.run(app)
    assert run.traces[0] == f"VM options{w(app)}.vmoptions"
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}" -Dright=1  -jar app.jar']


@pytest.mark.parametrize("jar, argument", [
    ("my app.jar", '"my app.jar"'),        # one argument, not "my" and a stray "app.jar"
    ('"my app.jar"', '"my app.jar"'),      # quoted by its author: as written
])
def test_empty_options_jar_with_blanks_and_launcher_arguments_ignored(scenario, jar, argument):
    app, java = bundled(scenario, jar=jar)
    run = scenario.run(app, args=["file.txt", "second"])
    assert run.traces[-3:] == start(java, f" -jar {argument}")
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}"  -jar {argument}']


def test_jdk_required_with_bundled_runtime_uses_the_bundled_home(scenario):
    app, java = bundled(scenario, jdk_required="yes")
    (app.parent.parent / "jre" / "lib").mkdir(parents=True)
    (app.parent.parent / "jre" / "lib" / "unrelated.jar").write_text("jar")  # beside the launcher's folder
    lib = app.parent / "jre" / "lib"
    lib.mkdir(parents=True)
    (lib / "tools.jar").write_text("jar")
    home = w(app.parent) + r"\jre"
    run = scenario.run(app)
    assert run.traces[4:11] == [
        "Search for Jdk only...", f"Try bundled JRE or JDK path: {java}", "Bundled Jre or jdk found", java,
        "JDK PATH...", home, f'"{home}\\lib\\tools.jar"']
    assert [r["cmdline"] for r in run.app_starts] == [
        f'"{java}"  -Xbootclasspath/p:"{home}\\lib\\tools.jar" -jar app.jar']


def test_jdk_required_without_jars_leaves_out_the_boot_class_path(scenario):
    app, java = bundled(scenario, jdk_required="yes")
    run = scenario.run(app)
    assert run.traces[8:10] == ["JDK PATH...", w(app.parent) + r"\jre"]
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}"  -jar app.jar']


def test_application_runs_in_the_working_directory(scenario):
    app, java = bundled(scenario, working_dir=r"..\data")
    (scenario.dir / "data").mkdir()
    run = scenario.run(app, cwd=scenario.dir)
    assert run.traces[3] == w(app.parent) + r"\..\data"
    assert run.app_starts[0]["cwd"] == w(scenario.dir / "data")


def test_missing_working_directory_leaves_the_launcher_where_it_started(scenario):
    app, java = bundled(scenario, working_dir="missing")
    run = scenario.run(app, cwd=scenario.dir)
    assert run.traces[3] == w(app.parent) + r"\missing"
    assert run.app_starts[0]["cwd"] == w(scenario.dir)


def test_a_runtime_that_is_no_program_reports_the_system_error(scenario):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"})
    (app.parent / "jre" / "bin").mkdir(parents=True)
    (app.parent / "jre" / "bin" / "javaw.exe").write_text("not a program")
    run = scenario.run(app)
    assert run.exit_code == 1
    assert len(run.boxes) == 1
    box = run.boxes[0]
    assert box["caption"] == "" and box["icon"] == "error"
    assert box["text"].startswith(START_FAILED)
    reason = box["text"][len(START_FAILED):]
    assert reason and reason != "No error" and not reason.endswith("\n")
