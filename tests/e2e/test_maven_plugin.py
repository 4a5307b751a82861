"""The Maven plugin: built offline from Debian's packages, installed with the release's command,
used by the sample project; the executables it writes, and the tools it carries."""
import os
import re
import shlex
import shutil
import struct
import subprocess
import zipfile

import pytest
from PIL import Image

from pe_resources import read_resources, string_table
from setting_keys import built_key_table, parse_key_table
from wine_session import BUILD, ROOT
from wine_session import windows_path as w

HARNESS = BUILD / "x86_64" / "harness.exe"
GOAL = "windows-launcher:windows-launcher-maven-plugin:1.0.0:exe"
OFFLINE = ["-o", "-B", "-s", str(ROOT / "tools" / "debian-maven-settings.xml"), "-Daether.offline.protocols=file"]
SAMPLE_JAR = "hello-swing-1.4.0-SNAPSHOT.jar"
# Maven's own JVM starts faster without the optimising compiler; the builds here are short.
MAVEN_ENV = dict(os.environ, MAVEN_OPTS="-XX:TieredStopAtLevel=1 -XX:+UseSerialGC")


class Maven:
    def __init__(self, base):
        self.repo = base / "repo"
        self.plugin = base / "plugin"
        self.sample = base / "hello-swing"

    def run(self, args, cwd=None):
        return subprocess.run(["mvn", *OFFLINE, f"-Dmaven.repo.local={self.repo}", *args], cwd=cwd or self.sample,
                              capture_output=True, text=True, timeout=600, env=MAVEN_ENV)

    def goal(self, *properties):
        """The goal alone on the sample, with parameters given as -D properties."""
        return self.run([GOAL, *properties])

    @property
    def jar(self):
        return next(self.plugin.glob("*.jar"))


@pytest.fixture(scope="module")
def maven(tmp_path_factory):
    """The plugin built and installed, by the release's own command, into a repository of this run."""
    maven = Maven(tmp_path_factory.mktemp("maven"))
    built = subprocess.run([str(ROOT / "tools" / "build-maven-plugin"), "--out", str(maven.plugin), "--repo",
                            str(maven.repo)], capture_output=True, text=True, timeout=600)
    assert built.returncode == 0, built.stdout + built.stderr
    # As printed, offline with the settings file beside it; only the repository is this run's own.
    install = shlex.split((maven.plugin / "install-maven-plugin.txt").read_text())
    assert install[:4] == ["mvn", "-o", "-s", "debian-maven-settings.xml"]
    installed = subprocess.run([*install, f"-Dmaven.repo.local={maven.repo}"], cwd=maven.plugin, capture_output=True,
                               text=True, timeout=600, env=MAVEN_ENV)
    assert installed.returncode == 0, installed.stdout
    shutil.copytree(ROOT / "samples" / "hello-swing", maven.sample)
    return maven


def inspect(wine_session, exe):
    lines = [line.split("\t") for line in wine_session.wine([str(HARNESS), "--inspect", w(exe)]).stdout.decode().splitlines()]
    return {line[1]: line[2] for line in lines if line[0] == "version"}


def machine(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    return struct.unpack_from("<H", data, pe + 4)[0]


def test_the_sample_build_writes_installs_and_starts_its_launcher(maven, scenario, wine_session):
    built = maven.run(["install"])
    assert built.returncode == 0, built.stdout
    exe = maven.sample / "target" / "HelloSwing.exe"
    assert (maven.sample / "target" / SAMPLE_JAR).exists()
    assert string_table(read_resources(exe.read_bytes())[0]) == {
        100: '-Xmx256m -Dhello.greeting="Grüß Gott"', 101: SAMPLE_JAR, 104: "11", 106: "on"}
    assert "minVersion is not set: the launcher asks for Java 11 or later, from maven.compiler.release=11" in built.stdout
    assert "[WARNING] <" not in built.stdout and "has no effect" not in built.stdout
    assert inspect(wine_session, exe) == {
        "ProductName": "Hello Swing", "FileDescription": "A window that says hello", "CompanyName": "Hello Makers",
        "FileVersion": "1.4.0.0", "ProductVersion": "1.4.0.0", "LegalCopyright": "(c) 2026 Hello Makers"}
    assert (maven.sample / "target" / "HelloSwing.settings").read_text().startswith("#")
    assert not list((maven.sample / "target").glob("launcher-configure-*"))
    installed = maven.repo / "hello" / "hello-swing" / "1.4.0-SNAPSHOT" / "hello-swing-1.4.0-SNAPSHOT-windows-x86_64.exe"
    assert installed.read_bytes() == exe.read_bytes()

    app = scenario.dir / "app" / "HelloSwing.exe"
    app.parent.mkdir()
    shutil.copy(exe, app)
    home = w(scenario.java_home("jdk17", banner="17"))
    run = scenario.run(app, args=["notes.txt"], env={"JAVA_HOME": home})
    assert [r["cmdline"] for r in run.app_starts] == [
        f'"{home}\\bin\\javaw.exe" -Xmx256m -Dhello.greeting="Grüß Gott" -jar {SAMPLE_JAR} notes.txt']


def tool_keys(plugin_jar):
    """The settings file's keys as the key table in the plugin jar lists them, with their ids."""
    with zipfile.ZipFile(plugin_jar) as jar:
        table = parse_key_table(jar.read("windows-launcher/setting-keys.tsv").decode("utf-8"))
    settings = {row["key"]: int(row["id"]) for row in table if row["id"] != "0"}
    metadata = [row["key"] for row in table if row["id"] == "0"]
    return settings, metadata


def tool_keys_of_the_build():
    table = built_key_table()
    return {row["key"]: int(row["id"]) for row in table if row["id"] != "0"}, [row["key"] for row in table if row["id"] == "0"]


def camel(key):
    head, *rest = key.split("_")
    return head + "".join(part.capitalize() for part in rest)


# Values the tool takes for a key; other texts are "<key> text", numbers the key's id.
PLAUSIBLE = {"min_version": "11", "max_version": "21", "download_url": "https://example.com/java",
             "restart_on_exit": "3,4"}


def test_every_setting_of_the_tool_is_a_parameter_and_reaches_its_entry(maven, wine_session, tmp_path):
    settings, metadata = tool_keys(maven.jar)
    # The plugin carries the table its launchers were built with.
    assert (settings, metadata) == tool_keys_of_the_build()
    assert len(settings) >= 17 and "copyright" in metadata
    with zipfile.ZipFile(maven.jar) as jar:
        descriptor = jar.read("META-INF/maven/plugin.xml").decode()
    types = dict(re.findall(r"<parameter>\s*<name>(\w+)</name>\s*<type>([\w.]+)</type>", descriptor))
    assert types["splash"] == "java.io.File"  # a splash picture turns the splash on
    picture = tmp_path / "splash.gif"
    Image.new("RGB", (40, 30), (10, 90, 200)).save(picture)
    icon = tmp_path / "app.ico"
    Image.new("RGBA", (32, 32), (0, 120, 60, 255)).save(icon, sizes=[(16, 16), (32, 32)])
    texts = {key: f"{key} text" for key in metadata if key not in ("icon", "version")}
    flags = [key for key in settings if types[camel(key)] == "boolean"]  # every key of the tool has its parameter
    assert len(flags) >= 6
    # Three runs, each flag on in the runs of its own bit pattern: two flags that swapped their
    # keys would differ in some run.
    for bit in range(3):
        given, expected = [], {}
        for key, setting_id in settings.items():
            kind = types[camel(key)]
            if kind == "boolean":
                if not (flags.index(key) + 1) >> bit & 1:
                    continue
                value, entry = "true", "on"
            elif kind == "java.io.File":
                value, entry = str(picture), "on"
            elif kind == "java.lang.Integer":
                value = entry = str(setting_id)
            else:
                value = entry = PLAUSIBLE.get(key, f"{key} text")
            given.append(f"-Dlauncher.{camel(key)}={value}")
            expected[setting_id] = entry
        given += [f"-Dlauncher.{camel(key)}={value}" for key, value in texts.items()]
        given += [f"-Dlauncher.icon={icon}", "-Dlauncher.version=3.2.1", "-Dlauncher.arch=both",
                  "-Dlauncher.outputName=Everything"]
        made = maven.goal(*given)
        assert made.returncode == 0, made.stdout
        for arch, machine_type in (("x86_64", 0x8664), ("i686", 0x14C)):
            data = (maven.sample / "target" / f"Everything-{arch}.exe").read_bytes()
            assert machine(data) == machine_type
            resources = read_resources(data)[0]
            assert string_table(resources) == expected, bit
            assert resources[(2, 104, 0)] == picture.read_bytes()
            assert int.from_bytes(resources[(14, 1, 0)][4:6], "little") == 2
    version = inspect(wine_session, maven.sample / "target" / "Everything-x86_64.exe")
    assert version == {"ProductName": "product_name text", "FileDescription": "description text",
                       "CompanyName": "company text", "LegalCopyright": "copyright text",
                       "FileVersion": "3.2.1.0", "ProductVersion": "3.2.1.0"}


def test_the_minimum_follows_the_compiler_release_misspelt_names_are_named_and_splash2x_is_bitmap_105(maven, tmp_path):
    project = tmp_path / "own"
    shutil.copytree(ROOT / "samples" / "hello-swing", project)
    pom = (project / "pom.xml").read_text()
    pom = pom.replace("<maven.compiler.release>11</maven.compiler.release>", "<maven.compiler.release>17</maven.compiler.release>")
    pom = pom.replace("<outputName>HelloSwing</outputName>", "<outputName>Own</outputName><minVerison>21</minVerison>"
                      "<splash>splash.png</splash><splash2x>splash@2x.png</splash2x>")
    (project / "pom.xml").write_text(pom)
    Image.new("RGB", (40, 30), (10, 90, 200)).save(project / "splash.png")
    Image.new("RGB", (80, 60), (10, 90, 200)).save(project / "splash@2x.png")
    built = maven.run(["package"], cwd=project)
    assert built.returncode == 0, built.stdout
    assert ("[WARNING] <minVerison> is not a parameter of the windows-launcher plugin and is ignored; did you mean "
            "<minVersion>?") in built.stdout
    assert "minVersion is not set: the launcher asks for Java 17 or later, from maven.compiler.release=17" in built.stdout
    assert "min_version=17\n" in (project / "target" / "Own.settings").read_text()
    resources = read_resources((project / "target" / "Own.exe").read_bytes())[0]
    assert string_table(resources)[104] == "17" and string_table(resources)[96] == "on"
    assert resources[(2, 104, 0)] == (project / "splash.png").read_bytes()
    assert resources[(2, 105, 0)] == (project / "splash@2x.png").read_bytes()

    # Without a release the target counts; 8 and below are the Java versions that start with 1.
    made = maven.run([GOAL, "-Dmaven.compiler.release=", "-Dmaven.compiler.target=8", "-Dlauncher.outputName=Target8"],
                     cwd=project)
    assert made.returncode == 0, made.stdout
    assert "minVersion is not set: the launcher asks for Java 1.8 or later, from maven.compiler.target=8" in made.stdout
    assert string_table(read_resources((project / "target" / "Target8.exe").read_bytes())[0])[104] == "1.8"


def test_a_high_dpi_picture_without_the_splash_is_left_out_with_a_warning(maven):
    made = maven.goal("-Dlauncher.splash2x=splash@2x.png", "-Dlauncher.splashSeconds=4", "-Dlauncher.outputName=NoSplash")
    assert made.returncode == 0, made.stdout
    assert "[WARNING] splash2x is ignored: it is the high-DPI form of splash, which is not set" in made.stdout
    assert "[WARNING] splashSeconds has no effect: there is no splash picture (splash)" in made.stdout
    resources = read_resources((maven.sample / "target" / "NoSplash.exe").read_bytes())[0]
    assert (2, 105, 0) not in resources and 96 not in string_table(resources)


@pytest.mark.parametrize("properties, message", [
    (["-Dlauncher.vmOptions=" + "x" * 65536], "the value of vm_options is longer than 65535 characters"),
    (["-Dlauncher.icon=missing.ico"], "missing.ico: cannot read the icon file"),
    (["-Dlauncher.productName=first line\nsecond line"], "productName holds a line break"),
    (["-Dos.arch=riscv64"], "(os.name Linux, os.arch riscv64); supported build hosts: Linux x86_64, Linux aarch64,"),
], ids=["over the limit", "missing icon", "line break", "unsupported host"])
def test_invalid_parameters_fail_the_build_and_leave_no_executable(maven, properties, message):
    target = maven.sample / "target"
    target.mkdir(exist_ok=True)
    stale = target / "Refused.exe"
    stale.write_bytes(b"an executable of an earlier build")
    made = maven.goal("-Dlauncher.outputName=Refused", *properties)
    assert made.returncode != 0
    assert "BUILD FAILURE" in made.stdout and message in made.stdout
    leftovers = [p.name for p in target.iterdir() if p.name.startswith(("Refused.exe", "launcher-configure-"))]
    assert leftovers == []


def elf_interpreter(data):
    """The PT_INTERP of a 64-bit ELF file (a dynamically linked program names its loader), or None."""
    assert data[:4] == b"\x7fELF" and data[4] == 2
    phoff, = struct.unpack_from("<Q", data, 0x20)
    size, count = struct.unpack_from("<HH", data, 0x36)
    for i in range(count):
        kind, = struct.unpack_from("<I", data, phoff + i * size)
        if kind == 3:
            offset, = struct.unpack_from("<Q", data, phoff + i * size + 8)
            length, = struct.unpack_from("<Q", data, phoff + i * size + 32)
            return data[offset:offset + length].rstrip(b"\0").decode()
    return None


def test_the_carried_tools_are_static_and_the_aarch64_tool_writes_the_same_bytes(maven, tmp_path):
    with zipfile.ZipFile(maven.jar) as jar:
        jar.extractall(tmp_path / "jar")
    carried = tmp_path / "jar" / "windows-launcher"
    tools = {arch: carried / f"linux-{arch}" / "launcher-configure" for arch in ("x86_64", "aarch64")}
    assert (carried / "windows-x86_64" / "launcher-configure.exe").read_bytes()[:2] == b"MZ"
    for tool in tools.values():
        assert elf_interpreter(tool.read_bytes()) is None
        tool.chmod(0o755)
    picture = tmp_path / "splash.bmp"
    Image.new("RGB", (33, 17), (250, 200, 0)).save(picture)
    Image.new("RGBA", (48, 48), (200, 0, 60, 255)).save(tmp_path / "app.ico", sizes=[(16, 16), (48, 48)])
    settings = tmp_path / "app.settings"
    settings.write_text("splash=on\nstay_alive=on\njar=app.jar\nvm_options=-Dname=\"Łukasz\"\nicon=app.ico\n"
                        "product_name=Quillfen\nversion=2.5\ncompany=Quillfen Makers\n", encoding="utf-8")
    outputs = {}
    for arch, runner in (("x86_64", []), ("aarch64", ["qemu-aarch64-static"])):
        for launcher in ("x86_64", "i686"):
            out = tmp_path / f"{launcher}-by-{arch}.exe"
            made = subprocess.run([*runner, str(tools[arch]), "--launcher", str(carried / launcher / "launcher.exe"),
                                   "--settings", str(settings), "--splash", str(picture), "--out", str(out)],
                                  capture_output=True, text=True, timeout=120)
            assert made.returncode == 0, made.stderr
            outputs[(arch, launcher)] = out.read_bytes()
    for launcher in ("x86_64", "i686"):
        assert outputs[("aarch64", launcher)] == outputs[("x86_64", launcher)]
        assert string_table(read_resources(outputs[("x86_64", launcher)])[0])[100] == '-Dname="Łukasz"'
    refused = subprocess.run(["qemu-aarch64-static", str(tools["aarch64"]), "--launcher", str(picture), "--settings",
                              str(settings), "--splash", str(picture), "--out", str(tmp_path / "refused.exe")],
                             capture_output=True, text=True)
    assert refused.returncode == 1 and "no MZ header" in refused.stderr
