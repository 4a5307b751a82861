"""Folders, settings, VM options and the configuration tool with characters of any language,
under the ANSI code page 1252 (the harness starts the launcher through the wide call and the
double records its wide command line and directory)."""
import shutil
import subprocess

import pytest
from PIL import Image

from pe_resources import read_resources, string_table
from wine_session import BUILD
from wine_session import windows_path as w

JRE = r"SOFTWARE\JavaSoft\Java Runtime Environment"


def bundled(scenario, folder, **settings):
    values = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"}
    values.update(settings)
    app = scenario.launcher(values, where=folder)
    scenario.java_home(app.parent / "jre")
    return app


@pytest.mark.parametrize("folder", ["Приложение", "アプリ", "Łukasz/App"])
def test_launcher_in_a_folder_of_any_language_starts_its_bundled_runtime(scenario, folder):
    app = bundled(scenario, folder)
    run = scenario.run(app)
    java = w(app.parent) + r"\jre\bin\javaw.exe"
    assert [(r["exe"], r["cmdline"], r["cwd"]) for r in run.app_starts] == [
        (java, f'"{java}"  -jar app.jar', w(app.parent))]
    assert run.dialogs == []


def test_a_folder_differing_in_one_letter_starts_only_its_own_runtime(scenario):
    own = bundled(scenario, "Łukasz/App")
    other = bundled(scenario, "Lukasz/App")
    run = scenario.run(own)
    assert [r["exe"] for r in run.app_starts] == [w(own.parent) + r"\jre\bin\javaw.exe"]
    assert w(other.parent) not in run.raw


def test_java_home_and_registry_home_with_such_characters_are_probed_and_started(scenario):
    app = scenario.launcher({"jar": "app.jar", "min_version": "1.8"})
    home = w(scenario.java_home("Jéan Łódź/jdk", banner="17"))
    run = scenario.run(app, env={"JAVA_HOME": home})
    assert [r["cmdline"] for r in run.records] == [f'"{home}\\bin\\java.exe" -version',
                                                   f'"{home}\\bin\\javaw.exe"  -jar app.jar']
    registered = w(scenario.java_home("Приложение/jre", banner="1.8"))
    run = scenario.run(app, registry=[f"{JRE}|CurrentVersion|1.8", f"{JRE}\\1.8|JavaHome|{registered}"])
    assert [r["cmdline"] for r in run.records] == [f'"{registered}\\bin\\java.exe" -version',
                                                   f'"{registered}\\bin\\javaw.exe"  -jar app.jar']


def test_jar_and_vm_options_reach_the_runtime_exactly(scenario):
    app = bundled(scenario, "app", jar="アプリ.jar", vm_options="-Dcity=Łódź -Duser=Приложение")
    run = scenario.run(app)
    java = w(app.parent) + r"\jre\bin\javaw.exe"
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}" -Dcity=Łódź -Duser=Приложение -jar アプリ.jar']


ENCODINGS = {
    "utf-8": lambda text: text.encode("utf-8"),
    "utf-8-sig": lambda text: text.encode("utf-8-sig"),
    "cp1252": lambda text: text.encode("cp1252"),
    # Notepad's "Unicode" and "Unicode big endian": UTF-16 with a byte-order mark.
    "utf-16-le": lambda text: b"\xff\xfe" + text.encode("utf-16-le"),
    "utf-16-be": lambda text: b"\xfe\xff" + text.encode("utf-16-be"),
    "utf-16-le, CR line ends": lambda text: b"\xff\xfe" + text.replace("\r\n", "\r").replace("\n", "\r").encode("utf-16-le"),
}


@pytest.mark.parametrize("encoding", ENCODINGS)
def test_vm_options_file_in_any_encoding_gives_the_same_command_line(scenario, encoding):
    app = bundled(scenario, "app")
    text = "# the café's options\n\n-Dname=Café\r\n  \n-Xmx64m\n"
    app.with_name("app.exe.vmoptions").write_bytes(ENCODINGS[encoding](text))
    run = scenario.run(app)
    java = w(app.parent) + r"\jre\bin\javaw.exe"
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}" -Dname=Café -Xmx64m  -jar app.jar']


def test_windows_configuration_tool_in_a_folder_of_any_language(scenario, wine_session):
    folder = scenario.dir / "Łódź アプリ"
    (folder / "icons").mkdir(parents=True)
    Image.new("RGB", (32, 32), (10, 200, 30)).save(folder / "icons" / "Café.ico")
    (folder / "app.settings").write_text("jar=Приложение.jar\nicon=icons\\Café.ico\nproduct_name=Łódź\n",
                                         encoding="utf-8")
    launcher = folder / "launcher.exe"
    shutil.copy(BUILD / "x86_64" / "launcher.exe", launcher)
    result = wine_session.wine([str(BUILD / "x86_64" / "launcher-configure.exe"), "--launcher", w(launcher),
                                "--settings", w(folder / "app.settings"), "--out", w(folder / "Приложение.exe")])
    assert result.returncode == 0, result.stderr.decode(errors="replace")
    resources, _, _ = read_resources((folder / "Приложение.exe").read_bytes())
    assert string_table(resources)[101] == "Приложение.jar"


def test_linux_configuration_tool_takes_backslashes_in_settings_paths(tmp_path):
    (tmp_path / "icons").mkdir()
    Image.new("RGB", (16, 16), (1, 2, 3)).save(tmp_path / "icons" / "myapp.ico")
    (tmp_path / "app.settings").write_text("jar=app.jar\nicon=icons\\myapp.ico\n")
    result = subprocess.run([str(BUILD / "host" / "launcher-configure"), "--launcher",
                             str(BUILD / "x86_64" / "launcher.exe"), "--settings", str(tmp_path / "app.settings"),
                             "--out", str(tmp_path / "out.exe")], capture_output=True, text=True)
    assert result.returncode == 0, result.stderr
