"""The launcher's trace lines as a run should show them, built from the scenario's paths."""
from wine_session import windows_path as w

BANNERS = {
    "1.5": 'java version "1.5.0_06"\r\nJava(TM) 2 Runtime Environment, Standard Edition (build 1.5.0_06-b05)\r\n'
           'Java HotSpot(TM) Client VM (build 1.5.0_06-b05, mixed mode, sharing)\r\n',
    "1.8": 'java version "1.8.0_391"\r\nJava(TM) SE Runtime Environment (build 1.8.0_391-b13)\r\n'
           'Java HotSpot(TM) 64-Bit Server VM (build 25.391-b13, mixed mode)\r\n',
    "17": 'openjdk version "17.0.15" 2025-04-15\r\nOpenJDK Runtime Environment (build 17.0.15+6-Debian-1deb12u1)\r\n'
          'OpenJDK 64-Bit Server VM (build 17.0.15+6-Debian-1deb12u1, mixed mode, sharing)\r\n',
    "25": 'openjdk version "25.0.3" 2026-04-21 LTS\r\nOpenJDK Runtime Environment Temurin-25.0.3+9 (build 25.0.3+9-LTS)\r\n'
          'OpenJDK 64-Bit Server VM Temurin-25.0.3+9 (build 25.0.3+9-LTS, mixed mode, sharing)\r\n',
}

# The installed-runtimes stage where the written search gives up and nothing else is installed.
NOTHING_INSTALLED = ["Search installed runtimes...", "No installed runtime fits"]


def preamble(app, vm_options, jar, working_directory=None):
    """Lines up to the search: VM options file, options, jar, working directory."""
    directory = working_directory or w(app.parent) + "\\"
    return [f"VM options{w(app)}.vmoptions", vm_options, jar, directory]


def probe(home, banner_text):
    """One version probe: its start, the banner as the reader received it, then Info."""
    command = f'"{home}\\bin\\java.exe" -version'
    lines = [f"CreateProcess: {command}"]
    if banner_text:
        lines.append(banner_text)
    return lines + ["Info = ", banner_text]


def start(java, arguments):
    command = f'"{java}" {arguments}'
    return [f"execute: {java} {arguments}", f"Full command line: {command}", f"CreateProcess: {command}"]


def search_section(traces):
    """The lines from the start of the search to the search's answer (inclusive)."""
    first = next(i for i, t in enumerate(traces) if t in ("Search for Jre...", "Search for Jdk only..."))
    end = next((i for i, t in enumerate(traces) if t.startswith("execute: ")), len(traces))
    return traces[first:end]
