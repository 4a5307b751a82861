"""VM options by Java version, options files in every encoding an editor writes, the user's own
options file, the heap as a share of memory, and one shipped runtime per architecture."""
import os
import shlex
import struct
import subprocess

import pytest

from scenario import HARNESS
from wine_session import windows_path as w

OPTIONS_FILE = (
    "-Xms16m\n"
    "[24+] --enable-native-access=ALL-UNNAMED\n"
    "[9-23] --add-opens=java.base/java.lang=ALL-UNNAMED\n"
    "[-8] -XX:MaxPermSize=128m\n"
    "[17]-Dseventeen=1\n"
)


def shipped(scenario, version, settings=None, release=True):
    """A launcher with a runtime in jre\\ whose release file names `version`."""
    values = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"}
    values.update(settings or {})
    app = scenario.launcher(values)
    home = scenario.java_home(app.parent / "jre")
    if release:
        (home / "release").write_text(f'IMPLEMENTOR="Test"\nJAVA_VERSION="{version}"\n')
    return app, w(home) + r"\bin\javaw.exe"


def options_of(run, java):
    (start,) = run.app_starts
    prefix = f'"{java}" '
    assert start["cmdline"].startswith(prefix) and start["cmdline"].endswith(" -jar app.jar")
    return start["cmdline"][len(prefix):-len(" -jar app.jar")]


def choices(run):
    return [t for t in run.traces if t.startswith("VM option ")]


@pytest.mark.parametrize("version, given, traced", [
    ("1.8.0_391", "-Xms16m -XX:MaxPermSize=128m ", ["not", "not", "for", "not"]),
    ("17.0.15", "-Xms16m --add-opens=java.base/java.lang=ALL-UNNAMED -Dseventeen=1 ", ["not", "for", "not", "for"]),
    ("24.0.1", "-Xms16m --enable-native-access=ALL-UNNAMED ", ["for", "not", "not", "not"]),
])
def test_lines_for_java_8_17_and_24(scenario, version, given, traced):
    app, java = shipped(scenario, version)
    app.with_name("app.exe.vmoptions").write_text(OPTIONS_FILE)
    run = scenario.run(app)
    # The written text is traced as it stands; the runtime gets the lines of its version.
    assert run.traces[1] == OPTIONS_FILE.replace("\n", " ")
    assert options_of(run, java) == given
    feature = version.split(".")[1] if version.startswith("1.") else version.split(".")[0]
    lines = [line for line in OPTIONS_FILE.splitlines() if line.startswith("[")]
    assert choices(run) == [f"VM option {'for' if word == 'for' else 'not for'} Java {feature}: {line}"
                            for word, line in zip(traced, lines)]


def test_setting_ranges_a_probed_runtime_and_one_of_unknown_version(scenario):
    settings = {"vm_options": '-Dname="two words" [24+]--enable-native-access=ALL-UNNAMED [9-23]-Dmid=1 -Xss1m'}
    # JAVA_HOME: the version from its probe.
    app = scenario.launcher({"jar": "app.jar", **settings})
    home = w(scenario.java_home("jdk17", banner="17"))
    run = scenario.run(app, env={"JAVA_HOME": home})
    assert options_of(run, home + r"\bin\javaw.exe") == '-Dname="two words" -Dmid=1 -Xss1m'
    # A shipped runtime without a release file: its version is unknown, no range applies.
    unknown, java = shipped(scenario, None, settings, release=False)
    run = scenario.run(unknown)
    assert options_of(run, java) == '-Dname="two words" -Xss1m'
    assert choices(run) == ["VM option not for a Java of unknown version: [24+]--enable-native-access=ALL-UNNAMED",
                            "VM option not for a Java of unknown version: [9-23]-Dmid=1"]
    assert run.probes == []


def utf16(text, order, mark):
    data = text.encode("utf-16-le" if order == "le" else "utf-16-be")
    return ((b"\xff\xfe" if order == "le" else b"\xfe\xff") if mark else b"") + data


@pytest.mark.parametrize("name, data", [
    ("utf-16-le without mark", utf16("-Dcity=Łódź\r\n[17] -Xss2m\r\n", "le", False)),
    ("utf-16-be without mark", utf16("-Dcity=Łódź\r\n[17] -Xss2m\r\n", "be", False)),
    ("utf-16-le with mark", utf16("-Dcity=Łódź\r\n[17] -Xss2m\r\n", "le", True)),
    ("utf-8 with mark", b"\xef\xbb\xbf" + "-Dcity=Łódź\n[17] -Xss2m\n".encode()),
    ("utf-8", "-Dcity=Łódź\n[17] -Xss2m\n".encode()),
])
def test_options_files_in_every_encoding_an_editor_writes(scenario, name, data):
    app, java = shipped(scenario, "17.0.15")
    app.with_name("app.exe.vmoptions").write_bytes(data)
    run = scenario.run(app)
    assert options_of(run, java) == "-Dcity=Łódź -Xss2m ", name


def test_an_options_file_in_no_encoding_is_refused_naming_it(scenario):
    app, java = shipped(scenario, "17.0.15", {"vm_options": "-Dfrom=setting"})
    path = app.with_name("app.exe.vmoptions")
    path.write_bytes(b"-\x00X\x00\x00\x00")  # a NUL character: no options file
    run = scenario.run(app)
    assert f"VM options file not used, its text is in no encoding an options file has: {w(path)}" in run.traces
    assert options_of(run, java) == "-Dfrom=setting"


def test_the_users_file_follows_the_shipped_options_and_is_never_written(scenario, tmp_path):
    appdata = tmp_path / "appdata"
    appdata.mkdir()
    user_file = appdata / "Quill" / "quill.vmoptions"
    app, java = shipped(scenario, "17.0.15", {"user_vm_options": r"%APPDATA%\Quill\quill.vmoptions",
                                              "vm_options": "-Xmx512m [24+]--enable-native-access=ALL-UNNAMED"})
    env = {"APPDATA": w(appdata)}
    run = scenario.run(app, env=env)
    assert run.traces[2] == f"User VM options{w(user_file)}"
    assert options_of(run, java) == "-Xmx512m "
    assert not user_file.parent.exists()  # never created

    user_file.parent.mkdir()
    # As PowerShell writes it: UTF-16 without a mark.
    user_file.write_bytes(utf16("-Xmx2g\r\n[9-23] -Duser.mid=1\r\n[24+] -Duser.new=1\r\n", "le", False))
    before = user_file.read_bytes()
    run = scenario.run(app, env=env)
    assert options_of(run, java) == "-Xmx512m -Xmx2g -Duser.mid=1 "
    assert "VM option for Java 17: [9-23] -Duser.mid=1" in run.traces
    assert user_file.read_bytes() == before


def physical_megabytes(wine_session):
    result = wine_session.wine([str(HARNESS), "--physical-memory"])
    assert result.returncode == 0, result.stderr
    return int(result.stdout.decode().strip()) // (1024 * 1024)


def test_heap_as_a_share_of_memory_its_floor_its_cap_and_the_users_own(scenario, wine_session, tmp_path):
    memory = physical_megabytes(wine_session)
    share = memory * 25 // 100
    cases = [
        ("25", f"-Xmx{share}m", "the share"),
        (f"1,{memory * 2}", f"-Xmx{memory * 2}m", "the floor"),
        ("100,,256", "-Xmx256m", "the cap"),
    ]
    for setting, option, bound in cases:
        app, java = shipped(scenario, "17.0.15", {"max_heap_percent": setting, "vm_options": "-Da=1"})
        run = scenario.run(app)
        assert options_of(run, java) == f"-Da=1 {option}", setting
        percent = setting.split(",")[0]
        assert f"Maximum heap {option}: {percent} % of {memory} MB physical memory, decided by {bound}" in run.traces
    # The user's own maximum wins: nothing is added.
    appdata = tmp_path / "appdata"
    (appdata / "Quill").mkdir(parents=True)
    (appdata / "Quill" / "quill.vmoptions").write_text("-Xmx300m\n")
    app, java = shipped(scenario, "17.0.15", {"max_heap_percent": "25,512,8192",
                                              "user_vm_options": r"%APPDATA%\Quill\quill.vmoptions"})
    run = scenario.run(app, env={"APPDATA": w(appdata)})
    assert options_of(run, java) == "-Xmx300m "
    assert "Maximum heap set by the options (-Xmx300m): no -Xmx from max_heap_percent" in run.traces


def as_machine(executable, machine):
    """The executable with its header's machine field set to `machine` (0xAA64: ARM64)."""
    data = bytearray(executable.read_bytes())
    header = struct.unpack_from("<I", data, 0x3C)[0]
    struct.pack_into("<H", data, header + 4, machine)
    executable.write_bytes(bytes(data))


def test_of_two_shipped_runtimes_the_pcs_own_is_started(scenario):
    for listed in (r"jre-arm64\bin\javaw.exe;jre-x64\bin\javaw.exe", r"jre-x64\bin\javaw.exe;jre-arm64\bin\javaw.exe"):
        app = scenario.launcher({"jar": "app.jar", "bundled_java": listed})
        for name in ("jre-arm64", "jre-x64"):
            scenario.java_home(app.parent / name)
        as_machine(app.parent / "jre-arm64" / "bin" / "javaw.exe", 0xAA64)
        arm = w(app.parent) + r"\jre-arm64\bin\javaw.exe"
        x64 = w(app.parent) + r"\jre-x64\bin\javaw.exe"
        run = scenario.run(app)
        assert [r["cmdline"] for r in run.app_starts] == [f'"{x64}"  -jar app.jar']
        assert f"Left out {arm}: an ARM64 program, which this PC cannot run" in run.traces
        assert "Bundled Jre or jdk found" in run.traces


def test_an_installed_arm64_kit_never_beats_a_runnable_one_by_version(scenario):
    app = scenario.launcher({"jar": "app.jar", "min_version": "11"})
    homes = {}
    for name, version in (("jdk-21-arm64", "21.0.5"), ("jdk-17-x64", "17.0.13")):
        home = scenario.java_home(name, banner="17")
        (home / "release").write_text(f'JAVA_VERSION="{version}"\n')
        homes[name] = w(home)
    as_machine(scenario.dir / "jdk-21-arm64" / "bin" / "javaw.exe", 0xAA64)
    path = ";".join(homes[name] + r"\bin" for name in ("jdk-21-arm64", "jdk-17-x64"))
    run = scenario.run(app, env={"PATH": rf"C:\windows\system32;{path}"})
    java = homes["jdk-17-x64"] + r"\bin\javaw.exe"
    assert [r["cmdline"] for r in run.app_starts] == [f'"{java}"  -jar app.jar']
    assert (f"Left out {homes['jdk-21-arm64']}\\bin\\javaw.exe: an ARM64 program, which this PC cannot run"
            in run.traces)
    assert f"Installed runtime chosen: {homes['jdk-17-x64']}" in run.traces


JDKS = {17: "/usr/lib/jvm/java-17-openjdk-amd64", 25: "/usr/lib/jvm/temurin-25-jdk-amd64"}
# Each refused by one of the two: Java 24 and later refuse to allow the Security Manager; compact
# object headers are an option from Java 25 on, unknown to 17.
REAL_OPTIONS_FILE = (
    "-Dcheck=1\n"
    "[24+] --enable-native-access=ALL-UNNAMED\n"
    "[-23] -Djava.security.manager=allow\n"
    "[25+] -XX:+UseCompactObjectHeaders\n"
    "[9-16] --illegal-access=permit\n"
)
HELLO = """public final class Hello {
    public static void main(String[] args) {
        System.out.println("Hello from Java " + Runtime.version().feature() + ", check=" + System.getProperty("check"));
    }
}
"""


@pytest.fixture(scope="module")
def hello_jar(tmp_path_factory):
    """A jar that prints the Java version it runs on, built with the real Java 17 kit."""
    folder = tmp_path_factory.mktemp("hello")
    (folder / "Hello.java").write_text(HELLO)
    (folder / "manifest.txt").write_text("Main-Class: Hello\n")
    kit = JDKS[17] + "/bin/"
    subprocess.run([kit + "javac", "--release", "17", "-d", str(folder), str(folder / "Hello.java")], check=True)
    subprocess.run([kit + "jar", "cfm", str(folder / "app.jar"), str(folder / "manifest.txt"), "-C", str(folder),
                    "Hello.class"], check=True)
    return folder / "app.jar"


@pytest.mark.skipif(not all(os.path.isdir(home) for home in JDKS.values()), reason="needs the JDKs 17 and 25")
@pytest.mark.parametrize("feature, version", [(17, "17.0.15"), (25, "25.0.3")])
def test_real_runtimes_accept_the_options_passed_for_their_version(scenario, hello_jar, feature, version):
    app, java = shipped(scenario, version)
    app.with_name("app.exe.vmoptions").write_text(REAL_OPTIONS_FILE)
    given = shlex.split(options_of(scenario.run(app), java))
    java_here = JDKS[feature] + "/bin/java"
    ran = subprocess.run([java_here, *given, "-jar", str(hello_jar)], capture_output=True, text=True, timeout=60)
    assert ran.returncode == 0, ran.stderr
    assert ran.stdout == f"Hello from Java {feature}, check=1\n"
    # What the other version alone gets would stop this one: the choice is what lets it start.
    other = {17: "-XX:+UseCompactObjectHeaders", 25: "-Djava.security.manager=allow"}[feature]
    assert other not in given
    refused = subprocess.run([java_here, *given, other, "-jar", str(hello_jar)], capture_output=True, text=True,
                             timeout=60)
    assert refused.returncode != 0
