#!/usr/bin/env python3
"""Runs one golden case through pravel-cli and compares what it left behind.

A case is a folder:
  cmd      one run of pravel-cli per line, its arguments as a shell would
           split them ("a b" is one argument)
  exit     the exit status every run must end with (0 when missing)
  in/      the files of the work folder before the first run
  out/     the files written or changed, byte for byte; the work folder must
           end up holding exactly in/ and out/, out/ taking precedence
  stdout, stderr   what the runs printed, all runs together, with "\\n" line
           breaks; {dir} stands for the work folder and {/} for the path
           separator of the platform the program runs on

  run_golden.py [--wine RUNNER] CLI CASE
"""
import argparse, filecmp, os, shlex, shutil, subprocess, sys, tempfile


def files_under(root):
    return {os.path.relpath(os.path.join(folder, name), root): os.path.join(folder, name)
            for folder, _, names in os.walk(root) for name in names}


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--wine', help='runs the Windows program through this script')
    parser.add_argument('cli')
    parser.add_argument('case')
    args = parser.parse_args()
    case, windows = os.path.abspath(args.case), args.wine is not None
    runs = [shlex.split(line) for line in read(os.path.join(case, 'cmd')).decode().splitlines() if line.strip()]
    status_file = os.path.join(case, 'exit')
    want_status = int(read(status_file)) if os.path.exists(status_file) else 0

    with tempfile.TemporaryDirectory(prefix='pravel-golden-') as scratch:
        work = os.path.join(scratch, 'work')
        if os.path.isdir(os.path.join(case, 'in')):
            shutil.copytree(os.path.join(case, 'in'), work, symlinks=True)
        else:
            os.mkdir(work)
        printed, failures = {'stdout': '', 'stderr': ''}, []
        for run in runs:
            done = subprocess.run(([args.wine] if windows else []) + [os.path.abspath(args.cli)] + run, cwd=work,
                                  capture_output=True, timeout=300)
            printed['stdout'] += done.stdout.decode('utf-8', 'replace').replace('\r\n', '\n')
            printed['stderr'] += done.stderr.decode('utf-8', 'replace').replace('\r\n', '\n')
            if done.returncode != want_status:
                failures.append(f'{" ".join(run)}: exit {done.returncode}, expected {want_status}')

        expected = files_under(os.path.join(case, 'in'))
        expected.update(files_under(os.path.join(case, 'out')))
        actual = files_under(work)
        for name in sorted(set(expected) | set(actual)):
            if name not in actual or name not in expected:
                failures.append(f'{name}: ' + ('missing' if name not in actual else 'written, not expected'))
            elif not filecmp.cmp(expected[name], actual[name], shallow=False):
                failures.append(f'{name}: differs\n  expected {read(expected[name])[:400]!r}\n'
                                f'  written  {read(actual[name])[:400]!r}')
        folder = ('Z:' + work.replace('/', '\\')) if windows else work
        for stream, text in printed.items():
            if os.path.exists(os.path.join(case, stream)):
                want = read(os.path.join(case, stream)).decode('utf-8')
                want = want.replace('{dir}', folder).replace('{/}', '\\' if windows else '/')
                if text != want:
                    failures.append(f'{stream} differs\n--- expected\n{want}--- printed\n{text}')

    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
