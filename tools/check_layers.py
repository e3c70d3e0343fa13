#!/usr/bin/env python3
"""Arrows between the folders of app/ point one way.

Fails when
  - app/platform includes a file of another folder of app/ but base/ (it
    stands for the windowing system, under everything else), or
  - app/base includes a file of another folder of app/ (it lies under the
    model and the platform layer alike), or
  - two folders reach each other through their includes (a circle), unless the
    pair is on the allow-list, or
  - a pair on the allow-list no longer forms a circle: take it off, so the list
    only shrinks.

usage: check_layers.py APP_DIR ALLOW_LIST
The allow-list holds one pair a line ("schedule shell"); '#' starts a comment.
"""
import collections
import os
import re
import sys

BOTTOM = "platform"
BASE = "base"  # the one folder platform may use
SOURCE_ENDINGS = (".h", ".hpp", ".cpp", ".cc")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def folder_of(app, path):
    parts = os.path.relpath(path, app).split(os.sep)
    return parts[0] if len(parts) > 1 else None


def read_edges(app):
    """{(from folder, to folder): first 'file -> include' seen}"""
    edges = {}
    for directory, _, names in sorted(os.walk(app)):
        for name in sorted(names):
            if not name.endswith(SOURCE_ENDINGS):
                continue
            path = os.path.join(directory, name)
            source = folder_of(app, path)
            with open(path, errors="replace") as f:
                included = INCLUDE.findall(f.read())
            for target in included:
                # As the compiler looks: beside the file, then from app/.
                hit = next((c for c in (os.path.join(directory, target), os.path.join(app, target))
                            if os.path.isfile(c)), None)
                if hit is None:
                    continue  # outside app/ (the link's header, a system header)
                dest = folder_of(app, hit)
                if source and dest and dest != source:
                    edges.setdefault((source, dest), os.path.relpath(path, app) + " -> " + target)
    return edges


def circle_pairs(edges):
    """{frozenset pair: example} for each arrow whose target reaches back to its source."""
    out = collections.defaultdict(set)
    for a, b in edges:
        out[a].add(b)

    def reaches(start, goal):
        seen, todo = {start}, [start]
        while todo:
            for nxt in out[todo.pop()]:
                if nxt == goal:
                    return True
                if nxt not in seen:
                    seen.add(nxt)
                    todo.append(nxt)
        return False

    pairs = {}
    for (a, b), example in sorted(edges.items()):
        if reaches(b, a):
            pairs.setdefault(frozenset((a, b)), example)
    return pairs


def read_allowed(path):
    allowed = set()
    with open(path) as f:
        for number, line in enumerate(f, 1):
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            if len(words) != 2 or words[0] == words[1]:
                sys.exit(f"{path}:{number}: want two folder names, got {line.strip()!r}")
            allowed.add(frozenset(words))
    return allowed


def show(pair):
    return " <-> ".join(sorted(pair))


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    app, allow_path = argv[1], argv[2]
    edges = read_edges(app)
    pairs = circle_pairs(edges)
    allowed = read_allowed(allow_path)
    failures = []

    for (a, b), example in sorted(edges.items()):
        if a == BASE or (a == BOTTOM and b != BASE):
            failures.append(f"{a}/ includes {b}/: {example}")
    for pair, example in sorted(pairs.items(), key=lambda p: show(p[0])):
        if pair not in allowed:
            failures.append(f"new circle {show(pair)}: {example}")
    for pair in sorted(allowed - pairs.keys(), key=show):
        failures.append(f"{show(pair)} no longer forms a circle: take it off {allow_path}")

    print(f"circles still allowed ({len(allowed)}):")
    for pair in sorted(allowed, key=show):
        print(f"  {show(pair)}")
    for line in failures:
        print("FAIL " + line)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
