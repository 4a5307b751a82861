"""Where the launcher looks for Java, in which order, and what each path traces."""
import os
import shutil

import pytest

from traces import BANNERS, NOTHING_INSTALLED, probe, search_section, start
from wine_session import windows_path as w

JRE = r"SOFTWARE\JavaSoft\Java Runtime Environment"
JDK = r"SOFTWARE\JavaSoft\Java Development Kit"


def plain_launcher(scenario, **settings):
    values = {"jar": "app.jar", "min_version": "1.5"}
    values.update(settings)
    return scenario.launcher(values)


def test_bundled_runtime_wins_without_any_version_check(scenario):
    app = plain_launcher(scenario, bundled_java=r"jre\bin\javaw.exe", min_version="99")
    scenario.java_home(app.parent / "jre", banner="none")
    registry = [f"{JRE}|CurrentVersion|1.8"]
    run = scenario.run(app, registry=registry, env={"JAVA_HOME": w(scenario.dir)})
    java = w(app.parent) + r"\jre\bin\javaw.exe"
    assert run.traces == [
        f"VM options{w(app)}.vmoptions", "", "app.jar", w(app.parent) + "\\",
        "Search for Jre...",
        f"Try bundled JRE or JDK path: {java}",
        "Bundled Jre or jdk found",
        java,
        *start(java, " -jar app.jar"),
    ]
    assert run.exit_code == 0
    assert run.probes == []
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}"  -jar app.jar']


def test_registry_current_version_is_probed_and_chosen(scenario):
    app = plain_launcher(scenario, min_version="1.8")
    home = w(scenario.java_home("jre18", banner="1.8"))
    registry = [f"{JRE}|CurrentVersion|1.8", f"{JRE}\\1.8|JavaHome|{home}"]
    run = scenario.run(app, registry=registry)
    java = home + r"\bin\javaw.exe"
    assert search_section(run.traces) == [
        "Search for Jre...",
        f"Try bundled JRE or JDK path: {w(app.parent)}\\",
        "Bundled Jre not found",
        *probe(home, BANNERS["1.8"]),
        "Jre key found in registry",
        java,
    ]
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}"  -jar app.jar']


def test_current_version_without_javaw_falls_through_to_enumeration(scenario):
    app = plain_launcher(scenario)
    home = w(scenario.java_home("jre18", banner="1.8", executables=("java.exe",)))
    registry = [f"{JRE}|CurrentVersion|1.8", f"{JRE}\\1.8|JavaHome|{home}"]
    run = scenario.run(app, registry=registry)
    # Its executable is missing, so it is not probed either.
    assert search_section(run.traces) == [
        "Search for Jre...",
        f"Try bundled JRE or JDK path: {w(app.parent)}\\",
        "Bundled Jre not found",
        "1.8",
        home + r"\bin\javaw.exe",
        "Jre key not found in registry",
        "JAVA_HOME not found",
        *NOTHING_INSTALLED,
        "Try current dir.",
        "javaw.exe",
    ]
    assert run.exit_code == 1
    assert len(run.dialogs) == 1


def test_enumeration_takes_the_last_qualifying_subkey_in_registry_order(scenario):
    app = plain_launcher(scenario, min_version="1.5")
    homes = {name: w(scenario.java_home(f"jre-{name}")) for name in ("1.4", "1.4.2_08", "1.5", "1.5.0_06")}
    registry = [f"{JRE}\\{name}|JavaHome|{home}" for name, home in homes.items()]
    run = scenario.run(app, registry=registry)
    java = homes["1.5.0_06"] + r"\bin\javaw.exe"
    assert search_section(run.traces) == [
        "Search for Jre...",
        f"Try bundled JRE or JDK path: {w(app.parent)}\\",
        "Bundled Jre not found",
        "1.5", "found", homes["1.5"] + r"\bin\javaw.exe",
        "1.5.0_06", "found", java,
        "Jre key found in registry",
        java,
    ]
    assert run.probes == []


def test_a_later_subkey_without_executable_keeps_the_earlier_answer(scenario):
    app = plain_launcher(scenario, min_version="1.5")
    good = w(scenario.java_home("jre15"))
    empty = w(scenario.dir / "jre16")
    registry = [f"{JRE}\\1.5|JavaHome|{good}", f"{JRE}\\1.6|JavaHome|{empty}"]
    run = scenario.run(app, registry=registry)
    java = good + r"\bin\javaw.exe"
    assert search_section(run.traces)[3:] == [
        "1.5", "found", java, "1.6", empty + r"\bin\javaw.exe", "Jre key found in registry", java]


def test_versions_compare_as_numbers_for_subkeys(scenario):
    app = plain_launcher(scenario, min_version="1.5")
    home = w(scenario.java_home("jre110"))
    run = scenario.run(app, registry=[f"{JRE}\\1.10|JavaHome|{home}", f"{JRE}\\1.4.2|JavaHome|{home}"])
    assert search_section(run.traces)[3:] == [
        "1.10", "found", home + r"\bin\javaw.exe", "Jre key found in registry", home + r"\bin\javaw.exe"]


def test_registered_jdk_is_found_after_the_runtimes(scenario):
    app = plain_launcher(scenario)
    home = w(scenario.java_home("jdk"))
    run = scenario.run(app, registry=[f"{JDK}\\1.6.0_45|JavaHome|{home}"])
    java = home + r"\bin\javaw.exe"
    assert search_section(run.traces)[3:] == [
        "1.6.0_45", "found", java, "Jre key found in registry", "Jre key found in registry", java]


def test_jdk_only_mode_uses_the_jdk_and_its_jars(scenario):
    app = plain_launcher(scenario, jdk_required="yes", vm_options="-Xmx64m")
    jdk = scenario.java_home("jdk")
    (jdk / "lib").mkdir()
    for jar in ("a.jar", "b.jar"):
        (jdk / "lib" / jar).write_text("jar")
    (jdk / "lib" / "notes.txt").write_text("not a jar")
    jre = w(scenario.java_home("jre"))
    home = w(jdk)
    registry = [f"{JRE}|CurrentVersion|1.8", f"{JRE}\\1.8|JavaHome|{jre}", f"{JDK}\\1.7|JavaHome|{home}"]
    run = scenario.run(app, registry=registry)
    java = home + r"\bin\javaw.exe"
    section = search_section(run.traces)
    assert section == [
        "Search for Jdk only...",
        f"Try bundled JRE or JDK path: {w(app.parent)}\\",
        "Search for Jdk only...",
        "1.7", "found", java, "Jre key found in registry",
        java, "JDK PATH...", home, section[-1],
    ]
    entries = section[-1].split(";")
    assert sorted(entries) == [f'"{home}\\lib\\a.jar"', f'"{home}\\lib\\b.jar"']
    assert [r["cmdline"] for r in run.app_starts] == [
        f'"{java}" -Xmx64m -Xbootclasspath/p:{section[-1]} -jar app.jar']
    assert run.probes == []


def test_jdk_boot_class_path_belongs_to_the_started_jdk(scenario):
    app = plain_launcher(scenario, jdk_required="yes")
    first = scenario.java_home("jdk16")
    later = scenario.dir / "jdk17"
    for home, jar in ((first, "first.jar"), (later, "later.jar")):
        (home / "lib").mkdir(parents=True)
        (home / "lib" / jar).write_text("jar")
    registry = [f"{JDK}\\1.6|JavaHome|{w(first)}", f"{JDK}\\1.7|JavaHome|{w(later)}"]
    run = scenario.run(app, registry=registry)
    java = w(first) + r"\bin\javaw.exe"
    assert [r["cmdline"] for r in run.app_starts] == [
        f'"{java}"  -Xbootclasspath/p:"{w(first)}\\lib\\first.jar" -jar app.jar']


def test_jdk_only_mode_without_jdk_shows_the_dialog_and_tries_nothing_else(scenario):
    app = plain_launcher(scenario, jdk_required="yes", min_version="1.6")
    jre = w(scenario.java_home("jre"))
    scenario.double_at(app.parent)
    registry = [f"{JRE}|CurrentVersion|1.8", f"{JRE}\\1.8|JavaHome|{jre}", f"{JDK}\\1.5|JavaHome|{jre}"]
    run = scenario.run(app, registry=registry, env={"JAVA_HOME": jre})
    assert search_section(run.traces) == [
        "Search for Jdk only...",
        f"Try bundled JRE or JDK path: {w(app.parent)}\\",
        "Search for Jdk only...",
        *NOTHING_INSTALLED,
        "",
    ]
    assert run.records == []
    assert run.exit_code == 1
    assert "It is required to have JDK version 1.6 or higher" in run.dialogs[0]["text"]


def test_java_home_found(scenario):
    app = plain_launcher(scenario, min_version="1.8")
    home = w(scenario.java_home("java17", banner="17"))
    run = scenario.run(app, env={"JAVA_HOME": home})
    java = home + r"\bin\javaw.exe"
    assert search_section(run.traces)[3:] == [
        "Jre key not found in registry", *probe(home, BANNERS["17"]), "JAVA_HOME found", java]
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}"  -jar app.jar']


def test_java_home_too_old_has_no_fallback(scenario):
    app = plain_launcher(scenario, min_version="1.8")
    home = w(scenario.java_home("java15", banner="1.5"))
    scenario.double_at(app.parent)
    run = scenario.run(app, env={"JAVA_HOME": home})
    assert search_section(run.traces)[3:] == [
        "Jre key not found in registry", *probe(home, BANNERS["1.5"]), "Incorrect version", *NOTHING_INSTALLED, ""]
    assert run.exit_code == 1
    assert run.app_starts == []


def test_java_home_missing_falls_back_to_the_working_directory_by_full_path(scenario):
    # A bare name would make process creation look in the launcher's own folder first.
    app = plain_launcher(scenario, working_dir="work")
    scenario.double_at(app.parent / "work", ("javaw.exe", "java.exe"))
    scenario.double_at(app.parent, ("javaw.exe",))
    run = scenario.run(app)
    assert search_section(run.traces)[3:] == [
        "Jre key not found in registry", "JAVA_HOME not found", *NOTHING_INSTALLED, "Try current dir.",
        "javaw.exe"]
    java = w(app.parent) + r"\work\javaw.exe"
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}"  -jar app.jar']
    assert run.app_starts[0]["exe"] == java


@pytest.mark.parametrize("banner, minimum, accepted", [
    ("17", "18", False),
    ("17", "1.8", True),
    ("25", "17", True),
    ("25", "25.0.4", False),
    ("1.5", "1.10", False),
    ("1.8", "1.8.0_391", True),
    ("1.8", "1.8.0_392", False),
    ("1.8", "8", True),  # Java 8 calls itself 1.8
    ("17", "8", True),
    ("1.8", "9", False),
])
def test_probed_versions_compare_as_numbers(scenario, banner, minimum, accepted):
    app = plain_launcher(scenario, min_version=minimum)
    home = w(scenario.java_home("java", banner=banner))
    run = scenario.run(app, env={"JAVA_HOME": home})
    assert ("JAVA_HOME found" in run.traces) is accepted
    assert ("Incorrect version" in run.traces) is not accepted


def test_slow_runtime_with_notice_before_the_banner_is_accepted(scenario):
    app = plain_launcher(scenario, min_version="17")
    notice = "Picked up JAVA_TOOL_OPTIONS: -Dfile.encoding=UTF-8\r\n"
    home = w(scenario.java_home("slow", banner="17", banner_delay_ms=1500,
                                before_banner=notice.replace("\r\n", "\\r\\n")))
    run = scenario.run(app, env={"JAVA_HOME": home})
    info = run.traces.index("Info = ")
    assert run.traces[info + 1] == notice + BANNERS["17"]
    assert run.traces[info + 2:info + 4] == ["JAVA_HOME found", home + r"\bin\javaw.exe"]


def test_runtime_that_never_answers_is_ended_and_rejected(scenario):
    app = plain_launcher(scenario)
    home = w(scenario.java_home("hung", banner="1.8", banner_delay_ms=60000))
    run = scenario.run(app, env={"JAVA_HOME": home}, timeout=40, wait_children=5)
    assert search_section(run.traces)[3:] == [
        "Jre key not found in registry", f'CreateProcess: "{home}\\bin\\java.exe" -version', "Info = ", "",
        "Incorrect version", *NOTHING_INSTALLED, ""]
    assert run.exit_code == 1


def test_probe_quotes_a_home_with_blanks(scenario, wine_session):
    drive_c = wine_session.drive_c
    home = drive_c / "Program Files" / "Java" / "jre"
    planted = drive_c / "Program.exe"
    try:
        scenario.java_home(home, banner="1.8")
        shutil.copy(scenario.java_home("unused").joinpath("bin", "java.exe"), planted)
        app = plain_launcher(scenario)
        registry = [f"{JRE}|CurrentVersion|1.8", rf"{JRE}\1.8|JavaHome|C:\Program Files\Java\jre"]
        run = scenario.run(app, registry=registry)
        assert [r["exe"] for r in run.records] == [r"C:\Program Files\Java\jre\bin\java.exe",
                                                   r"C:\Program Files\Java\jre\bin\javaw.exe"]
        assert r'CreateProcess: "C:\Program Files\Java\jre\bin\java.exe" -version' in run.traces
    finally:
        shutil.rmtree(drive_c / "Program Files" / "Java", ignore_errors=True)
        planted.unlink(missing_ok=True)


def test_empty_homes_never_reach_the_drive_root(scenario, wine_session):
    drive_c = wine_session.drive_c
    planted = drive_c / "bin"
    try:
        scenario.java_home(planted.parent, banner="1.8")
        app = scenario.launcher({"jar": "app.jar"}, where="unused")
        app_on_c = drive_c / "apps" / "app.exe"
        app_on_c.parent.mkdir(exist_ok=True)
        shutil.copy(app, app_on_c)
        registry = [f"{JRE}|CurrentVersion|1.8", f"{JRE}\\1.8|Vendor|none"]
        run = scenario.run(r"C:\apps\app.exe", registry=registry, env={"JAVA_HOME": ""})
        assert search_section(run.traces) == [
            "Search for Jre...", r"Try bundled JRE or JDK path: C:\apps" + "\\", "Bundled Jre not found",
            "1.8", "Jre key not found in registry", "JAVA_HOME not found", *NOTHING_INSTALLED, "Try current dir.",
        "javaw.exe"]
        assert run.records == []
        assert run.exit_code == 1
    finally:
        shutil.rmtree(planted, ignore_errors=True)
        shutil.rmtree(drive_c / "apps", ignore_errors=True)


def test_without_bundled_setting_a_launcher_at_a_drive_root_keeps_searching(scenario, wine_session):
    app = plain_launcher(scenario)
    scenario.double_at(app.parent)
    drive = wine_session.prefix / "dosdevices" / "y:"
    drive.unlink(missing_ok=True)
    os.symlink(app.parent, drive)
    try:
        run = scenario.run(r"Y:\app.exe")
        assert search_section(run.traces)[:3] == [
            "Search for Jre...", "Try bundled JRE or JDK path: Y:\\", "Bundled Jre not found"]
        assert [r["cmdline"] for r in run.app_starts] == ['"Y:\\javaw.exe"  -jar app.jar']
    finally:
        drive.unlink(missing_ok=True)
