#!/usr/bin/env python3
"""Times pravel-cli check at its defaults against web servers on 127.0.0.1
that this script starts (and stops), beside Debian's `linkchecker` on the
same links where it is installed, and prints one table:

  - 1,000 links, 200 of them on 20 hosts that accept connections and never
    answer, the others on one host that answers at once;
  - 300 links on one host that serves 4 requests at a time and answers
    503 to any more;
  - 300 links to pages of 1 MB on one host: what reading no body saves.

For each: wall seconds, links reported dead (the peer: errors), the most
requests the busiest answering host had at once, and the requests it got.

  linkcheck_bench.py [--cli PATH] [--peer PATH|none] [--timeout S]

Both programs get the same timeout (pravel-cli's default, 10 s); the peer
runs with its own defaults otherwise (10 threads), and checks the same
links from a page that holds them all. It takes some minutes.
"""
import argparse, os, re, shutil, subprocess, sys, tempfile, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'linkcheck'))
from loopback_server import LoopbackServer  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ENV = {k: v for k, v in os.environ.items() if not k.lower().endswith('_proxy')}


def write_inputs(folder, addresses):
    """The definition pravel-cli checks and the page the peer checks."""
    lines, anchors = [], []
    for i, address in enumerate(addresses):
        if i % 20 == 0:
            lines.append(f'menuname=<Menu {i // 20:03}>')
        lines += [f'linkname=<Link {i:04}>', f'linkaddress=<{address}>']
        anchors.append(f'<a href="{address}">Link {i:04}</a>')
    with open(os.path.join(folder, 'links.txt'), 'w', newline='') as f:
        f.write('\r\n'.join(lines) + '\r\n')
    with open(os.path.join(folder, 'links.html'), 'w') as f:
        f.write('<!DOCTYPE html><html><head><title>links</title></head><body>\n' + '\n'.join(anchors) +
                '\n</body></html>\n')


def run_pravel(cli, folder, timeout):
    command = [cli, '-C', folder, 'check', 'links.txt', '--format', 'json']
    if timeout:
        command += ['--timeout', str(timeout)]
    started = time.monotonic()
    done = subprocess.run(command, capture_output=True, env=ENV)
    wall = time.monotonic() - started
    dead = re.search(r'"dead": (\d+)', done.stdout.decode())
    return wall, dead.group(1) if dead else f'exit {done.returncode}'


def run_peer(peer, folder, timeout):
    # The peer, started as root, goes on as "nobody": it must read the page.
    os.chmod(folder, 0o755)
    os.chmod(os.path.join(folder, 'links.html'), 0o644)
    command = [peer, '--no-status', '--no-warnings', '--check-extern', '--recursion-level', '1',
               '--timeout', str(timeout or 10), os.path.join(folder, 'links.html')]
    started = time.monotonic()
    done = subprocess.run(command, capture_output=True, env=ENV)
    wall = time.monotonic() - started
    errors = re.search(r'(\d+) errors? found', done.stdout.decode())
    return wall, errors.group(1) if errors else ('0' if b'0 errors' in done.stdout else f'exit {done.returncode}')


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--cli', default=os.path.join(HERE, '..', 'build', 'native', 'cli', 'pravel-cli'))
    parser.add_argument('--peer', default=shutil.which('linkchecker') or 'none')
    parser.add_argument('--timeout', type=int, help="seconds for each link (default: pravel-cli's own, 10)")
    args = parser.parse_args()
    cli = os.path.abspath(args.cli)
    programs = [('pravel-cli', lambda folder: run_pravel(cli, folder, args.timeout))]
    if args.peer != 'none':
        programs.append(('linkchecker', lambda folder: run_peer(args.peer, folder, args.timeout)))

    big_page = b'x' * (1 << 20)
    sets = [
        ('1,000 links, 200 never answering (20 hosts)', dict(answers=lambda *_: (200, {}), silent_hosts=20),
         lambda s: [s.silent_url(f'/{i}', i // 5 % 20) if i % 5 == 0 else s.url(f'/page/{i}') for i in range(1000)]),
        ('300 links, one host serving 4 at a time', dict(answers=lambda m, p, a, n: (503 if n > 4 else 200, {}),
                                                          delay=0.01),
         lambda s: [s.url(f'/page/{i}') for i in range(300)]),
        ('300 links to pages of 1 MB, one host', dict(answers=lambda *_: (200, {}), body=big_page),
         lambda s: [s.url(f'/page/{i}') for i in range(300)]),
    ]
    print('| links | program | wall s | dead | most requests at once on one host | requests |')
    print('|---|---|---|---|---|---|')
    for title, server_args, addresses in sets:
        for name, run in programs:
            with tempfile.TemporaryDirectory(prefix='pravel-linkcheck-bench-') as folder, \
                    LoopbackServer(**server_args) as server:
                write_inputs(folder, addresses(server))
                wall, dead = run(folder)
                print(f'| {title} | {name} | {wall:.1f} | {dead} | {server.peak} | {len(server.log)} |', flush=True)
    return 0


if __name__ == '__main__':
    sys.exit(main())
