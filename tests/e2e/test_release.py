"""The release folder: what it holds, its tools for Linux and Windows, and a project of one's own
built offline from it alone with the commands the README prints."""
import os
import re
import shlex
import shutil
import subprocess

import pytest

from pe_resources import read_resources, string_table
from setting_keys import built_key_table
from wine_session import ROOT
from wine_session import windows_path as w

# Maven's own JVM starts faster without the optimising compiler; the builds here are short.
MAVEN_OPTS = "-XX:TieredStopAtLevel=1 -XX:+UseSerialGC"


@pytest.fixture(scope="module")
def release(tmp_path_factory):
    release = tmp_path_factory.mktemp("release") / "release"
    # Assembled from the build the test run already made (a build while Wine runs slows Wine down).
    made = subprocess.run([str(ROOT / "tools" / "release"), "--out", str(release), "--no-build"],
                          capture_output=True, text=True, timeout=600)
    assert made.returncode == 0, made.stdout + made.stderr
    assert "--no-build" in made.stdout and "tools/build-maven-plugin" in made.stdout
    return release


def test_release_folder_and_the_windows_build_of_the_tool(release, tmp_path, wine_session):
    assert sorted(p.name for p in release.iterdir()) == [
        "README.md", "debian-maven-settings.xml", "docs", "example.settings", "install-maven-plugin.txt",
        "launcher-configure", "launcher-configure-aarch64", "launcher-configure.exe", "launcher-i686.exe",
        "launcher-x86_64.exe", "samples", "windows-launcher-maven-plugin-1.0.0.jar",
        "windows-launcher-maven-plugin-1.0.0.pom"]
    readme = (release / "README.md").read_text()
    pictures = re.findall(r"\]\((docs/[\w-]+\.png)\)", readme)
    assert pictures and all((release / picture).is_file() for picture in pictures)
    assert (release / "samples" / "hello-swing" / "pom.xml").is_file()
    # The example names every key once (the tool refuses a key given twice) and is accepted as it is.
    linux = subprocess.run([str(release / "launcher-configure"), "--launcher", str(release / "launcher-i686.exe"),
                            "--settings", str(release / "example.settings"), "--out", str(tmp_path / "linux.exe")],
                           capture_output=True, text=True)
    assert linux.returncode == 0, linux.stderr
    windows = wine_session.wine([str(release / "launcher-configure.exe"), "--launcher", w(release / "launcher-i686.exe"),
                                 "--settings", w(release / "example.settings"), "--out", w(tmp_path / "windows.exe")])
    assert windows.returncode == 0, windows.stderr
    assert (tmp_path / "windows.exe").read_bytes() == (tmp_path / "linux.exe").read_bytes()
    texts = string_table(read_resources((tmp_path / "linux.exe").read_bytes())[0])
    assert texts == {100: '-Xmx512m -Dmyapp.name="My App"', 101: "myapp.jar", 104: "11"}
    # Every key of the tool is shown in the example, each once.
    keys = [row["key"] for row in built_key_table()]
    shown = re.findall(r"^#?(\w+)=", (release / "example.settings").read_text(), re.M)
    assert len(keys) >= 23 and sorted(shown) == sorted(keys)


def readme_commands(readme):
    """The install command the README names the file of, the plugin snippet and the build command."""
    snippet = re.search(r"```xml\n(<plugin>.*?</plugin>)\n```", readme, re.S).group(1)
    build = re.search(r"^    (mvn -o -s RELEASE/debian-maven-settings.xml .* package)$", readme, re.M).group(1)
    return snippet, build


OWN_PROJECT = """<?xml version="1.0" encoding="UTF-8"?>
<project xmlns="http://maven.apache.org/POM/4.0.0">
  <modelVersion>4.0.0</modelVersion>
  <groupId>own</groupId>
  <artifactId>own-app</artifactId>
  <version>2.1</version>
  <name>Own App</name>
  <properties>
    <project.build.sourceEncoding>UTF-8</project.build.sourceEncoding>
    <maven.compiler.release>17</maven.compiler.release>
  </properties>
  <build>
    <plugins>
PLUGIN
    </plugins>
    <pluginManagement>
      <plugins>
VERSIONS
      </plugins>
    </pluginManagement>
  </build>
</project>
"""


def test_a_project_of_ones_own_builds_offline_from_the_release_folder_alone(release, tmp_path):
    """A fresh Maven home: the plugin comes only from the release folder, every other plugin from
    Debian's repository through the release's settings file."""
    home = tmp_path / "home"
    home.mkdir()
    # Java takes its home from the user database, not from HOME.
    env = dict(os.environ, HOME=str(home), MAVEN_OPTS=f"{MAVEN_OPTS} -Duser.home={home}")
    install = shlex.split((release / "install-maven-plugin.txt").read_text())
    installed = subprocess.run(install, cwd=release, capture_output=True, text=True, timeout=600, env=env)
    assert installed.returncode == 0, installed.stdout
    assert "No plugin found" not in installed.stdout
    assert (home / ".m2" / "repository" / "windows-launcher" / "windows-launcher-maven-plugin" / "1.0.0").is_dir()

    snippet, build = readme_commands((release / "README.md").read_text())
    # The other plugins at the versions the README names, as the sample's pluginManagement has them.
    sample = (release / "samples" / "hello-swing" / "pom.xml").read_text()
    versions = sample[sample.index("<pluginManagement>") + len("<pluginManagement>"):sample.index("</pluginManagement>")]
    versions = versions.replace("<plugins>", "").replace("</plugins>", "")
    project = tmp_path / "own-app"
    (project / "src" / "main" / "java" / "own").mkdir(parents=True)
    (project / "src" / "main" / "java" / "own" / "Main.java").write_text(
        "package own;\npublic class Main { public static void main(String[] a) { System.out.println(\"own\"); } }\n")
    (project / "pom.xml").write_text(OWN_PROJECT.replace("PLUGIN", snippet).replace("VERSIONS", versions))
    built = subprocess.run(shlex.split(build.replace("RELEASE", str(release))), cwd=project, capture_output=True,
                           text=True, timeout=600, env=env)
    assert built.returncode == 0, built.stdout
    exe = project / "target" / "HelloSwing.exe"
    assert f"launcher-configure: wrote {exe} (x86_64 launcher) with the settings" in built.stdout
    assert "minVersion is not set: the launcher asks for Java 17 or later, from maven.compiler.release=17" in built.stdout
    texts = string_table(read_resources(exe.read_bytes())[0])
    assert texts[104] == "17" and texts[101] == "own-app-2.1.jar"
    assert not (home / ".m2" / "repository" / "org" / "codehaus" / "plexus" / "plexus-utils" / "1.1").exists()


def test_the_readmes_trace_command_prints_the_launchers_trace_under_wine(release, scenario, wine_session):
    command = re.search(r"^    (WINEDEBUG=\S+ wine MyApp\.exe 2>&1 \| grep .*)$", (release / "README.md").read_text(),
                        re.M).group(1)
    app = scenario.dir / "app"
    app.mkdir()
    settings = (release / "example.settings").read_text().replace("#bundled_java=", "bundled_java=")
    settings = settings.replace("#startup_check_seconds=10", "startup_check_seconds=0")  # ends right after the start
    (scenario.dir / "app.settings").write_text(settings)
    made = subprocess.run([str(release / "launcher-configure"), "--launcher", str(release / "launcher-x86_64.exe"),
                           "--settings", str(scenario.dir / "app.settings"), "--out", str(app / "MyApp.exe")],
                          capture_output=True, text=True)
    assert made.returncode == 0, made.stderr
    scenario.java_home(app / "jre", banner="11")
    env = {key: value for key, value in wine_session.env.items() if key != "WINEDEBUG"}
    traced = subprocess.run(["bash", "-c", command], cwd=app, env=env, capture_output=True, text=True, timeout=120)
    lines = traced.stdout.splitlines()
    assert lines and all("warn:seh:OutputDebugString" in line for line in lines)
    # The trace names the jar and the bundled runtime it found (Wine doubles the backslashes).
    assert any('"myapp.jar"' in line for line in lines), traced.stdout
    assert any("jre\\\\bin\\\\javaw.exe" in line for line in lines), traced.stdout
