"""Java as today's installers leave it: Java 9+ and vendor registry keys in either view, PATH
only, a folder under Program Files only; a maximum version; JDK mode on Java 9+."""
import os
import shutil

import pytest

from traces import search_section
from wine_session import BUILD, windows_path as w

JDK9 = r"SOFTWARE\JavaSoft\JDK"


def launcher(scenario, **settings):
    values = {"jar": "app.jar", "min_version": "11"}
    values.update(settings)
    return scenario.launcher(values)


def installed(scenario, where, version, jdk=False, release=True):
    """A runtime home as an installer leaves it: bin, a release file, lib\\modules."""
    home = scenario.java_home(where, banner="17")
    if release:
        (home / "release").write_text(f'IMPLEMENTOR="Test"\nJAVA_VERSION="{version}"\n')
    (home / "lib").mkdir(exist_ok=True)
    (home / "lib" / "modules").write_bytes(b"\0" * 16)
    if jdk:
        shutil.copy(home / "bin" / "java.exe", home / "bin" / "javac.exe")
    return home


def started(run):
    return [r["cmdline"] for r in run.app_starts]


@pytest.mark.parametrize("kind, view", [("oracle", "32:"), ("temurin", ""), ("microsoft", "32:"), ("zulu", "")])
def test_vendor_registry_keys_in_either_view(scenario, kind, view):
    app = launcher(scenario)
    home = w(installed(scenario, "runtime", "21.0.5"))
    line = {
        "oracle": rf"{view}{JDK9}\21|JavaHome|{home}",
        "temurin": rf"{view}SOFTWARE\Eclipse Adoptium\JDK\21.0.5.11\hotspot\MSI|Path|{home}" + "\\",
        "microsoft": rf"{view}SOFTWARE\Microsoft\JDK\21.0.5.11\hotspot\MSI|Path|{home}" + "\\",
        "zulu": rf"{view}SOFTWARE\Azul Systems\Zulu\zulu-21|InstallationPath|{home}" + "\\",
    }[kind]
    run = scenario.run(app, registry=[line])
    java = home + r"\bin\javaw.exe"
    section = search_section(run.traces)
    assert section[-3:] == [section[-3], f"Installed runtime chosen: {home}", java]
    assert section[-3].startswith(f"Installed runtime {home} from SOFTWARE\\")
    assert section[-3].endswith(f"({'32' if view else '64'}-bit registry): version 21.0.5")
    assert started(run) == [f'"{java}"  -jar app.jar']
    assert run.probes == []  # the release file names the version


def test_written_runtime_key_in_the_32_bit_view(scenario):
    app = launcher(scenario, min_version="1.5")
    home = w(scenario.java_home("jre8"))
    run = scenario.run(app, registry=[rf"32:SOFTWARE\JavaSoft\Java Runtime Environment\1.8|JavaHome|{home}"])
    java = home + r"\bin\javaw.exe"
    assert search_section(run.traces)[3:] == ["1.8", "found", java, "Jre key found in registry", java]
    assert started(run) == [f'"{java}"  -jar app.jar']


def test_java_on_path_only_is_probed_and_started(scenario):
    app = launcher(scenario)
    home = w(installed(scenario, "zip jdk", "", release=False))
    run = scenario.run(app, env={"PATH": rf'C:\windows\system32;;"{home}\bin";C:\windows'})
    java = home + r"\bin\javaw.exe"
    assert f"Installed runtime {home} from PATH: version 17.0.15 (probed)" in run.traces
    assert [r["cmdline"] for r in run.probes] == [f'"{home}\\bin\\java.exe" -version']
    assert started(run) == [f'"{java}"  -jar app.jar']


def test_folder_under_program_files_only(scenario, wine_session):
    vendor = wine_session.drive_c / "Program Files" / "Eclipse Adoptium"
    try:
        installed(scenario, vendor / "jdk-21.0.5.11-hotspot", "21.0.5")
        installed(scenario, vendor / "jdk-17.0.13.11-hotspot", "17.0.13")
        app = launcher(scenario)
        run = scenario.run(app)
        home = r"C:\Program Files\Eclipse Adoptium\jdk-21.0.5.11-hotspot"
        assert f"Installed runtime chosen: {home}" in run.traces
        assert started(run) == [f'"{home}\\bin\\javaw.exe"  -jar app.jar']
    finally:
        shutil.rmtree(vendor, ignore_errors=True)


def test_maximum_version_picks_the_highest_that_fits(scenario):
    app = launcher(scenario, max_version="17")
    newer = w(installed(scenario, "jdk21", "21.0.5"))
    older = w(installed(scenario, "jdk17", "17.0.13"))
    run = scenario.run(app, registry=[rf"{JDK9}\21|JavaHome|{newer}", rf"32:{JDK9}\17|JavaHome|{older}"])
    assert f"Installed runtime {newer} from {JDK9}\\21 (64-bit registry): version 21.0.5, does not fit" in run.traces
    assert started(run) == [f'"{older}\\bin\\javaw.exe"  -jar app.jar']


def test_jdk_mode_on_java_9_adds_no_boot_class_path(scenario):
    app = launcher(scenario, jdk_required="on")
    runtime = w(installed(scenario, "jre21", "21.0.5"))
    jdk = w(installed(scenario, "jdk17", "17.0.13", jdk=True))
    run = scenario.run(app, registry=[rf"{JDK9}\21|JavaHome|{runtime}", rf"{JDK9}\17|JavaHome|{jdk}"],
                       wait_children=5)
    assert f"Installed runtime {runtime} from {JDK9}\\21 (64-bit registry): no javac.exe" in run.traces
    assert "JDK with modules: no boot class path" in run.traces
    assert started(run) == [f'"{jdk}\\bin\\javaw.exe"  -jar app.jar']
    assert run.boxes == []


def test_the_java_9_double_refuses_a_boot_class_path_like_java(scenario):
    # What the launcher avoids above: with -Xbootclasspath/p: a Java 9+ runtime does not start.
    app = launcher(scenario, bundled_java=r"jdk\bin\javaw.exe", vm_options="-Xbootclasspath/p:x.jar", stay_alive="on")
    installed(scenario, app.parent / "jdk", "17.0.13", jdk=True)
    run = scenario.run(app)
    assert run.exit_code == 1
    assert any("-Xbootclasspath/p is no longer a supported option" in line for line in run.traces)


@pytest.mark.parametrize("kind", ["per-user", "corretto"])
def test_installs_found_only_by_their_own_keys_are_started(scenario, kind):
    app = launcher(scenario)
    home = w(installed(scenario, "runtime", "21.0.5"))
    key, line = {
        # An install "for me only": the user's keys, nothing under the machine's.
        "per-user": (rf"HKEY_CURRENT_USER\{JDK9}\21", rf"HKCU:{JDK9}\21|JavaHome|{home}"),
        # A vendor that writes no JavaSoft keys.
        "corretto": (r"SOFTWARE\Amazon\Amazon Corretto\21.0.5.11.1\MSI",
                     rf"SOFTWARE\Amazon\Amazon Corretto\21.0.5.11.1\MSI|InstallDir|{home}" + "\\"),
    }[kind]
    run = scenario.run(app, registry=[line])
    java = home + r"\bin\javaw.exe"
    assert f"Installed runtime {home} from {key} (64-bit registry): version 21.0.5" in run.traces
    assert started(run) == [f'"{java}"  -jar app.jar']


def test_a_folder_of_links_on_path_or_in_java_home_leads_to_the_real_runtime(scenario):
    # Oracle's installer puts such a folder (javapath) on PATH; links on a Wine drive are Unix
    # symbolic links.
    app = launcher(scenario)
    home = installed(scenario, "jdk-21", "21.0.5")
    links = scenario.dir / "javapath"
    links.mkdir()
    for name in ("java.exe", "javaw.exe"):
        os.symlink(home / "bin" / name, links / name)
    java = w(home) + r"\bin\javaw.exe"
    run = scenario.run(app, env={"PATH": rf"C:\windows\system32;{w(links)}"})
    assert f"Installed runtime {w(home)} from PATH: version 21.0.5" in run.traces
    assert started(run) == [f'"{java}"  -jar app.jar']

    run = scenario.run(app, env={"JAVA_HOME": w(links)})
    assert [r["cmdline"] for r in run.probes] == [f'"{w(home)}\\bin\\java.exe" -version']
    assert "JAVA_HOME found" in run.traces
    assert started(run) == [f'"{java}"  -jar app.jar']


def test_of_two_runtimes_of_one_version_the_pcs_own_architecture_wins(scenario):
    # The architecture comes from each executable's header; nothing is run for it.
    x86_double = BUILD / "i686" / "fake_java.exe"
    if not x86_double.exists():
        pytest.skip("the i686 build is missing")
    app = launcher(scenario)
    x86 = installed(scenario, "jre-x86", "21.0.5")
    shutil.copy(x86_double, x86 / "bin" / "javaw.exe")
    x64 = installed(scenario, "jre-x64", "21.0.5")
    run = scenario.run(app, env={"PATH": rf"{w(x86)}\bin;{w(x64)}\bin"})
    assert f"Installed runtime {w(x86)} from PATH: version 21.0.5" in run.traces
    assert f"Installed runtime chosen: {w(x64)}" in run.traces
    assert started(run) == [f'"{w(x64)}\\bin\\javaw.exe"  -jar app.jar']
