"""A short demonstration: the example launcher starts a (test-double) Java runtime under Wine."""
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))

from scenario import Scenario  # noqa: E402
from wine_session import WineSession  # noqa: E402


def main():
    print("Starting a throw-away Wine prefix and X display...")
    session = WineSession().start()
    try:
        scenario = Scenario(session, Path(tempfile.mkdtemp(dir=session.base)))
        app = scenario.launcher(None, name="Quillfen.exe")
        scenario.java_home(app.parent / "jre", run_ms=1500, exit_code=0,
                           output="Quillfen 1.0 started\\r\\n")
        (app.parent / "quillfen.jar").write_text("(the application's jar)")
        print(f"Launcher: {app}")
        print("Runtime:  jre\\bin\\javaw.exe beside it (the test double)\n")
        run = scenario.run(app)
        print("Trace (one debugger string per line):")
        for line in run.traces:
            print("  " + line.rstrip("\r\n").replace("\r\n", "\n  "))
        print(f"\nJava was started as: {run.app_starts[0]['cmdline']}")
        print(f"Launcher exit code: {run.exit_code} (it stayed until the application ended)")
    finally:
        session.stop()


if __name__ == "__main__":
    main()
