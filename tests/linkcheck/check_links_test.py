#!/usr/bin/env python3
"""The link check end to end: pravel-cli check against a web server this
script starts on 127.0.0.1 (and stops), a port with nothing listening, and
files present and missing; then the unit program, given the address of the
server that never answers.

  check_links_test.py [--wine RUNNER] CLI UNIT
"""
import argparse, os, subprocess, sys, tempfile, urllib.parse

from loopback_server import LoopbackServer, unused_port

# path -> (status to HEAD, status to GET, Location)
ROUTES = {
    '/ok': (200, 200, None),
    '/missing': (404, 404, None),
    '/broken': (500, 500, None),
    '/no-head': (405, 200, None),
    '/old': (302, 302, '/step'),
    '/step': (301, 301, './x/../ok'),
    '/loop': (302, 302, '/loop'),
}


def answers(method, path):
    head, get, location = ROUTES.get(path, (404, 404, None))
    return (head if method == 'HEAD' else get), ({'Location': location} if location else {})


DEFINITION = """\
menuname=<Veg>
linkname=<Onions>
linkaddress=<{silent}/>
linkname=<Beans>
linkaddress=<{web}/missing>
linkname=<Carrots>
linkaddress=<{web}/broken>
linkname=<Leeks>
linkaddress=<{web}/no-head>
linkname=<Peas>
linkaddress=<{refused}/>
menuname=<Fruit>
linkname=<Plums>
linkaddress=<{web}/missing>
linkname=<Apples>
linkaddress=<{web}/ok>
linkname=<Pears>
linkaddress=<{web}/old>
linkname=<Figs>
linkaddress=<{web}/loop>
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
"""

REPORT = """\
Fruit / Figs: {web}/loop: redirect loop
Fruit / Plums: {web}/missing: 404 Not Found
Local files / Gone: gone.html: file not found
Local files / Lost by URL: {folder}/lost.html: file not found
Veg / Beans: {web}/missing: 404 Not Found
Veg / Carrots: {web}/broken: 500 Internal Server Error
Veg / Onions: {silent}/: no answer in 1 s
Veg / Peas: {refused}/: connection refused
Fruit / Pears: {web}/old: moved to {web}/ok
14 links checked, 8 dead, 1 moved, 2 not tried
"""

ALIVE = """\
menuname=<Fine>
linkname=<Page>
linkaddress=<{web}/ok>
linkname=<File>
linkaddress=<present.html>
linkname=<Mail>
linkaddress=<mailto:someone@example.org>
"""

# arguments after "-C work", exit status, standard output
RUNS = [
    (['check', 'links.txt', '--timeout', '1'], 1, REPORT),
    (['check', 'alive.txt', '--jobs', '1'], 0, '2 links checked, 0 dead, 0 moved, 1 not tried\n'),
    (['check', 'absent.txt'], 2, ''),
    (['check', 'links.txt', '--jobs', '0'], 2, ''),
    (['check', 'links.txt', '--timeout', '1s'], 2, ''),
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
    # Every request goes straight to the loopback server.
    env = {k: v for k, v in os.environ.items() if not k.lower().endswith('_proxy')}

    failures = []
    with tempfile.TemporaryDirectory(prefix='pravel-linkcheck-') as scratch:
        work = os.path.join(scratch, 'work')
        os.makedirs(os.path.join(work, 'docs'))
        for name in ('present.html', os.path.join('docs', 'a b.html')):
            open(os.path.join(work, name), 'w').close()
        quoted = urllib.parse.quote(work)
        folder = ('file:///Z:' if args.wine else 'file://') + quoted
        with LoopbackServer(answers) as server:
            values = {'web': server.url(''), 'silent': server.silent_url(''),
                      'refused': f'http://127.0.0.1:{unused_port()}', 'folder': folder}
            for name, text in (('links.txt', DEFINITION), ('alive.txt', ALIVE)):
                with open(os.path.join(work, name), 'w') as f:
                    f.write(text.format(**values))
            before = listing(work)

            for run, want_status, want_out in RUNS:
                done = subprocess.run(runner + [os.path.abspath(args.cli), '-C', 'work'] + run, cwd=scratch, env=env,
                                      capture_output=True, timeout=120)
                out = done.stdout.decode('utf-8', 'replace').replace('\r\n', '\n')
                want_out = want_out.format(**values)
                if done.returncode != want_status or out != want_out:
                    failures.append(f'{" ".join(run)}: exit {done.returncode}, expected {want_status}\n'
                                    f'--- expected\n{want_out}--- printed\n{out}--- stderr\n'
                                    f'{done.stderr.decode("utf-8", "replace")}')
            if listing(work) != before:
                failures.append('the check changed the work folder')

            version = subprocess.run(runner + [os.path.abspath(args.cli), '--version'], env=env, capture_output=True,
                                     timeout=120).stdout.decode().split()[-1]
            agents = {agent for _, _, agent in server.log}
            if agents != {f'Pravel/{version} (link check)'}:
                failures.append(f'user agents sent: {agents}')
            # Two links, one address: tried once, by HEAD and then by GET.
            missing = [method for method, path, _ in server.log if path == '/missing']
            if missing != ['HEAD', 'GET']:
                failures.append(f'/missing asked by {missing}, expected HEAD, then GET')

            unit = subprocess.run(runner + [os.path.abspath(args.unit)], env=dict(env, PRAVEL_SILENT_URL=values['silent']),
                                  capture_output=True, timeout=120)
            if unit.returncode != 0:
                failures.append('unit program failed:\n' + unit.stdout.decode('utf-8', 'replace'))
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
