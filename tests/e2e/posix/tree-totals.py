#!/usr/bin/env python3
"""Prints "path<TAB>total" for every folder, sorted, from either
  report FILE  the report's lines ('  name    (N bytes)', two blanks a level), or
  json FILE    a scan in ncdu's JSON export format, each folder's total the sum of
               every "asize" in and below it (the folder's own included), as ncdu
               adds them up.
Names are handled as bytes, so that any name compares exactly."""
import json
import re
import sys

LABEL = re.compile(r"^(?P<indent>(?:  )*)(?P<name>.*)    \((?P<size>[0-9]+) bytes\)$")


def report_totals(text):
    totals, path = {}, []
    for line in text.split("\n"):
        if not line:
            continue
        match = LABEL.match(line)
        if not match:
            sys.exit("unexpected line: " + line)
        depth = len(match["indent"]) // 2
        path[depth:] = [match["name"]]
        totals["/".join(path)] = int(match["size"])
    return totals


def json_totals(text):
    document = json.loads(text)
    totals = {}

    def folder(items, parent):
        info = items[0]
        path = info["name"] if parent is None else parent + "/" + info["name"]
        total = info.get("asize", 0)
        for item in items[1:]:
            if isinstance(item, list):
                total += folder(item, path)
            elif "excluded" not in item:
                total += item.get("asize", 0)
        totals[path] = total
        return total

    sys.setrecursionlimit(100000)
    folder(document[3], None)
    return totals


def main():
    kind, name = sys.argv[1:3]
    with open(name, "rb") as file:
        text = file.read().decode("utf-8", "surrogateescape")
    totals = report_totals(text) if kind == "report" else json_totals(text)
    lines = sorted(f"{path}\t{total}" for path, total in totals.items())
    sys.stdout.buffer.write("".join(line + "\n" for line in lines).encode("utf-8", "surrogateescape"))


main()
