#!/usr/bin/env python3
"""Prints the include cycles of a source tree and fails when one is too large.

A unit is a header with its source file (framework/CWnd.h and framework/CWnd.cpp); unit A
depends on unit B when either file of A includes B's header. The cycles are the graph's
strongly connected components of more than one unit, printed largest first, each with the
includes that close it.

    include_graph.py SRC [--max-cycle N] [--outside-cycles UNIT ...] [--forbid HEADER:FOLDER,... ...]

fails (exit 1) when a cycle has more than N units or holds one of the named units, or when a
file of a named folder includes the system header (<windows.h> only in the host adapters).
"""
import argparse
import os
import re
import sys
from collections import defaultdict

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SYSTEM_INCLUDE = re.compile(r'^\s*#\s*include\s+<([^>]+)>', re.MULTILINE)


def units_of(root):
    """Every unit of the tree and the files that make it."""
    units = defaultdict(list)
    for folder, _, names in os.walk(root):
        for name in names:
            if name.endswith(('.h', '.cpp')):
                path = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, '/')
                units[os.path.splitext(path)[0]].append(path)
    return units


def dependencies(root, units):
    """For each unit, the units it includes and, for each, the file that does."""
    edges = defaultdict(dict)
    for unit, files in units.items():
        for path in files:
            with open(os.path.join(root, path), encoding='utf-8') as source:
                text = source.read()
            here = os.path.dirname(path)
            for included in INCLUDE.findall(text):
                for candidate in (included, os.path.normpath(os.path.join(here, included)).replace(os.sep, '/')):
                    target = os.path.splitext(candidate)[0]
                    if target in units and target != unit:
                        edges[unit].setdefault(target, path)
                        break
    return edges


def strongly_connected(units, edges):
    """Tarjan's algorithm, without recursion so that deep trees cannot overflow the stack."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = 0
    for start in sorted(units):
        if start in index:
            continue
        work = [(start, iter(sorted(edges[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            child = next(children, None)
            if child is not None:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(edges[child]))))
                elif child in on_stack:
                    low[node] = min(low[node], index[child])
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                found.append(sorted(component))
    return found


def forbidden_includes(root, rule):
    """The files of the rule's folders that include its header: "windows.h:dos,machine"."""
    header, folders = rule.split(':', 1)
    found = []
    for unit, files in sorted(units_of(root).items()):
        if unit.split('/')[0] not in folders.split(','):
            continue
        for path in files:
            with open(os.path.join(root, path), encoding='utf-8') as source:
                if header in SYSTEM_INCLUDE.findall(source.read()):
                    found.append(f'{path} includes <{header}>')
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('root')
    parser.add_argument('--max-cycle', type=int, default=None)
    parser.add_argument('--outside-cycles', nargs='*', default=[])
    parser.add_argument('--forbid', nargs='*', default=[])
    args = parser.parse_args()

    units = units_of(args.root)
    edges = dependencies(args.root, units)
    cycles = sorted((c for c in strongly_connected(units, edges) if len(c) > 1), key=lambda c: (-len(c), c))
    print(f'{len(units)} units, {sum(len(e) for e in edges.values())} includes between them, '
          f'{len(cycles)} cycles')
    for cycle in cycles:
        print(f'cycle of {len(cycle)}: {", ".join(cycle)}')
        members = set(cycle)
        for unit in cycle:
            for target, path in sorted(edges[unit].items()):
                if target in members:
                    print(f'    {path} -> {target}.h')

    failures = []
    if args.max_cycle is not None:
        failures += [f'a cycle of {len(c)} units (at most {args.max_cycle}): {", ".join(c)}'
                     for c in cycles if len(c) > args.max_cycle]
    for unit in args.outside_cycles:
        if unit not in units:
            failures.append(f'{unit} is no unit of {args.root}')
        failures += [f'{unit} is in a cycle' for c in cycles if unit in c]
    for rule in args.forbid:
        failures += forbidden_includes(args.root, rule)
    for failure in failures:
        print('FAIL: ' + failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
