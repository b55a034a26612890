#!/usr/bin/env python3
"""Times pravel-cli check on a definition of many links against a web server
on 127.0.0.1 that this script starts (and stops): most addresses answer 200,
some are taken by a server that accepts and never answers. Prints, for each
number of jobs, the wall time, the least time the timeouts alone allow, the
peak memory of pravel-cli and its summary line.

  linkcheck_bench.py [--cli PATH] [--links N] [--silent N] [--jobs J ...] [--timeout S]

It takes minutes with the defaults: 200 addresses that never answer, 10 s
each, 8 at a time, cannot take less than 250 s.
"""
import argparse, math, os, subprocess, sys, tempfile, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'linkcheck'))
from loopback_server import LoopbackServer  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def definition(server, links, silent):
    """Menus of 20 links; every links/silent-th address never answers."""
    lines, step = [], links / silent if silent else links + 1
    silent_at = {int(k * step) for k in range(silent)}
    for i in range(links):
        if i % 20 == 0:
            lines.append(f'menuname=<Menu {i // 20:03}>')
        address = server.silent_url(f'/{i}') if i in silent_at else server.url(f'/page/{i}')
        lines += [f'linkname=<Link {i:04}>', f'linkaddress=<{address}>']
    return '\r\n'.join(lines) + '\r\n'


def run(cli, folder, jobs, timeout):
    """Wall seconds, peak MB, exit status and the summary line of one check."""
    command = [cli, '-C', folder, 'check', 'links.txt']
    if jobs is not None:
        command += ['--jobs', str(jobs)]
    if timeout is not None:
        command += ['--timeout', str(timeout)]
    env = {k: v for k, v in os.environ.items() if not k.lower().endswith('_proxy')}
    started = time.monotonic()
    with tempfile.TemporaryFile() as out:
        child = subprocess.Popen(command, stdout=out, stderr=subprocess.DEVNULL, env=env)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.monotonic() - started
        out.seek(0)
        summary = out.read().decode().splitlines()[-1]
    return wall, usage.ru_maxrss / 1024, os.waitstatus_to_exitcode(status), summary


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--cli', default=os.path.join(HERE, '..', 'build', 'native', 'cli', 'pravel-cli'))
    parser.add_argument('--links', type=int, default=1000)
    parser.add_argument('--silent', type=int, default=200, help='addresses that never answer')
    parser.add_argument('--jobs', type=int, nargs='+', default=[None, 64, 256],
                        help='requests at a time for each row (default: pravel-cli\'s own, 64, 256)')
    parser.add_argument('--timeout', type=int, help="seconds for each request (default: pravel-cli's own)")
    args = parser.parse_args()
    cli = os.path.abspath(args.cli)

    print(f'| links | never answering | jobs | timeout s | wall s | least the timeouts allow s | peak MB | exit | summary |')
    print(f'|---|---|---|---|---|---|---|---|---|')
    with tempfile.TemporaryDirectory(prefix='pravel-linkcheck-bench-') as folder, \
            LoopbackServer(lambda method, path: (200, {})) as server:
        with open(os.path.join(folder, 'links.txt'), 'w', newline='') as f:
            f.write(definition(server, args.links, args.silent))
        for jobs in args.jobs:
            wall, peak, status, summary = run(cli, folder, jobs, args.timeout)
            shown_jobs, timeout = jobs or 8, args.timeout or 10
            least = math.ceil(args.silent / shown_jobs) * timeout
            print(f'| {args.links:,} | {args.silent:,} | {shown_jobs}{"" if jobs else " (default)"} | {timeout}'
                  f'{"" if args.timeout else " (default)"} | {wall:.1f} | {least} | {peak:.1f} | {status} | {summary} |',
                  flush=True)
    return 0


if __name__ == '__main__':
    sys.exit(main())
