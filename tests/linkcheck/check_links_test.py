#!/usr/bin/env python3
"""The link check end to end: pravel-cli check against web servers this
script starts on 127.0.0.1 (and stops) that behave as real sites do, a port
with nothing listening, and files present and missing; then the unit
program, given the address of a server that never answers.

  check_links_test.py [--wine RUNNER] CLI UNIT
"""
import argparse, json, os, subprocess, sys, tempfile, time, urllib.parse

from loopback_server import LoopbackServer, unused_port

# path -> (status, Location)
ROUTES = {
    '/ok': (200, None),
    '/missing': (404, None),
    '/broken': (500, None),
    '/old': (301, './x/../new'),
    '/new': (200, None),
    '/account': (302, '/login?next=/account'),
    '/login?next=/account': (200, None),
    '/loop': (302, '/loop'),
    '/private': (403, None),
    '/caf%C3%A9': (200, None),
}
asked = set()


def site(method, path, agent, in_hand):
    if path == '/flaky':  # a passing error: 500 once, then the page
        first = path not in asked
        asked.add(path)
        return 500 if first else 200, {}
    if path == '/browsers-only':
        return (200 if agent.startswith('Mozilla/5.0 ') else 403), {}
    if path == '/head-broken':
        return None if method == 'HEAD' else (200, {})
    if path == '/head-lies':
        return (200 if method == 'HEAD' else 404), {}
    if path.startswith('/slow/'):  # hops of a second each, more than the timeout allows
        time.sleep(1)
        return 302, {'Location': f'/slow/{int(path[6:]) + 1}'}
    status, location = ROUTES.get(path, (404, None))
    return status, ({'Location': location} if location else {})


last_page = [0.0]


def rationed(method, path, agent, in_hand):
    """One page every half second, 429 to anything sooner; /always never lets in."""
    now = time.monotonic()
    if path == '/always' or now - last_page[0] < 0.5:
        return 429, {'Retry-After': '1'}
    last_page[0] = now
    return 200, {}


def busy(method, path, agent, in_hand):
    """A host that serves 4 at a time."""
    return (503 if in_hand > 4 else 200), {}


DEFINITION = """\
menuname=<Veg>
linkname=<Onion 1>
linkaddress=<{silent}/1>
linkname=<Onion 2>
linkaddress=<{silent}/2>
linkname=<Onion 3>
linkaddress=<{silent}/3>
linkname=<Onion 4>
linkaddress=<{silent}/4>
linkname=<Onion 5>
linkaddress=<{silent}/5>
linkname=<F\u00e8ves>
linkaddress=<{web}/missing>
linkname=<Carrots>
linkaddress=<{web}/broken>
linkname=<Leeks>
linkaddress=<{web}/flaky>
linkname=<Peas>
linkaddress=<{refused}/>
linkname=<Kale>
linkaddress=<{web}/browsers-only>
linkname=<Chard>
linkaddress=<{web}/head-broken>
linkname=<Radish>
linkaddress=<{web}/head-lies>
linkname=<Swede>
linkaddress=<{web}/slow/0>
menuname=<Fruit>
linkname=<Plums>
linkaddress=<http:/{host}/./missing>
linkname=<Apples>
linkaddress=<{web}/o\tk>
linkname=<Pears>
linkaddress=<{web}/old#part>
linkname=<Figs>
linkaddress=<{web}/loop>
linkname=<Caf\u00e9>
linkaddress=<{web}/caf\u00e9>
linkname=<Account>
linkaddress=<{web}/account>
menuname=<Local files>
linkname=<Here>
linkaddress=<present.html#top>
linkname=<Gone>
linkaddress=<gone.html>
linkname=<Docs>
linkaddress=<docs/a%20b.html>
linkname=<By URL>
linkaddress=<{folder}/present.html>
linkname=<Lost by URL>
linkaddress=<{folder}/lost.html>
linkname=<Script>
linkaddress=<javascript:void(0)>
linkname=<Mail>
linkaddress=<mailto:someone@example.org>
menuname=<Busy>
""" + ''.join(f'linkname=<Busy {k:02}>\nlinkaddress=<{{busy}}/{k}>\n' for k in range(12)) + """\
menuname=<Rationed>
""" + ''.join(f'linkname=<Ration {k}>\nlinkaddress=<{{rationed}}/{k}>\n' for k in range(3))

REPORT = """\
Fruit / Figs: {web}/loop: redirect loop
Fruit / Plums: http:/{host}/./missing: 404 Not Found
Local files / Gone: gone.html: file not found
Local files / Lost by URL: {folder}/lost.html: file not found
Veg / Carrots: {web}/broken: 500 Internal Server Error
Veg / F\u00e8ves: {web}/missing: 404 Not Found
Veg / Onion 1: {silent}/1: no answer in 5 s
Veg / Onion 2: {silent}/2: no answer in 5 s
Veg / Onion 3: {silent}/3: no answer in 5 s
Veg / Onion 4: {silent}/4: host does not answer
Veg / Onion 5: {silent}/5: host does not answer
Veg / Peas: {refused}/: connection refused
Veg / Radish: {web}/head-lies: 404 Not Found
Veg / Swede: {web}/slow/0: no answer in 5 s
Fruit / Pears: {web}/old#part: moved to {web}/new#part
39 links checked, 14 dead, 1 moved, 0 access refused, 0 rate-limited, 2 not tried
"""

ALIVE = """\
menuname=<Fine>
linkname=<Page>
linkaddress=<{web}/ok>
linkname=<File>
linkaddress=<present.html>
linkname=<Mail>
linkaddress=<mailto:someone@example.org>
linkname=<Members>
linkaddress=<{web}/private>
linkname=<Crowded>
linkaddress=<{rationed}/always>
"""

ALIVE_REPORT = """\
Fine / Members: {web}/private: access refused: 403 Forbidden
Fine / Crowded: {rationed}/always: rate-limited: 429 Too Many Requests
4 links checked, 0 dead, 0 moved, 1 access refused, 1 rate-limited, 1 not tried
"""

ALIVE_COUNTS = {'links': 5, 'checked': 4, 'alive': 2, 'dead': 0, 'moved': 0, 'access refused': 1,
                'rate-limited': 1, 'not tried': 1, 'not checked': 0}

# arguments after "-C work", exit status, standard output (None: JSON, its counts checked)
RUNS = [
    (['check', 'links.txt', '--timeout', '5'], 1, REPORT),
    (['check', 'alive.txt', '--jobs', '1'], 0, ALIVE_REPORT),
    (['check', 'alive.txt', '--format', 'json'], 0, None),
    (['check', 'absent.txt'], 2, ''),
    (['check', 'links.txt', '--jobs', '0'], 2, ''),
    (['check', 'links.txt', '--timeout', '1s'], 2, ''),
    (['check', 'links.txt', '--format', 'xml'], 2, ''),
]


def listing(folder):
    return sorted((os.path.relpath(os.path.join(d, n), folder), os.stat(os.path.join(d, n)).st_mtime_ns)
                  for d, _, names in os.walk(folder) for n in names)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--wine', help='runs the Windows programs through this script')
    parser.add_argument('cli')
    parser.add_argument('unit')
    args = parser.parse_args()
    runner = [args.wine] if args.wine else []
    # Every request goes straight to the loopback servers.
    env = {k: v for k, v in os.environ.items() if not k.lower().endswith('_proxy')}

    failures = []
    with tempfile.TemporaryDirectory(prefix='pravel-linkcheck-') as scratch, \
            LoopbackServer(site) as web, LoopbackServer(rationed) as rationed_host, \
            LoopbackServer(busy, delay=0.2) as busy_host:
        work = os.path.join(scratch, 'work')
        os.makedirs(os.path.join(work, 'docs'))
        for name in ('present.html', os.path.join('docs', 'a b.html')):
            open(os.path.join(work, name), 'w').close()
        quoted = urllib.parse.quote(work)
        folder = ('file:///Z:' if args.wine else 'file://') + quoted
        values = {'web': web.url(''), 'host': web.url('')[len('http://'):], 'silent': web.silent_url(''),
                  'refused': f'http://127.0.0.1:{unused_port()}', 'folder': folder,
                  'rationed': rationed_host.url(''), 'busy': busy_host.url('')}
        # The definition in Windows-1252, as an older editor saves it.
        for name, text, encoding in (('links.txt', DEFINITION, 'cp1252'), ('alive.txt', ALIVE, 'utf-8')):
            with open(os.path.join(work, name), 'w', encoding=encoding) as f:
                f.write(text.format(**values))
        before = listing(work)

        for run, want_status, want_out in RUNS:
            done = subprocess.run(runner + [os.path.abspath(args.cli), '-C', 'work'] + run, cwd=scratch, env=env,
                                  capture_output=True, timeout=120)
            out = done.stdout.decode('utf-8', 'replace').replace('\r\n', '\n')
            if want_out is None:
                try:
                    counts = json.loads(out)['counts']
                except (ValueError, KeyError) as error:
                    counts = error
                want_out, out = ALIVE_COUNTS, counts
            else:
                want_out = want_out.format(**values)
            if done.returncode != want_status or out != want_out:
                failures.append(f'{" ".join(run)}: exit {done.returncode}, expected {want_status}\n'
                                f'--- expected\n{want_out}\n--- printed\n{out}\n--- stderr\n'
                                f'{done.stderr.decode("utf-8", "replace")}')
        if listing(work) != before:
            failures.append('the check changed the work folder')

        version = subprocess.run(runner + [os.path.abspath(args.cli), '--version'], env=env, capture_output=True,
                                 timeout=120).stdout.decode().split()[-1]
        log = web.log + rationed_host.log + busy_host.log
        agents = {agent for _, _, agent in log}
        if agents != {f'Mozilla/5.0 (compatible; Pravel/{version}; link check)'}:
            failures.append(f'user agents sent: {agents}')
        if any(method != 'GET' for method, _, _ in log):
            failures.append('a request other than GET was sent')
        # The first run: two links, one address, asked once; what failed
        # with 500 asked once more.
        for path, times in (('/missing', 1), ('/broken', 2), ('/flaky', 2)):
            if sum(1 for _, p, _ in web.log if p == path) != times:
                failures.append(f'{path} asked {sum(1 for _, p, _ in web.log if p == path)} times, expected {times}')
        if busy_host.peak > 4:
            failures.append(f'{busy_host.peak} requests at once on one host')

        unit = subprocess.run(runner + [os.path.abspath(args.unit)], env=dict(env, PRAVEL_SILENT_URL=values['silent']),
                              capture_output=True, timeout=120)
        if unit.returncode != 0:
            failures.append('unit program failed:\n' + unit.stdout.decode('utf-8', 'replace'))
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
