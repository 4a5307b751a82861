"""The startup cache on real runtimes (not a test): the time from a runtime's start to the first
window of a small Swing application (bench/startup-window: a label, a text field, a button and a
table), under Xvfb, started with exactly the options the launcher chooses for the runtime's
version (printed by build/host/cache_options from the launcher's own rules) against the same
start without them.

For each runtime: one start without options to warm the system's file cache, then the first
start with the cache options (it makes the cache; not counted), then ROUNDS interleaved rounds of
a start without and a start with them. Prints the medians, the median of the per-round ratios
with its middle half, and the cache's size.
Targets: Java 25 at most 0.7, Java 17 at most 0.85 (ratio with / without).

    python3 bench/startup_cache.py            (BENCHMARK_ROUNDS=N for more than 9 rounds)
"""
import os
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
BUILD = Path(os.environ.get("BUILD_DIR", ROOT / "build"))
CACHE_OPTIONS = BUILD / "host" / "cache_options"
ROUNDS = int(os.environ.get("BENCHMARK_ROUNDS", "9"))
DISPLAY = os.environ.get("BENCHMARK_DISPLAY", ":571")
JDKS = [("/usr/lib/jvm/temurin-25-jdk-amd64", 25, 0.7), ("/usr/lib/jvm/java-17-openjdk-amd64", 17, 0.85)]


def build_application(work):
    javac = next(Path(home) / "bin" / "javac" for home, _, _ in JDKS if (Path(home) / "bin" / "javac").exists())
    classes = work / "classes"
    subprocess.run([str(javac), "--release", "11", "-d", str(classes),
                    str(ROOT / "bench" / "startup-window" / "StartupWindow.java")], check=True)
    (work / "manifest.txt").write_text("Main-Class: StartupWindow\n")
    jar = work / "startup-window.jar"
    subprocess.run([str(javac.parent / "jar"), "cfm", str(jar), str(work / "manifest.txt"), "-C", str(classes), "."],
                   check=True)
    return jar


def launcher_options(version, folder, jar, java):
    lines = subprocess.run([str(CACHE_OPTIONS), str(version), str(folder), str(jar), str(java)], check=True,
                           capture_output=True, text=True).stdout.split("\n")
    return Path(lines[0]), shlex.split(lines[1]), shlex.split(lines[2])


def time_to_window(java, options, jar, env):
    """Milliseconds from the start to the window's windowOpened, and the whole run's."""
    started = time.time() * 1000
    result = subprocess.run([str(java), *options, "-jar", str(jar)], env=env, capture_output=True, text=True,
                            timeout=120)
    ended = time.time() * 1000
    opened = [line for line in result.stdout.splitlines() if line.startswith("opened ")]
    if result.returncode != 0 or not opened:
        raise RuntimeError(f"{java} {options}: status {result.returncode}\n{result.stdout}\n{result.stderr}")
    return int(opened[0].split()[1]) - started, ended - started


def spread(values):
    quartiles = statistics.quantiles(values, n=4)
    return f"{statistics.median(values):.2f} (middle half {quartiles[0]:.2f} to {quartiles[2]:.2f})"


def measure(home, version, target, jar, work, env):
    java = Path(home) / "bin" / "java"
    folder = work / f"cache-{version}"
    folder.mkdir()
    cache, first, later = launcher_options(version, folder, jar, java)
    time_to_window(java, [], jar, env)
    _, training = time_to_window(java, first, jar, env)
    if not cache.exists():
        raise RuntimeError(f"Java {version}: the first start with {first} left no cache")
    plain, cached = [], []
    for _ in range(ROUNDS):
        plain.append(time_to_window(java, [], jar, env)[0])
        cached.append(time_to_window(java, later, jar, env)[0])
    ratios = [c / p for c, p in zip(cached, plain)]
    print(f"Java {version}: first start {' '.join(first)}, later starts {' '.join(later)}")
    print(f"  first start (makes the cache, until the runtime has ended): {training:.0f} ms")
    print(f"  to the first window: without {statistics.median(plain):.0f} ms, with the cache "
          f"{statistics.median(cached):.0f} ms; ratio per round {spread(ratios)} (target <= {target})")
    print(f"  cache {cache.name}: {cache.stat().st_size / 1e6:.1f} MB")
    return statistics.median(ratios) <= target


def main():
    if not CACHE_OPTIONS.exists():
        sys.exit(f"{CACHE_OPTIONS} is missing: build build/host first")
    work = Path(tempfile.mkdtemp(prefix="startup-cache-bench-"))
    xvfb = subprocess.Popen(["Xvfb", DISPLAY, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(1)
        env = {k: v for k, v in os.environ.items() if k not in ("JAVA_TOOL_OPTIONS", "JDK_JAVA_OPTIONS", "_JAVA_OPTIONS")}
        env["DISPLAY"] = DISPLAY
        jar = build_application(work)
        print(f"{ROUNDS} rounds, without then with the cache, after one start that makes it")
        met = [measure(home, version, target, jar, work, env) for home, version, target in JDKS if Path(home).exists()]
        print("targets met" if met and all(met) else "targets NOT met")
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
