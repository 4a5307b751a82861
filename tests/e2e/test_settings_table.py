"""The README's tables of settings hold what the settings' key table (the launcher's and the
configuration tool's one definition) says: every key, its string id and what happens without it."""
import re

from setting_keys import built_key_table
from wine_session import ROOT


def readme_table(readme, heading):
    """The rows of the first table whose heading row is `heading`, as lists of cells."""
    lines = readme.splitlines()
    start = lines.index(heading)
    rows = []
    for line in lines[start + 2:]:
        if not line.startswith("|"):
            break
        rows.append([cell.strip() for cell in line.strip("|").split("|")])
    return rows


def plain(cell):
    return cell.replace("`", "")


def test_the_readme_tables_name_every_key_with_its_id_and_default():
    readme = (ROOT / "README.md").read_text(encoding="utf-8")
    table = built_key_table()
    string_keys = [row for row in table if row["id"] != "0"]
    executable_keys = [row for row in table if row["id"] == "0"]

    settings = readme_table(readme, "| Key | String id | What it does | When absent | Example |")
    assert [(plain(r[0]), int(r[1]), plain(r[3])) for r in settings] == [
        (row["key"], int(row["id"]), row["when_absent"]) for row in string_keys]
    # The example of each key is a line of that key.
    assert all(plain(r[4]).startswith(plain(r[0]) + "=") for r in settings)

    described = readme_table(readme, "| Key | What it sets | When absent | Example |")
    assert [(plain(r[0]), plain(r[2])) for r in described] == [
        (row["key"], row["when_absent"]) for row in executable_keys]

    # The Maven plugin's parameters reach every key.
    parameters = readme_table(readme, "| Parameter | Settings key | Default |")
    assert sorted(plain(r[1]) for r in parameters if r[1]) == sorted(row["key"] for row in table)


def test_the_readme_gives_the_bounds_of_every_number():
    readme = " ".join((ROOT / "README.md").read_text(encoding="utf-8").split())
    for row in built_key_table():
        if row["kind"] == "number":
            assert re.search(rf"`{row['key']}`[^.]* from {row['least']} to {row['most']}", readme), row["key"]
