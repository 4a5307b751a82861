"""startup_cache: a cache per user, runtime and application version in the user's local
application data, made by the first start and used by later ones."""
import os

import pytest

from wine_session import windows_path as w

RELEASES = {"11": "11.0.25", "17": "17.0.15", "21": "21.0.5", "25": "25.0.3"}


def cached_app(scenario, banner="25", settings=None, **double):
    """A stay-alive launcher with startup_cache, its jar and a bundled runtime of that version;
    returns the launcher, the environment of its runs and the cache folder (on this side)."""
    config = {"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "stay_alive": "on", "startup_cache": "on"}
    config.update(settings or {})
    app = scenario.launcher(config)
    (app.parent / "app.jar").write_bytes(b"PK\x03\x04 the application")
    home = scenario.java_home(app.parent / "jre", banner=banner, **double)
    (home / "release").write_text(f'JAVA_VERSION="{RELEASES[banner]}"\n')
    local = scenario.dir / "local"
    local.mkdir(exist_ok=True)
    env = {"LOCALAPPDATA": w(local)}
    return app, env, local / "Java Application" / "startup-cache"


def cache_lines(run):
    return [t for t in run.traces if t.startswith("Startup cache: ")]


def caches(folder):
    return sorted(p.name for p in folder.iterdir()) if folder.exists() else []


def started(run):
    assert len(run.app_starts) == 1, run.traces
    return run.app_starts[0]


@pytest.mark.parametrize("banner, first, later, kind", [
    ("17", "-XX:ArchiveClassesAtExit=", "-XX:SharedArchiveFile=", "class-data archive written at exit"),
    ("21", "-XX:+AutoCreateSharedArchive -XX:SharedArchiveFile=", "-XX:+AutoCreateSharedArchive -XX:SharedArchiveFile=",
     "dynamic class-data archive"),
    ("25", "-XX:AOTCacheOutput=", "-XX:AOTCache=", "ahead-of-time cache"),
])
def test_the_first_start_makes_the_cache_and_a_later_one_uses_it(scenario, banner, first, later, kind):
    app, env, folder = cached_app(scenario, banner)
    java = w(app.parent) + r"\jre\bin\javaw.exe"

    run = scenario.run(app, env=env)
    assert run.exit_code == 0
    [name] = caches(folder)
    assert name.endswith(".aot" if banner == "25" else ".jsa")
    path = w(folder / name)
    # The options go first, one argument each (the folder has a blank), the path in quotes.
    options = " ".join(f'"{part}{path}"' if part.endswith("=") else part for part in first.split())
    assert started(run)["cmdline"] == f'"{java}" {options}  -jar app.jar'
    assert started(run)["version"] == banner
    assert started(run)["cache-written"] == path
    use = "made by this start at its exit" if banner != "21" else "made or brought up to date at exit"
    assert cache_lines(run) == [f"Startup cache: Java {banner}, {kind}, {use}: {options}"]

    run = scenario.run(app, env=env)
    options = " ".join(f'"{part}{path}"' if part.endswith("=") else part for part in later.split())
    assert started(run)["cmdline"] == f'"{java}" {options}  -jar app.jar'
    assert started(run)["cache-used"] == path
    assert "cache-written" not in started(run)
    use = "in use" if banner != "21" else "made or brought up to date at exit"
    assert cache_lines(run) == [f"Startup cache: Java {banner}, {kind}, {use}: {options}"]
    assert caches(folder) == [name] and run.exit_code == 0


def test_a_runtime_older_than_13_gets_no_cache(scenario):
    app, env, folder = cached_app(scenario, "11")
    java = w(app.parent) + r"\jre\bin\javaw.exe"
    for _ in range(2):
        run = scenario.run(app, env=env)
        assert started(run)["cmdline"] == f'"{java}"  -jar app.jar' and started(run)["version"] == "11"
        assert cache_lines(run) == ["Startup cache: none for Java 11 (it needs Java 13 or later)"]
        assert run.exit_code == 0
    assert caches(folder) == []


def test_a_changed_jar_or_runtime_makes_a_new_cache_and_the_old_one_goes(scenario):
    app, env, folder = cached_app(scenario, "17")
    scenario.run(app, env=env)
    [original] = caches(folder)

    jar = app.parent / "app.jar"
    jar.write_bytes(jar.read_bytes() + b" version 2")
    run = scenario.run(app, env=env)
    [after_jar] = caches(folder)
    assert after_jar != original and after_jar.split("-")[:2] == original.split("-")[:2]
    assert f"Startup cache: removed the outdated {original}" in cache_lines(run)
    assert "-XX:ArchiveClassesAtExit=" in started(run)["cmdline"]  # made anew

    release = app.parent / "jre" / "release"
    release.write_text('JAVA_VERSION="17.0.16"\n')
    os.utime(release, (1_800_000_000, 1_800_000_000))
    run = scenario.run(app, env=env)
    [after_runtime] = caches(folder)
    assert after_runtime not in (original, after_jar)
    assert f"Startup cache: removed the outdated {after_jar}" in cache_lines(run)

    # A cache of another runtime for this build of the application stays beside it.
    other = after_runtime.split("-")
    other[1], other[2] = "0badcafe", "00000000"
    (folder / "-".join(other)).write_bytes(b"\xa8\xab\x0b\xf0")
    run = scenario.run(app, env=env)
    assert caches(folder) == sorted([after_runtime, "-".join(other)])
    assert started(run)["cache-used"] == w(folder / after_runtime)


def test_a_file_that_is_no_cache_is_made_again(scenario):
    app, env, folder = cached_app(scenario, "21")
    scenario.run(app, env=env)
    [name] = caches(folder)
    (folder / name).chmod(0o644)
    (folder / name).write_bytes(b"\0" * 5000)  # a run cut short while it wrote
    run = scenario.run(app, env=env)
    assert f"Startup cache: {name} is no cache the runtime can use: it is made again" in cache_lines(run)
    assert started(run)["cache-written"] == w(folder / name)
    assert (folder / name).read_bytes()[:4] == b"\xa8\xab\x0b\xf0"


@pytest.mark.parametrize("blocked", ["file in the way", "no such drive"])
def test_a_folder_that_cannot_be_written_still_starts_the_application(scenario, blocked):
    # Java 17 would end with 1 at exit had it been given a file it cannot write.
    app, env, folder = cached_app(scenario, "17")
    java = w(app.parent) + r"\jre\bin\javaw.exe"
    if blocked == "file in the way":
        folder.parent.mkdir(parents=True)
        folder.write_text("not a folder")
        reason = f"Startup cache: none, cannot write in {w(folder)} ("
    else:
        env["LOCALAPPDATA"] = r"Q:\nowhere"
        reason = r"Startup cache: none, cannot create Q:"
    for _ in range(2):  # and the next start tries again
        run = scenario.run(app, env=env)
        assert started(run)["cmdline"] == f'"{java}"  -jar app.jar'
        [line] = cache_lines(run)
        assert line.startswith(reason), line
        assert run.exit_code == 0


@pytest.mark.parametrize("vm_options, tool_options, own", [
    ("-Xshare:off", None, "-Xshare:off"),
    ('"-XX:SharedArchiveFile=C:\\my caches\\app.jsa" -Xmx64m', None, "-XX:SharedArchiveFile=C:\\my"),
    ("-Xmx64m", "-XX:AOTCache=Z:\\tmp\\x.aot", "-XX:AOTCache=Z:\\tmp\\x.aot in JAVA_TOOL_OPTIONS"),
])
def test_options_that_choose_their_own_cache_are_left_alone(scenario, vm_options, tool_options, own):
    app, env, folder = cached_app(scenario, "25", settings={"vm_options": vm_options})
    if tool_options:
        env["JAVA_TOOL_OPTIONS"] = tool_options
    run = scenario.run(app, env=env)
    java = w(app.parent) + r"\jre\bin\javaw.exe"
    assert started(run)["cmdline"] == f'"{java}" {vm_options} -jar app.jar'
    assert cache_lines(run) == [f"Startup cache: none, the application's options choose their own ({own})"]
    assert caches(folder) == []


def test_the_variable_turns_it_off_for_one_start_and_the_setting_off_leaves_no_trace(scenario):
    app, env, folder = cached_app(scenario, "25")
    run = scenario.run(app, env={**env, "LAUNCHER_STARTUP_CACHE": "off"})
    assert "-XX:AOT" not in started(run)["cmdline"]
    assert cache_lines(run) == ["Startup cache: off for this start (LAUNCHER_STARTUP_CACHE=off)"]
    assert caches(folder) == []
    run = scenario.run(app, env=env)
    assert "-XX:AOTCacheOutput=" in started(run)["cmdline"]

    app, env, folder = cached_app(scenario, "25", settings={"startup_cache": ""})
    run = scenario.run(app, env=env)
    assert "-XX:" not in started(run)["cmdline"] and cache_lines(run) == []


def test_a_restart_uses_the_cache_its_first_run_made_the_report_and_the_trace_file_show_the_options(scenario):
    app, env, folder = cached_app(scenario, "25", settings={"restart_on_exit": "3"}, exit_codes="3,0")
    run = scenario.run(app, env=env)
    assert ["-XX:AOTCacheOutput=" in r["cmdline"] for r in run.app_starts] == [True, False]
    assert "-XX:AOTCache=" in run.app_starts[1]["cmdline"] and run.exit_code == 0

    # A failed start's report carries the command line with the options used.
    app, env, folder = cached_app(scenario, "17", settings={"stay_alive": ""}, launch_error="vm")
    run = scenario.run(app, env=env, report_actions=["close"])
    [report] = run.reports
    assert "-XX:ArchiveClassesAtExit=" in started(run)["cmdline"]
    assert started(run)["cmdline"] in report["text"]

    # With -d the trace file holds the choice.
    started_in = scenario.dir / "start"
    started_in.mkdir()
    app, env, folder = cached_app(scenario, "21")
    run = scenario.run(app, args=["-d"], env=env, cwd=started_in)
    lines = cache_lines(run)
    assert lines[-1].startswith("Startup cache: Java 21, dynamic class-data archive, ")
    written = (started_in / "launcher-trace.txt").read_bytes()[3:].decode("utf-8").splitlines()
    assert [t for t in written if t.startswith("Startup cache: ")] == lines
    assert run.exit_code == 0


def test_the_console_runtime_of_the_same_home_uses_the_same_cache(scenario):
    app, env, folder = cached_app(scenario, "17")
    scenario.run(app, env=env)
    [name] = caches(folder)
    run = scenario.run(app, args=["-c"], env=env)
    assert started(run)["exe"].endswith("\\java.exe")
    assert started(run)["cache-used"] == w(folder / name) and caches(folder) == [name]


def test_options_that_would_make_the_command_line_too_long_are_left_out(scenario):
    # A command line 40 characters short of the limit: the cache's options (its path alone is
    # longer) would make it too long, so the start goes without them instead of failing.
    app, env, folder = cached_app(scenario, "17", settings={"vm_options": "-Dpad=x"})
    plain = scenario.run(app, env={**env, "LAUNCHER_STARTUP_CACHE": "off"})
    padding = 32767 - 40 - len(started(plain)["cmdline"])
    app, env, folder = cached_app(scenario, "17", settings={"vm_options": "-Dpad=x" + "x" * padding})
    run = scenario.run(app, env=env)
    assert run.exit_code == 0
    assert len(started(run)["cmdline"]) == 32767 - 40
    assert "-XX:" not in started(run)["cmdline"]
    assert "Startup cache: not used, its options would make the command line too long" in run.traces
    assert caches(folder) == []
