#!/usr/bin/python3
"""The layer check's own test: run on the two trees beside this file.

usage: check_layers_test.py CHECK_LAYERS

good/ keeps the layers in every form of include and must pass with nothing
said. bad/ breaks them once on every line marked "// flagged": the check must
fail and name exactly those lines, each once. Both trees have the same
libraries: a core of two folders, a window toolkit above it, and tests' support
whose program/ folder is a library of its own above the toolkit.
"""

import os
import re
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
LIBRARIES = [
    "scenara_core=core/base,core/rules:",
    "scenara_platform=platform:scenara_core",
    "tests_support=tests/support:scenara_core",
    "tests_program=tests/support/program:tests_support,scenara_platform",
]
PROBLEM = re.compile(r"^(\S+):(\d+): ")


def run_check(tree):
    qt = os.path.join(HERE, "qt")
    command = [sys.executable, CHECK, "includes", os.path.join(HERE, tree),
               os.path.join(qt, "QtWidgets"), os.path.join(qt, "QtNetwork")] + LIBRARIES
    return subprocess.run(command, capture_output=True, text=True)


def marked_lines(tree):
    marked = []
    root = os.path.join(HERE, tree)
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, encoding="utf-8") as text:
                for number, line in enumerate(text, 1):
                    if line.rstrip().endswith("// flagged"):
                        marked.append(f"{os.path.relpath(path, root)}:{number}")
    return sorted(marked)


class CheckLayersTest(unittest.TestCase):
    def test_a_tree_that_keeps_the_layers_passes(self):
        result = run_check("good")
        self.assertEqual(result.stdout, "")
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_every_bad_include_is_flagged_and_nothing_else(self):
        result = run_check("bad")
        self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
        flagged = []
        for line in result.stdout.splitlines():
            match = PROBLEM.match(line)
            self.assertTrue(match, f"a problem without its place: {line}")
            flagged.append(f"{match.group(1)}:{match.group(2)}")
        self.assertEqual(sorted(flagged), marked_lines("bad"), result.stdout)


if __name__ == "__main__":
    CHECK = sys.argv.pop(1)
    unittest.main()
