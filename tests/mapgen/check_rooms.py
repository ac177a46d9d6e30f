#!/usr/bin/env python3
"""Fails when a file of the core names an include by a path ("../BuildMap.h",
"page/PageFormat.h"): each room sees headers only through the include
folders of the rooms it depends on, which is what keeps every arrow
pointing down, and a path would step around them."""
import pathlib
import re
import sys

core = pathlib.Path(sys.argv[1])
include = re.compile(r'^\s*#\s*include\s*"([^"]*)"', re.MULTILINE)
wrong = [f"{path}: #include \"{name}\""
         for path in sorted(core.rglob("*"))
         if path.suffix in (".h", ".cpp", ".in")
         for name in include.findall(path.read_text(errors="replace"))
         if "/" in name]
print("\n".join(wrong) or "Every include of the core names a header alone.")
sys.exit(1 if wrong else 0)
