"""Stress cases (not tests): 10 MB of application output through -d, and 200 launches in a row.

(1) The application writes 10 MB on its standard output; with -d, log.txt must hold every byte.
(2) 200 launches of a stay-alive launcher, one after the other: afterwards no launcher or runtime
    process may remain, and the Wine server may hold no more open files than before.
"""
import os
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))

from scenario import Scenario  # noqa: E402
from wine_session import BUILD, WineSession, windows_path as w  # noqa: E402

TIMER = BUILD / "x86_64" / "run_timer.exe"


def wineserver_files(session):
    pids = subprocess.run(["pgrep", "-f", "wineserver"], capture_output=True, text=True).stdout.split()
    return sum(len(os.listdir(f"/proc/{pid}/fd")) for pid in pids if os.path.isdir(f"/proc/{pid}/fd"))


def leftover_processes(names):
    listing = subprocess.run(["ps", "-eo", "args"], capture_output=True, text=True).stdout
    return [line for line in listing.splitlines() if any(name in line for name in names)]


def main():
    session = WineSession().start()
    try:
        scenario = Scenario(session, Path(tempfile.mkdtemp(dir=session.base)))
        session.env.pop("DOUBLE_RECORD", None)

        chunk = "".join(chr(33 + i % 58) for i in range(10238)) + "\\r\\n"
        app = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "stay_alive": "on"},
                                name="big.exe", where="big")
        scenario.java_home(app.parent / "jre", output=chunk, output_repeat=1024)
        started = time.monotonic()
        session.wine([str(app), "-d"], cwd=app.parent, timeout=600)
        log = (app.parent / "log.txt").read_bytes()
        expected = ("".join(chr(33 + i % 58) for i in range(10238)) + "\r\n").encode() * 1024
        print(f"(1) 10 MB through -d: log.txt {len(log)} bytes, expected {len(expected)}, "
              f"{'identical' if log == expected else 'DIFFERENT'}, {time.monotonic() - started:.1f} s")

        many = scenario.launcher({"jar": "app.jar", "bundled_java": r"jre\bin\javaw.exe", "stay_alive": "on"},
                                 name="many.exe", where="many")
        scenario.java_home(many.parent / "jre", output="x\\r\\n")
        session.wine([str(many)], timeout=60)
        before = wineserver_files(session)
        session.env["RUN_TIMER_COMMAND_1"] = f'"{w(many)}"'
        started = time.monotonic()
        result = session.wine([str(TIMER), "200"], timeout=1200)
        rounds = result.stdout.decode().count("round")
        time.sleep(2)
        after = wineserver_files(session)
        left = leftover_processes(["many.exe", "javaw.exe"])
        print(f"(2) {rounds} launches in {time.monotonic() - started:.1f} s: {len(left)} launcher or runtime "
              f"processes left, Wine server files {before} before and {after} after")
    finally:
        session.stop()


if __name__ == "__main__":
    main()
