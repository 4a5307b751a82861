"""What the source checks share: the C++ files of a folder line by line, and how a check reports."""
import sys
from pathlib import Path


def source_lines(root, folder):
    """(path relative to root, line number, line) of every .h and .cpp file below root/folder."""
    for path in sorted((root / folder).rglob("*")):
        if path.suffix in (".h", ".cpp"):
            for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
                yield path.relative_to(root), number, line


def run_check(violations, summary_when_found, summary_when_clean):
    """Prints every violation below the repository (or the folder given) and a summary; the exit code."""
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[1]
    found = list(violations(root))
    for message in found:
        print(message)
    print(summary_when_found.format(count=len(found)) if found else summary_when_clean)
    return 1 if found else 0
