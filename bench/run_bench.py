#!/usr/bin/env python3
"""Benchmark runner: how the headless road and the Windows program scale.

For each size it generates a definition (pravel-gen), times the machine's
single-threaded `LC_ALL=C sort -f` over the same records as a yardstick,
times `pravel-cli build` with its peak memory, and times the same road part
by part (pravel-phases). It prints the tables and how they stand against the
goals. With --smoke it runs every shape at a small size and checks that the
timed road writes exactly the files pravel-cli writes; it never judges time.

The Windows program is timed under Wine with --gui (see bench/gui_timing.py).
"""
import argparse
import filecmp
import os
import shutil
import subprocess
import sys
import time

SHAPES = ["plain", "one-menu", "own-menus", "equal", "long-line", "empty-lines", "big-templates"]
TEMPLATES = ["Pravel.ini", "HdrOnly.txt", "TableHdr_template.txt", "TrlOnly.txt"]
DEFINITION = "Pravel_Input.txt"
PHASES = ["open", "validate", "revalidate", "template", "normalise", "walk", "draft", "saveshow"]

# Goals, checked and printed, never asserted.
GOAL_SORT_RATIO = 2.5
GOAL_GROWTH = 11.0
GOAL_SHAPE_RATIO = 3.0
GOAL_MEMORY_RATIO = 5.0


class Run:
    """One child process: wall time, CPU time and peak memory."""

    def __init__(self, argv, cwd, stdout, stderr, env=None):
        start = time.perf_counter()
        with open(stdout, "wb") as out, open(stderr, "wb") as err:
            proc = subprocess.Popen(argv, cwd=cwd, stdout=out, stderr=err, env=env)
            _, status, usage = os.wait4(proc.pid, 0)
        self.wall = time.perf_counter() - start
        self.cpu = usage.ru_utime + usage.ru_stime
        self.peak = usage.ru_maxrss * 1024  # Linux reports KiB
        self.code = os.waitstatus_to_exitcode(status)
        proc.returncode = self.code


def fail(message):
    print("run_bench: " + message, file=sys.stderr)
    sys.exit(1)


def fresh_copy(source, target, names):
    shutil.rmtree(target, ignore_errors=True)
    os.makedirs(target)
    for name in names:
        shutil.copyfile(os.path.join(source, name), os.path.join(target, name))


def generate(args, shape, links):
    folder = os.path.join(args.work, f"{shape}-{links}", "input")
    shutil.rmtree(folder, ignore_errors=True)
    subprocess.run([args.gen, "--shape", shape, "--links", str(links), "--seed", str(args.seed),
                    "--examples", args.examples, "--out", folder], check=True)
    return folder


def files_written(folder):
    """The files the road wrote (everything but its inputs and logs)."""
    skip = set(TEMPLATES) | {"records.txt", "stdout.txt", "stderr.txt"}
    return {n: os.path.getsize(os.path.join(folder, n)) for n in os.listdir(folder) if n not in skip}


def measure(args, shape, links):
    """Times sort -f, pravel-cli and pravel-phases on one definition."""
    base = os.path.join(args.work, f"{shape}-{links}")
    source = generate(args, shape, links)
    definition_size = os.path.getsize(os.path.join(source, DEFINITION))
    inputs = TEMPLATES + [DEFINITION]
    row = {"shape": shape, "links": links, "definition": definition_size}

    best = {}
    for _ in range(args.repeat):
        sort_dir = os.path.join(base, "sort")
        fresh_copy(source, sort_dir, ["records.txt"])
        env = dict(os.environ, LC_ALL="C")
        sort = Run(["sort", "-f", "--parallel=1", "-o", "sorted.txt", "records.txt"], sort_dir,
                   os.path.join(sort_dir, "stdout.txt"), os.path.join(sort_dir, "stderr.txt"), env)
        if sort.code != 0:
            fail(f"sort failed on {shape} {links}")

        cli_dir = os.path.join(base, "cli")
        fresh_copy(source, cli_dir, inputs)
        cli = Run([args.cli, "build", DEFINITION], cli_dir, os.path.join(cli_dir, "stdout.txt"),
                  os.path.join(cli_dir, "stderr.txt"))
        if cli.code != 0:
            fail(f"pravel-cli build failed on {shape} {links} (exit {cli.code}); see {cli_dir}/stderr.txt")

        phases_dir = os.path.join(base, "phases")
        fresh_copy(source, phases_dir, inputs)
        phases = Run([args.phases, DEFINITION], phases_dir, os.path.join(phases_dir, "stdout.txt"),
                     os.path.join(phases_dir, "stderr.txt"))
        if phases.code != 0:
            fail(f"pravel-phases failed on {shape} {links}; see {phases_dir}/stderr.txt")
        parts = {}
        with open(os.path.join(phases_dir, "stdout.txt")) as f:
            for line in f:
                name, value = line.split("\t")[:2]
                parts[name] = float(value)

        for key, value in [("sort", sort.wall), ("sort_cpu", sort.cpu), ("road", cli.wall),
                           ("road_cpu", cli.cpu), ("peak", cli.peak)] + \
                [(p, parts[p]) for p in PHASES + ["writes"]]:
            best[key] = min(best.get(key, value), value)

    written = files_written(cli_dir)
    row.update(best)
    row["largest"] = max(written.values())
    row["budget"] = definition_size + row["largest"]
    if args.smoke:
        check_same_files(cli_dir, phases_dir, written)
    if not args.keep:
        shutil.rmtree(base, ignore_errors=True)
    return row


def check_same_files(cli_dir, phases_dir, written):
    expected = {"Sorted_Pravel.txt", "ValidatedInput.txt", "ShowDraft.Html", "MenusOnly.txt", "Pravel.html",
                "Pravel.txt", "PravelTrace.txt", DEFINITION, DEFINITION + ".bak"}
    missing = expected - set(written)
    if missing:
        fail(f"{cli_dir}: pravel-cli did not write {sorted(missing)}")
    if written.get("Pravel.html", 0) == 0:
        fail(f"{cli_dir}: Pravel.html is empty")
    for name in written:
        if not filecmp.cmp(os.path.join(cli_dir, name), os.path.join(phases_dir, name), shallow=False):
            fail(f"{name} differs between {cli_dir} and {phases_dir}")


def mb(size):
    return f"{size / 1e6:.1f}"


def table(headers, rows):
    widths = [max(len(h), *(len(r[i]) for r in rows)) for i, h in enumerate(headers)]
    lines = ["| " + " | ".join(h.ljust(w) for h, w in zip(headers, widths)) + " |",
             "|" + "|".join("-" * (w + 2) for w in widths) + "|"]
    lines += ["| " + " | ".join(c.rjust(w) for c, w in zip(r, widths)) + " |" for r in rows]
    return "\n".join(lines)


def report(rows):
    road = table(["links", "shape", "definition MB", "sort -f s", "road s", "road / sort", "road CPU s",
                  "peak MB", "peak / (def + largest)"],
                 [[f"{r['links']:,}", r["shape"], mb(r["definition"]), f"{r['sort']:.2f}", f"{r['road']:.2f}",
                   f"{r['road'] / r['sort']:.2f}", f"{r['road_cpu']:.2f}", mb(r["peak"]),
                   f"{r['peak'] / r['budget']:.2f}"] for r in rows])
    parts = table(["links", "shape"] + PHASES + ["(writes)"],
                  [[f"{r['links']:,}", r["shape"]] + [f"{r[p]:.2f}" for p in PHASES + ["writes"]] for r in rows])
    return road, parts


def goals(rows):
    """How the measurements stand against the goals, one line each."""
    out = []
    plain = {r["links"]: r for r in rows if r["shape"] == "plain"}
    if plain:
        top = max(plain)
        r = plain[top]
        ratio = r["road"] / r["sort"]
        out.append(f"road / sort -f at {top:,} links: {ratio:.2f} (goal <= {GOAL_SORT_RATIO})"
                   f" {'met' if ratio <= GOAL_SORT_RATIO else 'MISSED'}")
        sizes = sorted(plain)
        for small, large in zip(sizes, sizes[1:]):
            growth = plain[large]["road"] / plain[small]["road"]
            limit = GOAL_GROWTH * (large / small) / 10
            out.append(f"growth {small:,} -> {large:,}: x{growth:.1f} (goal <= x{limit:.0f})"
                       f" {'met' if growth <= limit else 'MISSED'}")
    for r in rows:
        if r["shape"] != "plain" and r["links"] in plain:
            ratio = r["road"] / plain[r["links"]]["road"]
            out.append(f"{r['shape']} / plain at {r['links']:,}: {ratio:.2f} (goal <= {GOAL_SHAPE_RATIO})"
                       f" {'met' if ratio <= GOAL_SHAPE_RATIO else 'MISSED'}")
    # A small run's peak is mostly the program itself: the goal is read at
    # the largest size measured.
    top = max(r["links"] for r in rows)
    worst = max((r for r in rows if r["links"] == top), key=lambda r: r["peak"] / r["budget"])
    ratio = worst["peak"] / worst["budget"]
    out.append(f"peak memory / (definition + largest file), worst ({worst['shape']} {worst['links']:,}):"
               f" {ratio:.2f} (goal <= {GOAL_MEMORY_RATIO}) {'met' if ratio <= GOAL_MEMORY_RATIO else 'MISSED'}")
    return out


def machine():
    model = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
        with open("/proc/meminfo") as f:
            memory = int(f.readline().split()[1]) * 1024
    except OSError:
        memory = 0
    return f"{os.cpu_count()} CPUs (nproc), {model}, {memory / 2**30:.0f} GiB memory"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    repo = os.path.dirname(here)
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--build", default=os.path.join(repo, "build", "native"),
                   help="native build folder holding cli/pravel-cli and bench/pravel-gen, bench/pravel-phases")
    p.add_argument("--cli")
    p.add_argument("--gen")
    p.add_argument("--phases")
    p.add_argument("--examples", default=os.path.join(repo, "examples"))
    p.add_argument("--work", help="scratch folder (default: BUILD/bench/run)")
    p.add_argument("--links", default="10000,100000,1000000", help="sizes of the plain shape")
    p.add_argument("--shape-links", type=int, help="size of the other shapes (default: the largest size)")
    p.add_argument("--shapes", default=",".join(SHAPES[1:]), help="the other shapes, or 'none'")
    p.add_argument("--repeat", type=int, default=1, help="runs per measurement; the fastest counts")
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--keep", action="store_true", help="keep the generated and written files")
    p.add_argument("--smoke", action="store_true",
                   help="every shape at 2,000 links; check that the outputs match pravel-cli's")
    p.add_argument("--gui", action="store_true",
                   help="also time the four steps of Pravel.exe under Wine (see gui_timing.py)")
    p.add_argument("--gui-only", action="store_true", help="time only the Windows program")
    p.add_argument("--gui-links", default="10000,100000")
    p.add_argument("--windows-build", default=os.path.join(repo, "build", "windows"))
    args = p.parse_args()

    args.cli = args.cli or os.path.join(args.build, "cli", "pravel-cli")
    args.gen = args.gen or os.path.join(args.build, "bench", "pravel-gen")
    args.phases = args.phases or os.path.join(args.build, "bench", "pravel-phases")
    args.work = os.path.abspath(args.work or os.path.join(args.build, "bench", "run"))
    args.cli, args.gen, args.phases, args.examples = (os.path.abspath(path) for path in
                                                      (args.cli, args.gen, args.phases, args.examples))
    for tool in (args.cli, args.gen, args.phases):
        if not os.access(tool, os.X_OK):
            fail(f"{tool} is missing: build the native preset first")
    if args.smoke:
        sizes, shape_links, shapes = [2000], 2000, SHAPES[1:]
    else:
        sizes = [int(n) for n in args.links.split(",") if n]
        shape_links = args.shape_links or max(sizes)
        shapes = [] if args.shapes == "none" else [s for s in args.shapes.split(",") if s]
    for shape in shapes:
        if shape not in SHAPES:
            fail(f"unknown shape {shape}")

    print(f"Machine: {machine()}", flush=True)
    if args.gui_only:
        sys.path.insert(0, here)
        import gui_timing
        gui_timing.run(args, [int(n) for n in args.gui_links.split(",") if n])
        return
    rows = []
    for links in sizes:
        rows.append(measure(args, "plain", links))
        print(f"  plain {links:,}: road {rows[-1]['road']:.2f} s", flush=True)
    if shape_links not in sizes:
        rows.append(measure(args, "plain", shape_links))
    for shape in shapes:
        rows.append(measure(args, shape, shape_links))
        print(f"  {shape} {shape_links:,}: road {rows[-1]['road']:.2f} s", flush=True)

    road, parts = report(rows)
    print("\nHeadless road (pravel-cli build, all files written) against LC_ALL=C sort -f --parallel=1 "
          "of the same records; wall-clock seconds, fastest of " + str(args.repeat) + ":\n")
    print(road)
    print("\nParts of the road (pravel-phases; normalise, draft and saveshow include their own writes, "
          "(writes) is those writes alone):\n")
    print(parts)
    if not args.smoke:  # the goals speak of large definitions, not of a smoke run's
        print()
        for line in goals(rows):
            print(line)

    if args.gui:
        sys.path.insert(0, here)
        import gui_timing
        gui_timing.run(args, [int(n) for n in args.gui_links.split(",") if n])
    if args.smoke:
        print("\nsmoke run: every shape built, and the timed road wrote the same files as pravel-cli")


if __name__ == "__main__":
    main()
