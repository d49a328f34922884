#!/usr/bin/env python3
"""Checks that every #include follows the layer table of README.md.

Usage: check-layers.py [ROOT]   (default: the repository holding this script)

The table under "## Layout" names each folder in backticks, and its last column
says what the folder may use: "–" (nothing else), "everything", or a list of
folders. A file may include from its own folder, from the folders its row
allows, and anything that is not a project folder (system and library
headers). Folders that share a row (`app/`, `ui/`) may use each other. A C++
file in a folder the table does not name fails too, so a new folder cannot
slip past the table. Prints every wrong arrow and exits 1 when there is one.
"""

import pathlib
import re
import subprocess
import sys

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def read_layer_table(readme):
    """Returns {folder: set of allowed folders, or None for everything}."""
    rows = {}
    in_layout = False
    for line in readme.read_text(encoding="utf-8").splitlines():
        if line.startswith("## "):
            in_layout = line.strip() == "## Layout"
            continue
        if not in_layout or not line.startswith("|"):
            continue
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        folders = re.findall(r"`([\w.-]+)/`", cells[0])
        if not folders:
            continue  # the header and the separator line
        uses = cells[-1]
        if uses.lower() == "everything":
            allowed = None
        else:
            named = {w for w in re.split(r"[,\s]+", uses.replace("`", "").replace("/", ""))
                     if re.fullmatch(r"[\w.-]+", w)}
            allowed = named | set(folders)
        for folder in folders:
            rows[folder] = allowed
    return rows


def source_files(root):
    """The tracked C++ files, or every one under root outside a git checkout."""
    try:
        listed = subprocess.run(["git", "-C", str(root), "ls-files"], check=True,
                                capture_output=True, text=True).stdout.splitlines()
        files = [root / name for name in listed]
    except (OSError, subprocess.CalledProcessError):
        files = [p for p in root.rglob("*") if "build" not in p.relative_to(root).parts[:1]]
    return sorted(p for p in files if p.suffix in SOURCE_SUFFIXES and p.is_file())


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else __file__).resolve()
    if len(sys.argv) <= 1:
        root = root.parent.parent
    table = read_layer_table(root / "README.md")
    if not table:
        print("check-layers: no layer table under '## Layout' in README.md", file=sys.stderr)
        return 1
    errors = []
    for path in source_files(root):
        rel = path.relative_to(root)
        if len(rel.parts) < 2:
            continue
        folder = rel.parts[0]
        if folder not in table:
            errors.append(f"{rel}: folder {folder}/ is not in the README's layer table")
            continue
        allowed = table[folder]
        if allowed is None:
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            target = match.group(1).split("/")[0]
            if "/" in match.group(1) and target in table and target not in allowed:
                line = text.count("\n", 0, match.start()) + 1
                errors.append(f"{rel}:{line}: {folder}/ may not include \"{match.group(1)}\"")
    for error in errors:
        print(error, file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
