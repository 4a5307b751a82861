"""How the application is started: -jar, a main class on its class path, a module on its module
path; paths with characters the ANSI code page (1252 here) lacks in their short form; a command
line over the system's limit through an argument file."""
from pathlib import PureWindowsPath

import pytest

from wine_session import windows_path as w

LIMIT = 32766  # the longest command line process creation takes


def bundled(scenario, folder="app", release=None, **settings):
    values = {"bundled_java": r"jre\bin\javaw.exe"}
    values.update(settings)
    app = scenario.launcher(values, where=folder)
    home = scenario.java_home(app.parent / "jre")
    if release:
        (home / "release").write_text(f'JAVA_VERSION="{release}"\n')
    return app, w(app.parent) + r"\jre\bin\javaw.exe"


def ansi(text):
    """Text as the trace shows it: in code page 1252, '?' for what it lacks."""
    return text.encode("cp1252", "replace").decode("cp1252")


def short_path(wine_session, path):
    """The path with its last component in the short form that the system's own `dir /x` lists
    (Wine keeps short names: mangled ones such as ____~N4A)."""
    listing = wine_session.wine(["cmd", "/c", "dir", "/x", w(path.parent)]).stdout.decode("cp1252").splitlines()
    for line in listing:
        parts = line.split()
        if "<DIR>" in parts and len(parts) == parts.index("<DIR>") + 3 and parts[-1] == ansi(path.name):
            return w(path.parent) + "\\" + parts[-2]
    raise AssertionError(f"no short name for {path} in {listing}")


@pytest.mark.parametrize("folder", ["My Apps/Café Crème", "Приложение"])
def test_main_class_form_puts_the_jar_first_and_the_entries_below_the_launcher(scenario, folder):
    app, java = bundled(scenario, folder, jar="my app.jar", main_class="org.example.Main",
                        class_path=r"lib\*; %LAUNCHER_DIR%\extra\x.jar;D:\shared\common.jar;")
    here = w(app.parent)
    (app.parent / "lib").mkdir()
    (app.parent / "extra").mkdir()
    run = scenario.run(app)
    if folder == "Приложение":
        # Cyrillic is not in code page 1252: the folder reaches Java in its short form.
        short = short_path(scenario.session, app.parent)
        assert short != here and short.isascii()
        assert ansi(f"Short path for Java: {here}\\lib\\* as {short}\\lib\\*") in run.traces
        here = short
    assert [r["cmdline"] for r in run.app_starts] == [
        f'"{java}"  -cp "my app.jar;{here}\\lib\\*;{here}\\extra\\x.jar;D:\\shared\\common.jar" org.example.Main']


def test_main_class_without_jar_or_class_path_and_the_module_form(scenario):
    app, java = bundled(scenario, main_class="org.example.Main", vm_options="-Xmx64m")
    run = scenario.run(app)
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}" -Xmx64m org.example.Main']

    app, java = bundled(scenario, "modular app", module="org.example.app/org.example.Main",
                        module_path=r"mods;C:\Program Files\JavaFX\lib", pass_arguments="on")
    run = scenario.run(app, args=["--open", "a b"])
    assert [r["cmdline"] for r in run.app_starts] == [
        f'"{java}"  -p "{w(app.parent)}\\mods;C:\\Program Files\\JavaFX\\lib" -m org.example.app/org.example.Main '
        '--open "a b"']


def test_paths_outside_the_code_page_are_short_only_where_needed_and_traced(scenario):
    """The jar, a module path entry and a passed document in Japanese folders; a folder that does
    not exist has no short form, stays as it is, and the trace says so."""
    app, java = bundled(scenario, "ascii app", jar=r"アプリ\app.jar", pass_arguments="on")
    (app.parent / "アプリ").mkdir()
    (app.parent / "アプリ" / "app.jar").write_bytes(b"PK")
    documents = scenario.dir / "書類"
    documents.mkdir()
    (documents / "report 1.txt").write_text("x")
    short_folder = short_path(scenario.session, app.parent / "アプリ")
    short_documents = short_path(scenario.session, documents)
    run = scenario.run(app, args=[w(documents / "report 1.txt"), "--flag", "Café"])
    jar = PureWindowsPath(short_folder).name + r"\app.jar"
    document = short_documents + r"\report 1.txt"
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}"  -jar {jar} "{document}" --flag Café']
    assert ansi(f"Short path for Java: アプリ\\app.jar as {jar}") in run.traces
    assert ansi(f"Short path for Java: {w(documents / 'report 1.txt')} as {document}") in run.traces

    app, java = bundled(scenario, "modules", module="m", module_path=r"モジュール;mods")
    run = scenario.run(app)
    missing = w(app.parent) + r"\モジュール"
    assert ansi(f"No short path for {missing}: Java may not read its name") in run.traces
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}"  -p {missing};{w(app.parent)}\\mods -m m']


def argument_file_lines(record):
    return record["argfile"].split("\\r\\n")[:-1]


@pytest.mark.parametrize("form", ["jar", "main class"])
def test_a_command_line_over_the_limit_starts_java_9_and_later_through_an_argument_file(scenario, form):
    settings = {"jar": "app.jar"} if form == "jar" else {"main_class": "org.example.Main", "class_path": r"lib\*"}
    app, java = bundled(scenario, "long", release="17.0.15", pass_arguments="on", **settings)
    big = "-Dbig=" + "y" * 40000
    app.with_name("app.exe.vmoptions").write_text(f'{big}\n-Dname="two words"\n-Dpath=C:\\x\\\n')
    run = scenario.run(app, args=["doc.txt"])
    assert len(run.app_starts) == 1, run.boxes
    start = run.app_starts[0]
    target = "-jar app.jar" if form == "jar" else "org.example.Main"
    prefix, _, rest = start["cmdline"].partition(" @")
    argument_file, _, tail = rest.partition(" ")
    assert prefix == f'"{java}"' and tail == f"{target} doc.txt"
    assert len(start["cmdline"]) < LIMIT
    # One argument a line, quoted, backslashes escaped as the runtime reads them there.
    expected = [f'"{big}"', '"-Dname=two words"', '"-Dpath=C:\\\\x\\\\"']
    if form == "main class":
        expected += ['"-cp"', '"' + (w(app.parent) + r"\lib\*").replace("\\", "\\\\") + '"']
    assert argument_file_lines(start) == expected
    assert "The command line is " in "\n".join(run.traces)
    # Removed once the launcher has ended.
    windows = PureWindowsPath(argument_file)
    assert windows.drive.upper() == "C:"
    on_disk = scenario.session.drive_c.joinpath(*windows.parts[1:])
    assert not on_disk.exists()
    assert [box for box in run.boxes] == []


@pytest.mark.parametrize("release, reason", [
    ("1.8.0_391", "Java 8 cannot read its options from an argument file; Java 9 and later can."),
    (None, "The version of the Java runtime is not known, so its options cannot be given in an argument file "
           "(Java 9 and later read one)."),
])
def test_a_command_line_over_the_limit_for_older_or_unknown_runtimes_names_its_length(scenario, release, reason):
    app, java = bundled(scenario, "long", release=release, jar="app.jar")
    app.with_name("app.exe.vmoptions").write_text("-Dbig=" + "y" * 40000)
    run = scenario.run(app)
    assert run.exit_code == 1
    assert run.app_starts == []
    length = len(f'"{java}" -Dbig=' + "y" * 40000 + "  -jar app.jar")
    assert [box["text"] for box in run.boxes] == [
        f"The application cannot start: its Java command line is {length:,} characters long, and Windows starts "
        f"programs with at most {LIMIT:,}. {reason}"]
