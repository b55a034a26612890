#!/usr/bin/env python3
"""Fails when the help page leaves out a key of the command table.

F1 opens assets/Pravel_Help.html; a command added to app/Commands.h with a
key and no word in the help page would be a command nobody can find. Every
key of every row, and every key a tooltip names (Exit's Alt+F4 is the
system's and has no row of its own), must stand in the page's text. The
pictures the page shows must be among those the release ships beside it
(docs/pictures, installed as pictures/).

  check_help.py SOURCE_ROOT
"""
import html, os, re, sys

SPECIAL = {'kKeyF1': 'F1', 'kKeyF3': 'F3', 'kKeyEscape': 'Esc'}
KEY = re.compile(r"\{(true|false), (true|false), ('.'|kKey\w+)\}")
TIP = re.compile(r'"[^"]*?   ([^"]+)"\}')


def table_keys(commands_h):
    source = open(commands_h, encoding='utf-8').read()
    rows = source[source.index('kCommands[] = {'):]
    keys = set()
    for control, shift, code in KEY.findall(rows):
        if code.startswith('kKey') and code not in SPECIAL:
            sys.exit(f'check_help.py: no name for the key {code}: add it to SPECIAL')
        name = SPECIAL.get(code) or code.strip("'")
        keys.add(('Ctrl+' if control == 'true' else '') + ('Shift+' if shift == 'true' else '') + name)
    for tip in TIP.findall(rows):
        keys.update(tip.split(' or '))
    return keys


def main(root):
    page = open(os.path.join(root, 'assets', 'Pravel_Help.html'), encoding='cp1252').read()
    text = html.unescape(re.sub(r'<[^>]*>', ' ', page))
    keys = table_keys(os.path.join(root, 'app', 'Commands.h'))
    missing = sorted(k for k in keys if not re.search(r'(?<![\w+])' + re.escape(k) + r'(?![\w+])', text))
    pictures = re.findall(r'<img[^>]*\ssrc="([^"]+)"', page)
    unshipped = [p for p in pictures
                 if not p.startswith('pictures/') or not os.path.isfile(os.path.join(root, 'docs', p))]
    for key in missing:
        print(f'the help page does not name the key {key}')
    for picture in unshipped:
        print(f'the help page shows {picture}, which is not in docs/pictures')
    return 1 if missing or unshipped or not keys else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
