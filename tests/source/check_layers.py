#!/usr/bin/env python3
"""Fails on an include that points upward.

Each folder of the engine is a layer that may include only its own headers
and those of the layers below it, so that what lies below never depends on
what lies above: text knows nothing above it, definition and tools build on
text, html on definition, app on the engine, and the fronts (the window and
the command line) on app. A folder that is not named here is refused too,
so a new library is given its place on purpose.

  check_layers.py SOURCE_ROOT
"""
import os, re, sys

BELOW = {
    'text': [],
    'definition': ['text'],
    'tools': ['text'],
    'html': ['definition'],
    'bookmarks': ['definition'],
    'linkcheck': ['definition'],
    'app': ['html', 'tools', 'bookmarks', 'linkcheck'],
    'app/win32': ['app'],
    'cli': ['app'],
}
# Folders that are no layer of the product.
NOT_PRODUCT = {'tests', 'fuzz', 'bench', 'build', 'cmake', 'scripts', 'assets', 'examples', 'node_modules'}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_of(path):
    """The layer a file or an included path belongs to: its longest folder prefix in BELOW."""
    parts = path.split('/')
    for n in range(len(parts) - 1, 0, -1):
        if '/'.join(parts[:n]) in BELOW:
            return '/'.join(parts[:n])
    return None


def reachable(layer):
    seen, todo = {layer}, [layer]
    while todo:
        for lower in BELOW[todo.pop()]:
            if lower not in seen:
                seen.add(lower)
                todo.append(lower)
    return seen


def main():
    root = sys.argv[1]
    failures = []
    for name in sorted(os.listdir(root)):
        folder = os.path.join(root, name)
        if name in BELOW or name in NOT_PRODUCT or name.startswith('.') or not os.path.isdir(folder):
            continue
        if any(f.endswith(('.h', '.cpp')) for f in os.listdir(folder)):
            failures.append(f'{name}/ holds C++ but is no layer: give it its place in BELOW')
    for layer in BELOW:
        allowed = reachable(layer)
        folder = os.path.join(root, layer)
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            if not os.path.isfile(path) or not name.endswith(('.h', '.cpp')):
                continue
            with open(path, encoding='utf-8') as f:
                for number, line in enumerate(f, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    target = layer_of(match.group(1))
                    if target is None and '/' in match.group(1):
                        failures.append(f'{layer}/{name}:{number}: {match.group(1)} is in no known layer')
                    elif target is not None and target not in allowed:
                        failures.append(f'{layer}/{name}:{number}: {layer} may not include {match.group(1)}')
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
