"""Configuring a prebuilt launcher without a compiler, and what the executable says of itself."""
import hashlib
import os
import resource
import signal
import struct
import subprocess

import pytest
from PIL import Image

from pe_resources import pe_checksum, read_resources, string_table
from wine_session import BUILD, ROOT
from wine_session import windows_path as w

CONFIGURE = BUILD / "host" / "launcher-configure"
HARNESS = BUILD / "x86_64" / "harness.exe"
CORPUS = ROOT / "tests" / "fuzz" / "corpus"

CASES = {
    "plain": {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe"},
    "long texts and quotes": {
        "jar": "my app.jar", "bundled_java": r"jre\bin\javaw.exe", "stay_alive": "yes",
        "vm_options": " ".join(f'-Dkey{i}="a \\"quoted\\" value\\{i}"' for i in range(30)),
    },
    "absent entries": {"jar": "", "bundled_java": r"jre\bin\javaw.exe", "min_version": "", "stay_alive": ""},
    "working directory and jdk": {"jar": "app.jar", "bundled_java": r"..\jre\bin\javaw.exe", "working_dir": "..",
                                  "jdk_required": "on", "min_version": "1.8"},
}


def settings_text(settings):
    return "".join(f"{key}={value}\n" for key, value in settings.items())


def configure(tmp_path, settings, launcher=None, splash=None, out=None, extra=()):
    settings_file = tmp_path / "configure.settings"
    settings_file.write_text(settings if isinstance(settings, str) else settings_text(settings))
    out = out or tmp_path / "configured.exe"
    command = [str(CONFIGURE), "--launcher", str(launcher or BUILD / "x86_64" / "launcher.exe"),
               "--settings", str(settings_file), *(["--out", str(out)] if out != "in-place" else ["--in-place"]),
               *extra]
    if splash:
        command += ["--splash", str(splash)]
    return subprocess.run(command, capture_output=True, text=True, timeout=120), out


def normalised(run, directory):
    replace = lambda text: text.replace(w(directory), "<dir>")  # noqa: E731
    return ([replace(t) for t in run.traces], [replace(r["cmdline"]) for r in run.app_starts], run.exit_code,
            run.splash is not None, len(run.reports))


def run_both(scenario, settings, splash=None):
    """The same settings as make-launcher builds them and as the tool configures them."""
    built = scenario.launcher(settings, where="built", splash=splash)
    configured_dir = scenario.dir / "configured"
    configured_dir.mkdir()
    result, _ = configure(scenario.dir, settings, splash=splash, out=configured_dir / "app.exe")
    assert result.returncode == 0, result.stderr
    runs = []
    for directory in (built.parent, configured_dir):
        shared = settings.get("bundled_java", "").startswith("..")
        home = directory.parent / "jre" if shared else directory / "jre"
        scenario.java_home(home, run_ms=600, exit_code=2, output="out\\r\\n")
        runs.append(normalised(scenario.run(directory / "app.exe"), directory))
    return runs


@pytest.mark.parametrize("case", CASES)
def test_configured_prebuilt_launcher_behaves_like_a_built_one(scenario, case):
    settings = CASES[case]
    built, configured = run_both(scenario, settings)
    assert configured == built
    assert len(configured[1]) == 1
    # The double ends with 2 after 600 ms without a window: a failed start, reported.
    assert (configured[2], configured[4]) == (2, 1)


def test_configured_splash_behaves_like_a_built_one(scenario, tmp_path):
    picture = tmp_path / "splash.gif"
    Image.new("RGB", (61, 23), (200, 60, 20)).save(picture)
    built, configured = run_both(scenario, {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe",
                                            "splash": "on", "splash_seconds": "1", "stay_alive": "on"}, splash=picture)
    assert configured == built
    assert configured[3]


def test_absent_entries_read_as_absent_through_the_platform(scenario, wine_session):
    result, out = configure(scenario.dir, CASES["absent entries"])
    assert result.returncode == 0, result.stderr
    inspected = wine_session.wine([str(HARNESS), "--inspect", w(out)]).stdout.decode()
    strings = {line.split("\t")[1]: line.split("\t")[2] for line in inspected.splitlines() if line.startswith("string")}
    assert strings == {str(i): ("present" if i == 99 else "absent") for i in range(96, 108)}


@pytest.mark.parametrize("arch", ["x86_64", "i686"])
def test_only_the_launcher_resources_change(tmp_path, arch):
    prebuilt = BUILD / arch / "launcher.exe"
    picture = tmp_path / "splash.bmp"
    Image.new("RGB", (9, 7), (1, 2, 3)).save(picture)
    settings = dict(CASES["long texts and quotes"], splash="on", product_name="Quillfen Editor", version="3.1")
    result, out = configure(tmp_path, settings, launcher=prebuilt, splash=picture)
    assert result.returncode == 0, result.stderr
    before, old_sections, _ = read_resources(prebuilt.read_bytes())
    data = out.read_bytes()
    after, new_sections, _ = read_resources(data)
    assert string_table(after) == {96: "on", 97: "on", 99: r"jre\bin\javaw.exe", 100: settings["vm_options"],
                                   101: "my app.jar"}
    assert after[(2, 104, 0)] == picture.read_bytes()
    unchanged = {key for key in before if key[0] not in (2, 3, 6, 14, 16, 24)}
    assert {key: after[key] for key in unchanged} == {key: before[key] for key in unchanged}
    old = prebuilt.read_bytes()
    for (name, va, _, raw_offset, raw_size), new in zip(old_sections, new_sections):
        if name in (".rsrc", ".reloc"):
            continue
        assert new[1] == va and data[new[3]:new[3] + new[4]] == old[raw_offset:raw_offset + raw_size], name
    computed, stored = pe_checksum(data)
    assert computed == stored


def test_version_texts_icon_and_manifest_read_back(scenario, wine_session, tmp_path):
    icon = tmp_path / "app.ico"
    Image.new("RGBA", (48, 48), (0, 120, 60, 255)).save(icon, sizes=[(16, 16), (32, 32), (48, 48)])
    settings = {"jar": "app.jar", "icon": "app.ico", "product_name": "Quillfen", "description": "Quillfen editor",
                "version": "2.5.1.7", "company": "Quillfen Makers", "copyright": "(c) 2026 Quillfen Makers"}
    result, out = configure(tmp_path, settings)
    assert result.returncode == 0, result.stderr
    inspected = wine_session.wine([str(HARNESS), "--inspect", w(out)]).stdout.decode()
    lines = [line.split("\t") for line in inspected.splitlines()]
    version = {line[1]: line[2] for line in lines if line[0] == "version"}
    assert version == {"CompanyName": "Quillfen Makers", "FileDescription": "Quillfen editor", "FileVersion": "2.5.1.7",
                       "LegalCopyright": "(c) 2026 Quillfen Makers", "ProductName": "Quillfen",
                       "ProductVersion": "2.5.1.7"}
    assert [line[1] for line in lines if line[0] == "fixed"] == ["2.5.1.7"]
    manifest = next(line[1] for line in lines if line[0] == "manifest")
    for required in ('level="asInvoker"', 'uiAccess="false"', "Microsoft.Windows.Common-Controls", 'version="6.0.0.0"',
                     "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "<longPathAware",
                     "SMI/2005/WindowsSettings\">true/pm</dpiAware>",
                     "SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"):
        assert required in manifest
    assert ["icon", "count=1", "width=32"] in lines
    resources, _, _ = read_resources(out.read_bytes())
    group = resources[(14, 1, 0)]
    assert int.from_bytes(group[4:6], "little") == 3
    ico = icon.read_bytes()
    for i in range(3):
        size, offset = int.from_bytes(ico[6 + i * 16 + 8:6 + i * 16 + 12], "little"), int.from_bytes(ico[6 + i * 16 + 12:6 + i * 16 + 16], "little")
        image_id = int.from_bytes(group[6 + i * 14 + 12:6 + i * 14 + 14], "little")
        assert resources[(3, image_id, 0)] == ico[offset:offset + size]


def test_without_metadata_the_texts_and_icon_are_neutral(scenario, wine_session, tmp_path):
    result, out = configure(tmp_path, {"jar": "app.jar"})
    assert result.returncode == 0, result.stderr
    lines = [line.split("\t") for line in wine_session.wine([str(HARNESS), "--inspect", w(out)]).stdout.decode().splitlines()]
    version = {line[1]: line[2] for line in lines if line[0] == "version"}
    assert version["ProductName"] == "Java Application" and version["FileVersion"] == "1.0.0.0"
    assert ["icon", "count=1", "width=32"] in lines


def corrupt_resources(data):
    _, sections, _ = read_resources(data)
    raw_offset = next(s[3] for s in sections if s[0] == ".rsrc")
    damaged = bytearray(data)
    damaged[raw_offset + 12:raw_offset + 16] = b"\xff\xff\xff\xff"
    return bytes(damaged)


def broken_pe_signature(data):
    damaged = bytearray(data)
    pe = int.from_bytes(data[0x3C:0x40], "little")
    damaged[pe:pe + 2] = b"NE"
    return bytes(damaged)


@pytest.mark.parametrize("make_input, message", [
    (lambda data: b"#!/bin/sh\necho not a program\n" * 4, "no MZ header"),
    (lambda data: data[:len(data) // 2], "truncated"),
    (broken_pe_signature, "no PE signature"),
    (corrupt_resources, "corrupt resources"),
])
def test_bad_executables_are_refused_and_left_untouched(tmp_path, make_input, message):
    launcher = tmp_path / "input.exe"
    launcher.write_bytes(make_input((BUILD / "x86_64" / "launcher.exe").read_bytes()))
    before = hashlib.sha256(launcher.read_bytes()).hexdigest()
    result, out = configure(tmp_path, {"jar": "app.jar"}, launcher=launcher)
    assert result.returncode == 1
    assert message in result.stderr
    assert hashlib.sha256(launcher.read_bytes()).hexdigest() == before
    assert not out.exists() and not out.with_name(out.name + ".partial").exists()


@pytest.mark.parametrize("settings, splash, message", [
    ("jar=app.jar\nsplsh=on\n", None, "line 2: unknown key \"splsh\""),
    ("jar=app.jar\nstay_alive\n", None, "line 2: expected key=value"),
    ("version=1.2.x\n", None, "version \"1.2.x\" is not"),
    ("icon=missing.ico\n", None, "cannot read the icon file"),
    ("jar=app.jar\nsplash=on\n", "missing-picture.bmp", "cannot read the splash picture"),
])
def test_bad_settings_and_pictures_are_refused(tmp_path, settings, splash, message):
    launcher = tmp_path / "input.exe"
    launcher.write_bytes((BUILD / "x86_64" / "launcher.exe").read_bytes())
    result, out = configure(tmp_path, settings, launcher=launcher, splash=splash and tmp_path / splash)
    assert result.returncode == 1
    assert message in result.stderr
    assert launcher.read_bytes() == (BUILD / "x86_64" / "launcher.exe").read_bytes()
    assert not out.exists()


def test_input_changes_only_when_asked_to(tmp_path):
    launcher = tmp_path / "MyApp.exe"
    launcher.write_bytes((BUILD / "x86_64" / "launcher.exe").read_bytes())
    result, _ = configure(tmp_path, {"jar": "myapp.jar"}, launcher=launcher, out=launcher)
    assert result.returncode == 1 and "--in-place" in result.stderr
    result, _ = configure(tmp_path, {"jar": "myapp.jar"}, launcher=launcher, out="in-place")
    assert result.returncode == 0, result.stderr
    assert string_table(read_resources(launcher.read_bytes())[0]) == {101: "myapp.jar"}


def test_make_launcher_and_the_tool_share_the_settings_reader(tmp_path):
    settings = tmp_path / "bad.settings"
    settings.write_text("jar=app.jar\nsplsh=on\n")
    made = subprocess.run([str(ROOT / "tools" / "make-launcher"), "--settings", str(settings), "--out",
                           str(tmp_path / "x.exe")], capture_output=True, text=True)
    assert made.returncode != 0
    assert "line 2: unknown key \"splsh\"" in made.stderr


def test_the_input_and_the_settings_are_never_overwritten(tmp_path):
    prebuilt = (BUILD / "x86_64" / "launcher.exe").read_bytes()
    named_like_the_temporary = tmp_path / "app.exe.partial"
    named_like_the_temporary.write_bytes(prebuilt)
    result, out = configure(tmp_path, CASES["plain"], launcher=named_like_the_temporary, out=tmp_path / "app.exe")
    assert result.returncode == 0, result.stderr
    assert named_like_the_temporary.read_bytes() == prebuilt
    assert read_resources(out.read_bytes())

    original = tmp_path / "input.exe"
    original.write_bytes(prebuilt)
    (tmp_path / "out.exe.partial").symlink_to(original)
    result, out = configure(tmp_path, CASES["plain"], launcher=original, out=tmp_path / "out.exe")
    assert result.returncode == 0, result.stderr
    assert original.read_bytes() == prebuilt
    assert out.read_bytes() != prebuilt

    settings = tmp_path / "configure.settings"
    result, _ = configure(tmp_path, CASES["plain"], out=settings)
    assert result.returncode == 1
    assert f"{settings}: the output is the settings file" in result.stderr
    assert settings.read_text().startswith("jar=app.jar")


def other_sections_kept(before, after):
    """Every section but the resources and relocations at the same address with the same bytes."""
    _, old_sections, _ = read_resources(before)
    _, new_sections, _ = read_resources(after)
    for (name, va, vsize, raw_offset, raw_size), new in zip(old_sections, new_sections):
        if name in (".rsrc", ".reloc"):
            continue
        if new[:3] != (name, va, vsize) or after[new[3]:new[3] + new[4]] != before[raw_offset:raw_offset + raw_size]:
            return False
    return len(new_sections) >= len(old_sections)


def refused(result, out, message):
    assert result.returncode == 1, result.stderr
    assert message in result.stderr
    assert not out.exists() and not any(p.name.startswith(out.name + ".partial") for p in out.parent.iterdir())


def test_section_data_behind_the_resources_is_kept_and_the_launcher_still_starts(scenario):
    reproducer = CORPUS / "pe_image" / "fault13-section-data-behind-the-resources"
    app_dir = scenario.dir / "app"
    app_dir.mkdir()
    result, out = configure(scenario.dir, CASES["plain"], launcher=reproducer, out=app_dir / "app.exe")
    assert result.returncode == 0, result.stderr
    assert other_sections_kept(reproducer.read_bytes(), out.read_bytes())
    assert string_table(read_resources(out.read_bytes())[0])[101] == "app.jar"
    scenario.java_home(app_dir / "jre")
    assert len(scenario.run(out).app_starts) == 1


@pytest.mark.parametrize("count", [2000, 20000])
def test_types_sharing_one_long_name_are_refused_in_little_memory(tmp_path, count):
    reproducer = CORPUS / "pe_image" / f"fault14-{count}-types-sharing-one-name"
    settings = tmp_path / "app.settings"
    settings.write_text("jar=app.jar\n")
    out = tmp_path / "app.exe"
    limit = lambda: resource.setrlimit(resource.RLIMIT_AS, (512 << 20, 512 << 20))  # noqa: E731
    result = subprocess.run([str(CONFIGURE), "--launcher", str(reproducer), "--settings", str(settings), "--out",
                             str(out)], capture_output=True, text=True, preexec_fn=limit, timeout=60)
    refused(result, out, "resource entries share or overlap their names or data")


@pytest.mark.parametrize("settings, message", [
    ("fault16-nul-in-vm-options", "line 2: the value of vm_options holds the control character U+0000"),
    ("fault16-nul-in-jar", "line 1: the value of jar holds the control character U+0000"),
    ("fault17-splash-seconds-beyond-int", 'line 2: splash_seconds "99999999999" is not a whole number'),
    ("fault17-minimum-version-banana", 'line 1: min_version "banana" is not a Java version'),
    ("fault17-maximum-version-negative", 'line 1: max_version "-1" is not a Java version'),
    ("fault22-range-no-runtime-meets", 'line 2: max_version "7" is below min_version "1.8"'),
    ("fault22-maximum-1-under-default-minimum", 'line 1: max_version "1" is below min_version "1.3" (the default)'),
    ("fault22-address-with-quote", 'line 1: download_url "https://example.com/"x" is not an http:// or https:// address'),
    ("fault22-flag-other-word", 'line 1: stay_alive "alive" is not a flag (on, yes, true or 1 turn it on'),
])
def test_settings_the_launcher_cannot_use_are_refused(tmp_path, settings, message):
    result, out = configure(tmp_path, (CORPUS / "settings" / settings).read_bytes().decode("latin-1"))
    refused(result, out, message)


@pytest.mark.parametrize("icon, message", [
    ("fault18-entry-shorter-than-image", "icon image 1 is an image larger than its directory entry says"),
    ("fault18-entry-16-for-a-32-image", "icon image 1 is a 32 x 32 image where the directory says 16 x 16"),
    ("fault18-image-neither-bitmap-nor-png", "icon image 1 is neither a bitmap nor a PNG"),
    ("fault18-one-byte-image", "icon image 1 is neither a bitmap nor a PNG"),
])
def test_icons_the_launcher_cannot_show_are_refused(tmp_path, icon, message):
    (tmp_path / "app.ico").write_bytes((CORPUS / "icon" / icon).read_bytes())
    result, out = configure(tmp_path, "jar=app.jar\nicon=app.ico\n")
    refused(result, out, "app.ico: " + message)


@pytest.mark.parametrize("picture, message", [
    ("fault19-text-as-splash", "the splash picture is not a BMP, GIF, JPEG or PNG picture"),
    ("fault19-executable-as-splash", "the splash picture is not a BMP, GIF, JPEG or PNG picture"),
    ("fault22-gif-image-wider-than-its-screen", "the splash picture is a picture larger than 8192 pixels on a side"),
    ("fault22-jpeg-lossless-frame", "the splash picture is a JPEG picture in a form the launcher cannot show"),
    ("fault22-jpeg-arithmetic-frame", "the splash picture is a JPEG picture in a form the launcher cannot show"),
    ("fault22-jpeg-12-bit", "the splash picture is a JPEG picture in a form the launcher cannot show"),
    ("fault22-jpeg-three-components-listed-as-one", "the splash picture is a JPEG picture in a form the launcher cannot show"),
    ("fault22-jpeg-cut-after-its-scan-header", "the splash picture is a JPEG picture cut short in its pixels"),
    ("fault22-jpeg-without-its-end", "the splash picture is a JPEG picture cut short in its pixels"),
])
def test_splash_pictures_the_launcher_cannot_show_are_refused(tmp_path, picture, message):
    good = tmp_path / "good.png"
    Image.new("RGB", (20, 10), (1, 2, 3)).save(good)
    bad = str(CORPUS / "picture" / picture)
    for extra in (("--splash", bad), ("--splash", str(good), "--splash-2x", bad)):
        result, out = configure(tmp_path, {"jar": "app.jar", "splash": "on"}, extra=extra)
        refused(result, out, message)


def test_what_the_launcher_reads_alike_is_accepted_and_flags_that_are_off_are_left_out(tmp_path):
    # 8 and 1.8 are one version to the launcher; a flag's word is written as the launcher reads it.
    result, out = configure(tmp_path, "jar=app.jar\nmin_version=8\nmax_version=1.8\nstay_alive=off\n"
                                      "single_instance=no\nconsole=false\npass_arguments=0\njdk_required=Yes\n"
                                      "startup_check_seconds=-0\n")
    assert result.returncode == 0, result.stderr
    assert string_table(read_resources(out.read_bytes())[0]) == {101: "app.jar", 104: "8", 105: "on", 107: "1.8",
                                                                 109: "-0"}


def test_png_and_high_dpi_splash_pictures_are_stored_as_they_are(tmp_path):
    normal, large = tmp_path / "splash.png", tmp_path / "splash@2x.png"
    Image.new("RGBA", (60, 40), (200, 60, 20, 128)).save(normal)
    Image.new("RGBA", (120, 80), (200, 60, 20, 128)).save(large)
    result, out = configure(tmp_path, {"jar": "app.jar", "splash": "on"}, splash=normal, extra=("--splash-2x", str(large)))
    assert result.returncode == 0, result.stderr
    resources, _, _ = read_resources(out.read_bytes())
    assert resources[(2, 104, 0)] == normal.read_bytes() and resources[(2, 105, 0)] == large.read_bytes()
    # Configured again without one, the old high-DPI picture goes.
    result, again = configure(tmp_path, {"jar": "app.jar"}, launcher=out, out=tmp_path / "again.exe")
    assert result.returncode == 0, result.stderr
    assert (2, 105, 0) not in read_resources(again.read_bytes())[0]
    settings = tmp_path / "app.settings"
    settings.write_text("jar=app.jar\n")
    made = subprocess.run([str(ROOT / "tools" / "make-launcher"), "--settings", str(settings), "--splash", str(normal),
                           "--splash-2x", str(large), "--out", str(tmp_path / "made.exe")], capture_output=True, text=True)
    assert made.returncode == 0, made.stderr
    assert read_resources((tmp_path / "made.exe").read_bytes())[0][(2, 105, 0)] == large.read_bytes()


def test_no_input_is_overwritten_and_no_file_is_read_without_bound(tmp_path):
    icon = tmp_path / "app.ico"
    Image.new("RGBA", (32, 32), (0, 120, 60, 255)).save(icon, sizes=[(32, 32)])
    before = icon.read_bytes()
    result, _ = configure(tmp_path, "jar=app.jar\nicon=app.ico\n", out=icon)
    assert result.returncode == 1 and "the output is the icon file" in result.stderr
    assert icon.read_bytes() == before
    os.mkfifo(tmp_path / "fifo")
    for settings, extra in (("jar=app.jar\nicon=fifo\n", ()),
                            ("jar=app.jar\nsplash=on\n", ("--splash", str(tmp_path / "fifo")))):
        result, out = configure(tmp_path, settings, extra=extra)  # would wait for a writer for ever
        refused(result, out, "is not a regular file")


def test_a_failed_write_leaves_no_partial_file(tmp_path):
    settings = tmp_path / "app.settings"
    settings.write_text("jar=app.jar\n")
    out = tmp_path / "app.exe"

    def small_files():  # writes past 64 KiB fail as on a full disk
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (64 << 10, 64 << 10))

    result = subprocess.run([str(CONFIGURE), "--launcher", str(BUILD / "x86_64" / "launcher.exe"), "--settings",
                             str(settings), "--out", str(out)], capture_output=True, text=True, preexec_fn=small_files)
    refused(result, out, "cannot write the configured launcher beside it")


def make_certificate(directory):
    """A throw-away self-signed code-signing certificate and its key."""
    key, certificate = directory / "key.pem", directory / "cert.pem"
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", str(key), "-out",
                    str(certificate), "-subj", "/CN=Throw-away test signer", "-days", "2",
                    "-addext", "extendedKeyUsage=codeSigning"], check=True, capture_output=True)
    return key, certificate


def sign(unsigned, signed, key, certificate):
    result = subprocess.run(["osslsigncode", "sign", "-certs", str(certificate), "-key", str(key), "-n", "App",
                             "-in", str(unsigned), "-out", str(signed)], capture_output=True, text=True)
    assert result.returncode == 0, result.stdout + result.stderr
    assert "Warning" not in result.stdout + result.stderr
    verified = subprocess.run(["osslsigncode", "verify", "-CAfile", str(certificate), "-in", str(signed)],
                              capture_output=True, text=True)
    assert verified.returncode == 0 and "Signature verification: ok" in verified.stdout, verified.stdout


def test_configured_launchers_sign_verify_and_still_start(scenario):
    key, certificate = make_certificate(scenario.dir)
    # An unsigned input whose certificate entry is stale: the tool clears it.
    stale = bytearray((BUILD / "x86_64" / "launcher.exe").read_bytes())
    entry = struct.unpack_from("<I", stale, 0x3C)[0] + 24 + 112 + 4 * 8
    struct.pack_into("<II", stale, entry, len(stale) + 0x1000, 0x100)
    (scenario.dir / "stale.exe").write_bytes(bytes(stale))
    app_dir = scenario.dir / "app"
    app_dir.mkdir()
    result, configured = configure(scenario.dir, CASES["plain"], launcher=scenario.dir / "stale.exe",
                                   out=scenario.dir / "configured.exe")
    assert result.returncode == 0, result.stderr
    assert struct.unpack_from("<II", configured.read_bytes(), entry) == (0, 0)
    sign(configured, app_dir / "app.exe", key, certificate)
    made = scenario.launcher(CASES["plain"], where="made")
    sign(made, scenario.dir / "made" / "signed.exe", key, certificate)
    scenario.java_home(app_dir / "jre")
    run = scenario.run(app_dir / "app.exe")
    assert [r["cmdline"] for r in run.app_starts] == [f'"{w(app_dir)}\\jre\\bin\\javaw.exe"  -jar app.jar']
    again, out = configure(scenario.dir, CASES["plain"], launcher=app_dir / "app.exe", out=scenario.dir / "again.exe")
    refused(again, out, "the executable is signed; configure it first and sign the result")


def test_running_out_of_memory_is_a_refusal(tmp_path):
    width, height = 2000, 1875  # a 15 MB splash picture, copied a few times on its way
    picture = tmp_path / "large.bmp"
    picture.write_bytes(b"BM" + struct.pack("<IHHI", 54 + width * height * 4, 0, 0, 54)
                        + struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, 0, 0, 0, 0, 0)
                        + bytes(width * height * 4))
    settings = tmp_path / "app.settings"
    settings.write_text("jar=app.jar\nsplash=on\n")
    out = tmp_path / "app.exe"
    limit = lambda: resource.setrlimit(resource.RLIMIT_AS, (60 << 20, 60 << 20))  # noqa: E731
    result = subprocess.run([str(CONFIGURE), "--launcher", str(BUILD / "x86_64" / "launcher.exe"), "--settings",
                             str(settings), "--splash", str(picture), "--out", str(out)], capture_output=True,
                            text=True, preexec_fn=limit)
    refused(result, out, "not enough memory to configure the launcher; nothing was written")


@pytest.mark.parametrize("text", ["jar=app.jar\rconsole=on\r", "\ufeffconsole=on\njar=app.jar\n"])
def test_make_launcher_reads_the_console_setting_as_the_tool_does(tmp_path, text):
    settings = tmp_path / "app.settings"
    settings.write_bytes(text.encode("utf-8"))
    made = subprocess.run([str(ROOT / "tools" / "make-launcher"), "--settings", str(settings), "--out",
                           str(tmp_path / "made.exe")], capture_output=True, text=True)
    assert made.returncode == 0, made.stderr
    result, configured = configure(tmp_path, text)
    assert result.returncode == 0, result.stderr
    subsystem = lambda data: struct.unpack_from("<H", data, struct.unpack_from("<I", data, 0x3C)[0] + 24 + 68)[0]  # noqa: E731
    assert subsystem((tmp_path / "made.exe").read_bytes()) == subsystem(configured.read_bytes()) == 3


def test_windows_tool_refuses_a_device_as_input_at_once(tmp_path, wine_session):
    settings = tmp_path / "app.settings"
    settings.write_text("jar=app.jar\nsplash=on\n")
    out = tmp_path / "app.exe"
    # NUL opens as a character device; CON (with no console under the test) does not open at all.
    for device, message in (("NUL", b"NUL: the splash picture is not a regular file"),
                            ("CON", b"CON: cannot read the splash picture")):
        result = wine_session.wine([str(BUILD / "x86_64" / "launcher-configure.exe"), "--launcher",
                                    w(BUILD / "x86_64" / "launcher.exe"), "--settings", w(settings),
                                    "--splash", device, "--out", w(out)], timeout=60)
        assert result.returncode == 1
        assert message in result.stderr
        assert not out.exists()
