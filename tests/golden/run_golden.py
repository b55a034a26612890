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
  without  names of shared files (below) the case does not take, one a line

The folder "shared" beside the cases holds what most cases have in common:
the four template files in its in/ and the empty trace file in its out/. A
case takes each of them that it neither has nor names in "without".

  run_golden.py [--wine RUNNER] [--update] CLI CASE

--update writes what the run did into the case (out/, stdout, stderr,
exit) instead of comparing: read the change with git diff before keeping it.
"""
import argparse, filecmp, os, shlex, shutil, subprocess, sys, tempfile

SHARED = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'shared')


def files_under(root):
    return {os.path.relpath(os.path.join(folder, name), root): os.path.join(folder, name)
            for folder, _, names in os.walk(root) for name in names}


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def case_files(case, side):
    """The case's files of one side (in or out), with the shared ones it takes."""
    without = set()
    if os.path.exists(os.path.join(case, 'without')):
        without = set(read(os.path.join(case, 'without')).decode().split())
    files = {name: path for name, path in files_under(os.path.join(SHARED, side)).items() if name not in without}
    files.update(files_under(os.path.join(case, side)))
    return files


def run_case(cli, case, wine):
    """Runs the case in a fresh folder; returns (status per run, printed, files left, folder as printed)."""
    runs = [shlex.split(line) for line in read(os.path.join(case, 'cmd')).decode().splitlines() if line.strip()]
    scratch = tempfile.mkdtemp(prefix='pravel-golden-')
    work = os.path.join(scratch, 'work')
    os.mkdir(work)
    for name, path in case_files(case, 'in').items():
        os.makedirs(os.path.dirname(os.path.join(work, name)), exist_ok=True)
        shutil.copy2(path, os.path.join(work, name), follow_symlinks=False)
    printed, statuses = {'stdout': '', 'stderr': ''}, []
    for run in runs:
        done = subprocess.run(([wine] if wine else []) + [os.path.abspath(cli)] + run, cwd=work,
                              capture_output=True, timeout=300)
        printed['stdout'] += done.stdout.decode('utf-8', 'replace').replace('\r\n', '\n')
        printed['stderr'] += done.stderr.decode('utf-8', 'replace').replace('\r\n', '\n')
        statuses.append((' '.join(run), done.returncode))
    folder = ('Z:' + work.replace('/', '\\')) if wine else work
    return statuses, printed, work, folder, scratch


def compare(case, statuses, printed, work, folder, windows):
    failures = []
    status_file = os.path.join(case, 'exit')
    want_status = int(read(status_file)) if os.path.exists(status_file) else 0
    failures += [f'{run}: exit {status}, expected {want_status}' for run, status in statuses if status != want_status]
    expected = case_files(case, 'in')
    expected.update(case_files(case, 'out'))
    actual = files_under(work)
    for name in sorted(set(expected) | set(actual)):
        if name not in actual or name not in expected:
            failures.append(f'{name}: ' + ('missing' if name not in actual else 'written, not expected'))
        elif not filecmp.cmp(expected[name], actual[name], shallow=False):
            failures.append(f'{name}: differs\n  expected {read(expected[name])[:400]!r}\n'
                            f'  written  {read(actual[name])[:400]!r}')
    for stream, text in printed.items():
        if os.path.exists(os.path.join(case, stream)):
            want = read(os.path.join(case, stream)).decode('utf-8')
            want = want.replace('{dir}', folder).replace('{/}', '\\' if windows else '/')
            if text != want:
                failures.append(f'{stream} differs\n--- expected\n{want}--- printed\n{text}')
    return failures


def update(case, statuses, printed, work, folder, windows):
    inputs, shared_out = case_files(case, 'in'), files_under(os.path.join(SHARED, 'out'))
    out = os.path.join(case, 'out')
    shutil.rmtree(out, ignore_errors=True)
    for name, path in files_under(work).items():
        if name in inputs and filecmp.cmp(inputs[name], path, shallow=False):
            continue
        if name in shared_out and name in case_files(case, 'out') and filecmp.cmp(shared_out[name], path, shallow=False):
            continue
        os.makedirs(os.path.dirname(os.path.join(out, name)), exist_ok=True)
        shutil.copy2(path, os.path.join(out, name))
    separator = '\\' if windows else '/'
    for stream, text in printed.items():
        target = os.path.join(case, stream)
        if text or os.path.exists(target):
            text = text.replace(folder + separator, '{dir}{/}').replace(folder, '{dir}')
            with open(target, 'wb') as f:
                f.write(text.encode('utf-8'))
    codes = {status for _, status in statuses}
    if len(codes) > 1:
        print(f'the runs ended differently: {statuses}; exit not written')
    elif codes and codes != {0}:
        with open(os.path.join(case, 'exit'), 'w') as f:
            f.write(f'{codes.pop()}\n')
    elif os.path.exists(os.path.join(case, 'exit')):
        os.remove(os.path.join(case, 'exit'))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--wine', help='runs the Windows program through this script')
    parser.add_argument('--update', action='store_true', help="writes the case's expected files from this run")
    parser.add_argument('cli')
    parser.add_argument('case')
    args = parser.parse_args()
    case = os.path.abspath(args.case)
    statuses, printed, work, folder, scratch = run_case(args.cli, case, args.wine)
    try:
        if args.update:
            update(case, statuses, printed, work, folder, args.wine is not None)
            return 0
        failures = compare(case, statuses, printed, work, folder, args.wine is not None)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
