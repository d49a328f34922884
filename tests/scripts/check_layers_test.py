#!/usr/bin/env python3
"""Runs scripts/check-layers.py on small trees with a known layer table."""

import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "check-layers.py"

README = """# Project

## Layout

| folder | what it holds | may use |
|---|---|---|
| `platform/` | the bottom | – |
| `gen4/` | the model | platform |
| `cli/` | the tool | gen4, platform |
| `app/`, `ui/` | the program | everything |

## After the table

| `sim/` | not a layer row: outside "Layout" | – |
"""


def check(files):
    """Runs the script on a tree of README plus `files`; returns (status, stderr)."""
    with tempfile.TemporaryDirectory() as tmp:
        root = pathlib.Path(tmp)
        (root / "README.md").write_text(README, encoding="utf-8")
        for name, text in files.items():
            (root / name).parent.mkdir(parents=True, exist_ok=True)
            (root / name).write_text(text, encoding="utf-8")
        run = subprocess.run([sys.executable, str(SCRIPT), str(root)],
                             capture_output=True, text=True)
        return run.returncode, run.stderr


class CheckLayersTest(unittest.TestCase):
    def test_allowed_arrows_pass(self):
        status, err = check({
            "platform/A.h": "#include <vector>\n#include \"platform/B.h\"\n",
            "gen4/engines/E.cpp": "#include \"gen4/G.h\"\n#include \"platform/A.h\"\n",
            "cli/C.cpp": "#include \"gen4/G.h\"\n",
            "ui/W.cpp": "#include \"app/M.h\"\n#include \"cli/C.h\"\n",
            "app/M.cpp": "#include \"ui/W.h\"\n#include <QWidget>\n",
            "Local.h": "#include \"gen4/G.h\"\n",
        })
        self.assertEqual((status, err), (0, ""))

    def test_wrong_arrows_fail_with_file_and_line(self):
        cases = [
            ("gen4/engines/E.cpp", "#include \"platform/A.h\"\n#include \"ui/W.h\"\n",
             "gen4/engines/E.cpp:2: gen4/ may not include \"ui/W.h\""),
            ("platform/A.cpp", "  #  include \"gen4/G.h\"\n",
             "platform/A.cpp:1: platform/ may not include \"gen4/G.h\""),
            ("cli/C.h", "#include \"app/M.h\"\n", "cli/C.h:1: cli/ may not include"),
            ("sim/S.cpp", "#include \"platform/A.h\"\n",
             "sim/S.cpp: folder sim/ is not in the README's layer table"),
        ]
        for name, text, message in cases:
            with self.subTest(name=name):
                status, err = check({name: text})
                self.assertEqual(status, 1)
                self.assertIn(message, err)

    def test_missing_table_fails(self):
        with tempfile.TemporaryDirectory() as tmp:
            (pathlib.Path(tmp) / "README.md").write_text("# Nothing\n", encoding="utf-8")
            run = subprocess.run([sys.executable, str(SCRIPT), tmp], capture_output=True,
                                 text=True)
        self.assertEqual(run.returncode, 1)


if __name__ == "__main__":
    unittest.main()
