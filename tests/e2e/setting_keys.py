"""The settings' key table as the launcher's build writes it (launcher-resgen --key-table)."""
from wine_session import BUILD


def parse_key_table(text):
    """One dict a key: key, id (0 for the executable's own keys), kind, least, most, when_absent."""
    lines = text.splitlines()
    header = lines[0].split("\t")
    return [dict(zip(header, line.split("\t"))) for line in lines[1:] if line]


def built_key_table():
    return parse_key_table((BUILD / "host" / "setting-keys.tsv").read_text(encoding="utf-8"))
