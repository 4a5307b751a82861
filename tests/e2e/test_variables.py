"""Variables in the VM options, the working directory and the bundled runtime's path."""
from wine_session import windows_path as w

# A user folder with blanks and letters of other languages, as %APPDATA% may name one.
APPDATA = r"C:\users\Łukasz Ö\AppData\Roaming"


def traced(run):
    """The run's trace lines as text (the harness reports their bytes)."""
    return [t.encode("latin-1").decode("cp1252", "replace") for t in run.traces]


def test_variables_in_the_options_file_reach_the_command_line_expanded(scenario):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"}, name="My App.exe",
                            where="Мой app")
    scenario.java_home(app.parent / "jre")
    app.with_name("My App.exe.vmoptions").write_text(
        '-Dapp.data="%APPDATA%\\MyApp"\n'
        "-Djava.library.path=%LAUNCHER_DIR%\\native\n"
        "-Dname=%LAUNCHER_NAME% -Dself=%launcher_file%\n"
        "-Dratio=50%% -Dunknown=%NOT_DEFINED_ANYWHERE% -Dempty=[%EMPTY%] -Dopen=%APPDATA\n",
        encoding="utf-8")
    run = scenario.run(app, env={"APPDATA": APPDATA, "EMPTY": ""})
    folder = w(app.parent)
    options = (f'-Dapp.data="{APPDATA}\\MyApp" -Djava.library.path={folder}\\native '
               f"-Dname=My App -Dself={folder}\\My App.exe "
               "-Dratio=50% -Dunknown=%NOT_DEFINED_ANYWHERE% -Dempty=[] -Dopen=%APPDATA ")
    java = folder + r"\jre\bin\javaw.exe"
    # The trace shows the options expanded (in the ANSI code page, where Ł and Мой are lost).
    assert traced(run)[1].endswith("\\My App.exe -Dratio=50% -Dunknown=%NOT_DEFINED_ANYWHERE% -Dempty=[] -Dopen=%APPDATA ")
    assert "%APPDATA%" not in traced(run)[1] and "%LAUNCHER" not in traced(run)[1].upper()
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}" {options} -jar app.jar']


def test_variables_in_the_setting_the_working_directory_and_the_bundled_runtime(scenario):
    app = scenario.launcher({"jar": "app.jar", "bundled_java": r"%LAUNCHER_DIR%\runtime-%RUNTIME_FLAVOUR%\bin\javaw.exe",
                             "working_dir": r"%DATA_HOME%\work", "vm_options": "-Dhome=%DATA_HOME%"})
    scenario.java_home(app.parent / "runtime-full")
    data = scenario.dir / "Données utilisateur"
    (data / "work").mkdir(parents=True)
    run = scenario.run(app, env={"RUNTIME_FLAVOUR": "full", "DATA_HOME": w(data)})
    java = w(app.parent) + r"\runtime-full\bin\javaw.exe"
    assert traced(run)[1] == f"-Dhome={w(data)}"
    assert traced(run)[3] == w(data) + r"\work"
    assert [(r["exe"], r["cmdline"], r["cwd"]) for r in run.app_starts] == [
        (java, f'"{java}" -Dhome={w(data)} -jar app.jar', w(data) + r"\work")]
