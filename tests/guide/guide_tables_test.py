#!/usr/bin/env python3
"""The guide's tables name every problem tag that `maclist check` reports and every state that
`maclist status` shows, as the code spells them: a tag or state added to maclist without its row
in docs/使用说明.md fails here. Ends "PASS guide tables"."""
import re
import sys
from pathlib import Path

root = Path(__file__).resolve().parents[2]
guide = (root / "docs/使用说明.md").read_text(encoding="utf-8")
# The first cell of every table row, when it is `code`.
rows = set(re.findall(r"^\| `([^`]+)` \|", guide, re.M))

check = (root / "tools/maclist/list_check.cpp").read_text(encoding="utf-8")
# Add(where, "tag", text): "where" may call a function with a quoted argument.
tags = set(re.findall(r'\bAdd\((?:[^;"()]|\([^()]*\))*,\s*"([a-z]+(?:-[a-z]+)+)"', check))
status = (root / "tools/maclist/status_command.cpp").read_text(encoding="utf-8")
states = set(re.findall(r'case MachineState::\w+:\s*return "([a-z ]+)";', status))

failures = []
# Fewer would mean the patterns no longer find what maclist reports.
if len(tags) < 20:
    failures.append(f"only {len(tags)} problem tags found in list_check.cpp: {sorted(tags)}")
if len(states) < 5:
    failures.append(f"only {len(states)} states found in status_command.cpp: {sorted(states)}")
for tag in sorted(tags - rows):
    failures.append(f"the guide's table of maclist check has no row for {tag}")
for state in sorted(states - rows):
    failures.append(f"the guide's table of maclist status has no row for {state}")
for failure in failures:
    print("FAIL", failure)
if failures:
    sys.exit(1)
print(f"{len(tags)} tags, {len(states)} states")
print("PASS guide tables")
