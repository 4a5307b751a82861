#!/usr/bin/env python3
"""Fails when the launcher or the configuration tool calls an ANSI (...A) system function or a
narrow C runtime file function: those turn paths and user text into the ANSI code page and lose
every character it lacks. Text is UTF-8 inside and UTF-16 at the system's calls.
"""
import re
import sys

from source_checks import run_check, source_lines

SHIPPED = ["base", "trace", "process", "jvm", "ui", "launcher", "configure"]

# A system function in its ANSI form: CreateProcessA(, MessageBoxA(, ...
ANSI_CALL = re.compile(r"\b([A-Z][A-Za-z0-9]*[a-z0-9]A)\s*\(")
# Narrow file functions of the C runtime and streams opened by narrow name.
NARROW_CALL = re.compile(r"(?<![\w:.>])(?:std::)?(fopen|freopen|_open|_stat|_chdir|_mkdir|_access|_unlink)\s*\("
                         r"|\bstd::(remove|rename)\s*\(|std::[io]?fstream\s+\w+\((?!pathOf\()")

# The few that take no path or user text.
ALLOWED = {"GetProcAddress"}


def violations(root):
    for folder in SHIPPED:
        for path, number, line in source_lines(root, folder):
            code = line.split("//")[0]
            for match in ANSI_CALL.finditer(code):
                if match.group(1) not in ALLOWED:
                    yield f"{path}:{number}: {match.group(1)} is the ANSI form; call the wide one"
            for match in NARROW_CALL.finditer(code):
                yield (f"{path}:{number}: {match.group(0).strip()} takes a narrow path; use the "
                       f"wide call (or a std::filesystem path from pathOf)")


if __name__ == "__main__":
    sys.exit(run_check(violations, "wide calls: {count} narrow call(s)", "wide calls: no ANSI or narrow file call"))
