"""What the launcher builds is what real runtimes accept: the command lines the launcher gave the
test double for the jar, main-class and module forms (and one over the system's limit, through
an argument file) are run with the machine's own JDKs on the samples, their Wine paths turned
into the machine's."""
import os
import shutil
import subprocess
from pathlib import Path

import pytest

from scenario import Scenario
from wine_session import ROOT
from wine_session import windows_path as w

JDKS = {17: Path("/usr/lib/jvm/java-17-openjdk-amd64"), 25: Path("/usr/lib/jvm/temurin-25-jdk-amd64")}
HEADLESS = '-Djava.awt.headless=true -Dhello.greeting="Grüß Gott"'


def windows_arguments(line):
    """A command line split as Windows programs split theirs (the Microsoft C rules)."""
    arguments, at = [], 0
    while True:
        while at < len(line) and line[at] in " \t":
            at += 1
        if at == len(line):
            return arguments
        value, quoted = "", False
        while at < len(line) and (quoted or line[at] not in " \t"):
            if line[at] == "\\":
                end = at
                while end < len(line) and line[end] == "\\":
                    end += 1
                count = end - at
                if end < len(line) and line[end] == '"':
                    value += "\\" * (count // 2)
                    at = end
                    if count % 2:
                        value += '"'
                        at += 1
                else:
                    value += "\\" * count
                    at = end
            elif line[at] == '"':
                if quoted and line[at + 1:at + 2] == '"':
                    value += '"'
                    at += 2
                else:
                    quoted = not quoted
                    at += 1
            else:
                value += line[at]
                at += 1
        arguments.append(value)


def argument_file_arguments(text):
    """The arguments of an argument file as the launcher writes it: one quoted argument a line."""
    arguments = []
    for line in text.split("\\r\\n")[:-1]:
        assert line.startswith('"') and line.endswith('"'), line
        inner, value, i = line[1:-1], "", 0
        while i < len(inner):
            if inner[i] == "\\":
                i += 1
            value += inner[i]
            i += 1
        arguments.append(value)
    return arguments


def machine_path(path):
    """A Wine path (Z: is the root) or a relative one as this machine names it."""
    if path[:3].upper() == "Z:\\":
        path = path[2:]
    return path.replace("\\", "/")


def machine_arguments(arguments, argument_file=None):
    """The Java arguments with every path this machine's; class and module paths joined with ':'."""
    out, path_follows = [], False
    for argument in arguments:
        if path_follows:
            out.append(":".join(machine_path(entry) for entry in argument.split(";")))
        elif argument.startswith("@"):
            out += machine_arguments(argument_file_arguments(argument_file))
        elif argument.startswith(("Z:\\", "z:\\")) or "\\" in argument and not argument.startswith("-"):
            out.append(machine_path(argument))
        else:
            out.append(argument)
        path_follows = argument in ("-cp", "-classpath", "--class-path", "-p", "--module-path")
    return out


@pytest.fixture(scope="module")
def samples(tmp_path_factory):
    """The two samples compiled for Java 11 with the oldest JDK here, as their builds make them
    (the Swing sample with the instance library it uses)."""
    out = tmp_path_factory.mktemp("samples")
    jdk = JDKS[17] / "bin"
    library = ["-sourcepath", str(ROOT / "instance-library" / "src" / "main" / "java")]
    for sample, main, extra in (("hello-swing", "hello.Hello", library), ("hello-modular", None, [])):
        sources = sorted(str(p) for p in (ROOT / "samples" / sample / "src" / "main" / "java").rglob("*.java"))
        classes = out / sample
        subprocess.run([str(jdk / "javac"), "--release", "11", "-encoding", "UTF-8", *extra, "-d", str(classes),
                        *sources], check=True, timeout=300)
        command = [str(jdk / "jar"), "--create", "--file", str(out / f"{sample}.jar")]
        if main:
            command += ["--main-class", main]
        subprocess.run([*command, "-C", str(classes), "."], check=True, timeout=300)
    return out


def started_command_line(scenario, settings, jars, args=(), release=None, options_file=None):
    """The launcher (bundled double) in a folder with a blank and an accent; the jars placed below
    it; the one command line the double was given, with its directory and argument file."""
    values = {"bundled_java": r"jre\bin\javaw.exe", "pass_arguments": "on", "vm_options": HEADLESS}
    values.update(settings)
    app = scenario.launcher(values, where="Hello App Café")
    home = scenario.java_home(app.parent / "jre")
    if release:
        (home / "release").write_text(f'JAVA_VERSION="{release}"\n')
    if options_file:
        app.with_name("app.exe.vmoptions").write_text(options_file, encoding="utf-8")
    for source, target in jars:
        (app.parent / target).parent.mkdir(parents=True, exist_ok=True)
        shutil.copy(source, app.parent / target)
    run = scenario.run(app, args=list(args))
    assert len(run.app_starts) == 1, (run.boxes, run.traces[-5:])
    return run.app_starts[0]


def run_with(jdk, start):
    arguments = windows_arguments(start["cmdline"])
    command = [str(JDKS[jdk] / "bin" / "java"), *machine_arguments(arguments[1:], start.get("argfile"))]
    result = subprocess.run(command, cwd=machine_path(start["cwd"]), capture_output=True, timeout=120,
                            env=dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8"))
    return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode("utf-8", "replace"), command


FORMS = {
    "jar": ({"jar": "hello-swing.jar"}, [("hello-swing.jar", "hello-swing.jar")], "Grüß Gott, notes.txt"),
    "main class, lib\\*": ({"main_class": "hello.Hello", "class_path": r"lib\*"},
                           [("hello-swing.jar", "lib/hello-swing.jar")], "Grüß Gott, notes.txt"),
    "module": ({"module": "hello.modular/hello.modular.Hello", "module_path": r"mods"},
               [("hello-modular.jar", "mods/hello-modular.jar")], "Hello from module hello.modular, notes.txt"),
}


@pytest.mark.parametrize("form", FORMS)
def test_each_launch_form_starts_on_real_runtimes(wine_session, tmp_path, samples, form):
    settings, jars, printed = FORMS[form]
    scenario = Scenario(wine_session, tmp_path)
    start = started_command_line(scenario, settings, [(samples / s, t) for s, t in jars], args=["notes.txt"])
    for jdk in JDKS:
        status, out, err, command = run_with(jdk, start)
        assert (status, out.strip()) == (0, printed), (jdk, command, err)


def test_a_command_line_over_the_limit_starts_real_runtimes_through_its_argument_file(wine_session, tmp_path,
                                                                                         samples):
    scenario = Scenario(wine_session, tmp_path)
    big = "-Dbig=" + "y" * 40000
    start = started_command_line(scenario, {"main_class": "hello.Hello", "class_path": r"lib\*"},
                                 [(samples / "hello-swing.jar", "lib/hello-swing.jar")], args=["notes.txt"],
                                 release="17.0.15", options_file=f"{big}\n{HEADLESS}\n")
    assert " @" in start["cmdline"] and len(start["cmdline"]) < 32767
    for jdk in JDKS:
        status, out, err, command = run_with(jdk, start)
        assert (status, out.strip()) == (0, "Grüß Gott, notes.txt"), (jdk, command[:3], err)
