#!/usr/bin/env python3
"""The folders of src/ and which include which, read from the #include lines.

Usage:
  layers.py check   fails when a folder of the core includes app/, cli/ or gui/, or when two
                    folders include each other (directly or through others);
  layers.py dot     prints the graph in Graphviz's language, lower layers below.
"""
import os
import re
import sys

SRC = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src')
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
CORE = ('text', 'files', 'store', 'xml', 'import', 'export', 'report', 'app')
FRONT_ENDS = ('app', 'cli', 'gui')


def folder_of(path):
    """src/gui/qt/x.h -> gui/qt; src/import/dialog/x.h -> import; src/error.h -> ''."""
    parts = path.split('/')[:-1]
    if not parts:
        return ''
    return '/'.join(parts[:2]) if parts[0] == 'gui' else parts[0]


def edges():
    found = set()
    for root, _, names in os.walk(SRC):
        for name in names:
            if not name.endswith(('.h', '.cpp')):
                continue
            path = os.path.join(root, name)
            source = folder_of(os.path.relpath(path, SRC).replace(os.sep, '/'))
            with open(path, encoding='utf-8') as f:
                for included in INCLUDE.findall(f.read()):
                    target = folder_of(included)
                    if source and target and source != target:
                        found.add((source, target))
    return found


def reachable(graph, start):
    seen, stack = set(), [start]
    while stack:
        for nxt in graph.get(stack.pop(), ()):
            if nxt not in seen:
                seen.add(nxt)
                stack.append(nxt)
    return seen


def check(found):
    problems = []
    for source, target in sorted(found):
        core_source = source in CORE and source != 'app'
        if core_source and target.split('/')[0] in FRONT_ENDS:
            problems.append('%s includes %s: the core includes no front end' % (source, target))
        if source == 'app' and target.split('/')[0] in ('cli', 'gui'):
            problems.append('app includes %s: a view or the command line' % target)
    graph = {}
    for source, target in found:
        graph.setdefault(source, set()).add(target)
    for folder in sorted(graph):
        if folder in reachable(graph, folder):
            problems.append('%s includes itself through other folders' % folder)
    return problems


def dot(found):
    lines = ['digraph layers {', '  rankdir=BT;', '  node [shape=box, fontname="Helvetica"];']
    # Drawn from the bottom up, each arrow from the folder that includes to the one included.
    for source, target in sorted(found):
        lines.append('  "%s" -> "%s" [dir=back];' % (target, source))
    lines.append('}')
    return '\n'.join(lines)


def main():
    mode = sys.argv[1] if len(sys.argv) > 1 else 'check'
    found = edges()
    if mode == 'dot':
        print(dot(found))
        return 0
    problems = check(found)
    for problem in problems:
        print(problem)
    if not problems:
        print('%d folders, %d edges, no cycle, layers point down' %
              (len({f for e in found for f in e}), len(found)))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
