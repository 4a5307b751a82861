#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer it must not know.

The launcher's parts point down only: launcher/ on top, then ui/, jvm/, process/, trace/, and
base/ at the bottom. settings_contract/ (every setting's key, id and value rule) stands on base/
alone, below both the launcher's parts that read settings (the wait in process/ reads the start
watch's seconds) and the configuration tool, which uses nothing else but base/. Test-only
programs and the benchmark may use everything, and nothing shipped may use them.
"""
import re
import sys

from source_checks import run_check, source_lines

# Which folders the files of a folder may include from (besides their own folder).
LAYERS = {
    "base": set(),
    "settings_contract": {"base"},
    "trace": {"base"},
    "process": {"base", "settings_contract", "trace"},
    "jvm": {"base", "settings_contract", "trace", "process"},
    "ui": {"base", "settings_contract", "trace"},
    "launcher": {"base", "settings_contract", "trace", "process", "jvm", "ui"},
    "configure": {"base", "settings_contract"},
    "tests": {"base", "settings_contract", "trace", "process", "jvm", "ui", "launcher", "configure"},
    "bench": {"base", "settings_contract", "trace", "process", "jvm", "ui", "launcher", "configure", "tests"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def violations(root):
    for folder, allowed in LAYERS.items():
        for path, number, line in source_lines(root, folder):
            match = INCLUDE.match(line)
            if not match or "/" not in match.group(1):
                continue  # a header beside the file
            target = match.group(1).split("/")[0]
            if target == folder or target in allowed:
                continue
            may = ", ".join(f"{name}/" for name in sorted(allowed)) or "nothing but itself"
            yield (f"{path}:{number}: includes {match.group(1)}, but {folder}/ may use "
                   f"only {may} (the allowed directions are LAYERS in tools/check_layers.py)")


if __name__ == "__main__":
    sys.exit(run_check(violations, "layers: {count} include(s) against the layer directions",
                       "layers: every include points down"))
