#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer it must not know.

The launcher's parts point down only: launcher/ on top, then ui/, jvm/, process/, trace/, and
base/ at the bottom. The configuration tool uses base/ alone. Test-only programs and the benchmark
may use everything, and nothing shipped may use them.
"""
import re
import sys
from pathlib import Path

# Which folders the files of a folder may include from (besides their own folder).
LAYERS = {
    "base": set(),
    "trace": {"base"},
    "process": {"base", "trace"},
    "jvm": {"base", "trace", "process"},
    "ui": {"base", "trace"},
    "launcher": {"base", "trace", "process", "jvm", "ui"},
    "configure": {"base"},
    "tests": {"base", "trace", "process", "jvm", "ui", "launcher", "configure"},
    "bench": {"base", "trace", "process", "jvm", "ui", "launcher", "configure", "tests"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def violations(root):
    for folder, allowed in LAYERS.items():
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match or "/" not in match.group(1):
                    continue  # a header beside the file
                target = match.group(1).split("/")[0]
                if target == folder or target in allowed:
                    continue
                may = ", ".join(f"{name}/" for name in sorted(allowed)) or "nothing but itself"
                yield (f"{path.relative_to(root)}:{number}: includes {match.group(1)}, but {folder}/ may use "
                       f"only {may} (the allowed directions are LAYERS in tools/check_layers.py)")


def main():
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[1]
    found = list(violations(root))
    for message in found:
        print(message)
    print(f"layers: {len(found)} include(s) against the layer directions" if found else "layers: every include points down")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
