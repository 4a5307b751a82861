"""The configuration tool's refusals name the file, the settings line and the system's reason; what
it prints for --help, --version and a successful run."""
import os
import re
import stat
import subprocess
import tempfile
from pathlib import Path

import pytest
from PIL import Image

from pe_resources import read_resources, string_table
from wine_session import BUILD, ROOT
from wine_session import windows_path as w

CONFIGURE = BUILD / "host" / "launcher-configure"
PREBUILT = BUILD / "x86_64" / "launcher.exe"


def run(*args, **kwargs):
    return subprocess.run([str(CONFIGURE), *map(str, args)], capture_output=True, text=True, timeout=120, **kwargs)


def settings_file(directory, text, name="app.settings"):
    path = directory / name
    path.write_text(text)
    return path


def refused(result, out, *parts):
    """Refused with status 1, its one message holding every part, and nothing written."""
    assert result.returncode == 1, result.stdout + result.stderr
    assert result.stdout == ""
    message = result.stderr.strip()
    assert message.count("\n") == 0 and message.startswith("launcher-configure: "), message
    for part in parts:
        assert part in message
    assert not out.exists() and not list(out.parent.glob(out.name + ".partial*"))
    return message


@pytest.fixture
def picture(tmp_path):
    path = tmp_path / "splash.png"
    Image.new("RGB", (40, 30), (10, 90, 200)).save(path)
    return path


@pytest.mark.parametrize("text, extra, parts", [
    ("jar=app.jar\n# watched for longer\nstartup_check_seconds=10\nstartup_check_seconds=30\n", [],
     ["{settings}: line 4: startup_check_seconds is given twice (first on line 3); keep one of them"]),
    ("jar=app.jar\n", ["--splash", "{picture}"],
     ["{settings}: --splash is given, but the settings leave the splash off, so the picture would never show; "
      "add splash=on"]),
    ("jar=app.jar\nsplash=\n", ["--splash-2x", "{picture}"],
     ["{settings}: line 2: --splash-2x is given, but the settings leave the splash off"]),
    ("jar=app.jar\nsplash=on\n", [],
     ["{settings}: line 2: splash is on, but no splash picture is given; add --splash PICTURE, or --default-splash"]),
], ids=["key twice", "picture without splash", "high-DPI picture without splash", "splash without picture"])
def test_settings_and_pictures_that_disagree_are_refused(tmp_path, picture, text, extra, parts):
    settings = settings_file(tmp_path, text)
    out = tmp_path / "app.exe"
    extra = [str(picture) if arg == "{picture}" else arg for arg in extra]
    result = run("--launcher", PREBUILT, "--settings", settings, "--out", out, *extra)
    refused(result, out, *(part.replace("{settings}", str(settings)) for part in parts))


def test_a_missing_or_unreadable_input_names_the_system_reason(tmp_path):
    out = tmp_path / "app.exe"
    settings = settings_file(tmp_path, "jar=app.jar\nproduct_name=App\nicon=missing.ico\n")
    refused(run("--launcher", PREBUILT, "--settings", settings, "--out", out), out,
            f"{settings}: line 3: {tmp_path / 'missing.ico'}: cannot read the icon file (No such file or directory)")
    # An icon the launcher cannot show is named with its settings line too.
    (tmp_path / "bad.ico").write_bytes(b"not an icon at all")
    settings = settings_file(tmp_path, "icon=bad.ico\njar=app.jar\n")
    refused(run("--launcher", PREBUILT, "--settings", settings, "--out", out), out, f"{settings}: line 1: {tmp_path / 'bad.ico'}: ")
    refused(run("--launcher", PREBUILT, "--settings", tmp_path / "none.settings", "--out", out), out,
            f"{tmp_path / 'none.settings'}: cannot read the settings file (No such file or directory)")
    settings = settings_file(tmp_path, "jar=app.jar\nsplash=on\n")
    refused(run("--launcher", PREBUILT, "--settings", settings, "--splash", tmp_path / "none.png", "--out", out), out,
            f"{tmp_path / 'none.png'}: cannot read the splash picture (No such file or directory)")


def as_another_user():
    """Run as nobody when the tests run as root (root writes into read-only folders)."""
    if os.getuid() == 0:
        os.setgid(65534)
        os.setuid(65534)


def test_a_missing_and_a_read_only_output_folder_give_their_own_reasons():
    with tempfile.TemporaryDirectory(dir="/tmp") as name:  # below /tmp, so another user reaches it
        base = Path(name)
        base.chmod(0o755)
        settings = settings_file(base, "jar=app.jar\n")
        settings.chmod(0o644)
        locked = base / "locked"
        locked.mkdir(mode=0o555)
        locked.chmod(0o555)
        missing = run("--launcher", PREBUILT, "--settings", settings, "--out", base / "nowhere" / "app.exe",
                      preexec_fn=as_another_user)
        refused(missing, base / "app.exe", f"{base / 'nowhere' / 'app.exe'}: cannot write the configured launcher "
                                           "beside it (No such file or directory)")
        read_only = run("--launcher", PREBUILT, "--settings", settings, "--out", locked / "app.exe",
                        preexec_fn=as_another_user)
        refused(read_only, locked / "app.exe",
                f"{locked / 'app.exe'}: cannot write the configured launcher beside it (Permission denied)")


def mode(path):
    return stat.S_IMODE(path.stat().st_mode)


def test_a_read_only_file_stays_read_only_and_a_replaced_one_keeps_its_mode(tmp_path):
    settings = settings_file(tmp_path, "jar=app.jar\n")
    launcher = tmp_path / "MyApp.exe"
    launcher.write_bytes(PREBUILT.read_bytes())
    launcher.chmod(0o444)
    result = run("--launcher", launcher, "--settings", settings, "--in-place")
    assert result.returncode == 1
    assert result.stderr.strip() == (
        f"launcher-configure: {launcher}: the launcher is read-only, and --in-place would replace it; make it "
        "writable first (chmod u+w, or clear its read-only attribute) or write a copy with --out")
    assert mode(launcher) == 0o444 and launcher.read_bytes() == PREBUILT.read_bytes()
    existing = tmp_path / "Out.exe"
    existing.write_bytes(b"an earlier build")
    existing.chmod(0o444)
    refused_out = run("--launcher", launcher, "--settings", settings, "--out", existing)
    assert refused_out.returncode == 1 and "the output exists and is read-only" in refused_out.stderr
    assert existing.read_bytes() == b"an earlier build"

    launcher.chmod(0o750)
    result = run("--launcher", launcher, "--settings", settings, "--in-place")
    assert result.returncode == 0, result.stderr
    assert mode(launcher) == 0o750
    assert string_table(read_resources(launcher.read_bytes())[0]) == {101: "app.jar"}
    existing.chmod(0o640)
    assert run("--launcher", launcher, "--settings", settings, "--out", existing).returncode == 0
    assert mode(existing) == 0o640 and existing.read_bytes()[:2] == b"MZ"


def test_help_version_and_the_one_line_of_a_successful_run(tmp_path, picture):
    helped = run("--help")
    assert helped.returncode == 0 and helped.stderr == ""
    for option in ("--launcher", "--settings", "--splash", "--splash-2x", "--default-splash", "--out", "--in-place",
                   "--version"):
        assert option in helped.stdout
    version = run("--version")
    assert version.returncode == 0
    plugin = re.search(r"<version>([\d.]+)</version>", (ROOT / "maven-plugin" / "pom.xml").read_text()).group(1)
    assert version.stdout == f"launcher-configure {plugin} (configures launcher {plugin}, x86_64 and i686)\n"
    for wrong, reason in ((["--launcher", PREBUILT], "--settings is required"), (["--bogus"], 'unknown argument "--bogus"'),
                          (["--launcher", PREBUILT, "--settings", "a", "--out"], "--out needs a value")):
        result = run(*wrong)
        assert result.returncode == 2 and result.stderr.startswith(f"launcher-configure: {reason}\nusage:")

    settings = settings_file(tmp_path, "jar=app.jar\nsplash=on\n")
    for arch in ("x86_64", "i686"):
        out = tmp_path / f"{arch}.exe"
        made = run("--launcher", BUILD / arch / "launcher.exe", "--settings", settings, "--splash", picture, "--out", out)
        assert made.returncode == 0 and made.stderr == ""
        assert made.stdout == f"launcher-configure: wrote {out} ({arch} launcher) with the settings {settings}\n"
    made = run("--launcher", tmp_path / "i686.exe", "--settings", settings, "--default-splash", "--in-place")
    assert made.stdout == (f"launcher-configure: configured {tmp_path / 'i686.exe'} in place (i686 launcher) with the "
                           f"settings {settings} and the launcher's own splash picture\n")
    resources = read_resources((tmp_path / "i686.exe").read_bytes())[0]
    assert resources[(2, 104, 0)] != picture.read_bytes()


def test_the_windows_tool_gives_the_system_reason_and_keeps_read_only_files(tmp_path, wine_session):
    tool = str(BUILD / "x86_64" / "launcher-configure.exe")
    settings = settings_file(tmp_path, "jar=app.jar\nicon=missing.ico\n")
    out = tmp_path / "app.exe"
    result = wine_session.wine([tool, "--launcher", w(PREBUILT), "--settings", w(settings), "--out", w(out)], timeout=60)
    message = result.stderr.decode(errors="replace")
    assert result.returncode == 1
    # The system's own text for ERROR_FILE_NOT_FOUND, whatever words this system has for it.
    found = re.search(r": line 2: .*missing\.ico: cannot read the icon file \((.+)\)\r?$", message, re.M)
    assert found and not found.group(1).startswith("Error "), message
    assert not out.exists()
    launcher = tmp_path / "MyApp.exe"
    launcher.write_bytes(PREBUILT.read_bytes())
    launcher.chmod(0o444)  # Wine shows it with the read-only attribute
    settings.write_text("jar=app.jar\n")
    result = wine_session.wine([tool, "--launcher", w(launcher), "--settings", w(settings), "--in-place"], timeout=60)
    assert result.returncode == 1 and b"the launcher is read-only" in result.stderr
    assert launcher.read_bytes() == PREBUILT.read_bytes() and mode(launcher) == 0o444
