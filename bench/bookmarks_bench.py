#!/usr/bin/env python3
"""Benchmark of bookmark files in and out: pravel-cli import and export.

Writes a bookmark file shaped as Chrome writes it (CR LF lines, dates on
every entry, an icon of about 2 KB on one bookmark in ten, titles with
references and non-ASCII letters): a tenth of the BOOKMARKS outside every
folder, the rest spread evenly over FOLDERS folders, a tenth of which lie at
the top of the list and hold the others. It times `pravel-cli import` of that file and `pravel-cli
export` of the definition it gives (wall clock, CPU and peak memory, the
fastest of --repeat runs), and prints a table. It asserts nothing.

  bookmarks_bench.py [--build DIR] [--bookmarks 100000] [--folders 1000] [--repeat 3]
"""
import argparse
import base64
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from run_bench import Run, fail, machine, mb, table  # noqa: E402

ICON = "data:image/png;base64," + base64.b64encode(bytes(range(256)) * 6).decode()
WORDS = ["Caf\u00e9", "Tom &amp; Jerry", "M\u00fcnchen", "&quot;news&quot;", "guide", "\u6771\u4eac", "docs",
         "release notes", "&#39;s", "wiki"]


def bookmark_file(bookmarks, folders):
    """The file's text: folders inside folders, like a real tree."""
    lines = ["<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<!-- This is an automatically generated file.",
             "     It will be read and overwritten.", "     DO NOT EDIT! -->",
             '<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">', "<TITLE>Bookmarks</TITLE>",
             "<H1>Bookmarks</H1>", "<DL><p>"]
    top = max(1, folders // 10)
    at_top = bookmarks // 10
    per_folder = (bookmarks - at_top) // folders
    made = 0

    def link(indent, n):
        icon = f' ICON="{ICON}"' if n % 10 == 0 else ""
        title = f"{WORDS[n % len(WORDS)]} {WORDS[(n // 10) % len(WORDS)]} {n}"
        return (f'{indent}<DT><A HREF="https://host{n % 8}.example.com/path/{n}?a=1&amp;b={n % 97}"'
                f' ADD_DATE="{1700000000 + n}"{icon}>{title}</A>')

    for group in range(top):
        lines.append(f'    <DT><H3 ADD_DATE="1700000000" LAST_MODIFIED="1700000001">Group {group}</H3>')
        lines.append("    <DL><p>")
        for _ in range(per_folder):
            lines.append(link("        ", made))
            made += 1
        for folder in range(top + group, folders, top):
            lines.append(f'        <DT><H3 ADD_DATE="1700000000" LAST_MODIFIED="1700000001">Folder {folder}</H3>')
            lines.append("        <DL><p>")
            for _ in range(per_folder):
                lines.append(link("            ", made))
                made += 1
            lines.append("        </DL><p>")
        lines.append("    </DL><p>")
    while made < bookmarks:
        lines.append(link("    ", made))
        made += 1
    lines.append("</DL><p>")
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


def main():
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--build", default=os.path.join(repo, "build", "native"), help="native build folder")
    p.add_argument("--bookmarks", type=int, default=100000)
    p.add_argument("--folders", type=int, default=1000)
    p.add_argument("--repeat", type=int, default=3, help="runs per measurement; the fastest counts")
    p.add_argument("--work", help="scratch folder (default: BUILD/bench/bookmarks)")
    p.add_argument("--write", help=argparse.SUPPRESS)
    args = p.parse_args()
    if args.write:
        with open(args.write, "wb") as f:
            f.write(bookmark_file(args.bookmarks, args.folders))
        return
    cli = os.path.join(args.build, "cli", "pravel-cli")
    if not os.access(cli, os.X_OK):
        fail(f"{cli} is missing: build the native preset first")
    work = os.path.abspath(args.work or os.path.join(args.build, "bench", "bookmarks"))
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    # Written by a child: a child of this process would otherwise count the
    # memory the text took here in its own peak.
    subprocess.run([sys.executable, os.path.abspath(__file__), "--write", os.path.join(work, "bookmarks.html"),
                    "--bookmarks", str(args.bookmarks), "--folders", str(args.folders)], check=True)

    print(f"Machine: {machine()}", flush=True)
    best = {}
    for _ in range(args.repeat):
        for name in ("definition.txt", "export.html"):
            if os.path.exists(os.path.join(work, name)):
                os.remove(os.path.join(work, name))
        for step, argv in (("import", [cli, "import", "bookmarks.html", "definition.txt"]),
                           ("export", [cli, "export", "definition.txt", "export.html"])):
            run = Run(argv, work, os.path.join(work, "stdout.txt"), os.path.join(work, "stderr.txt"))
            if run.code != 0:
                fail(f"pravel-cli {step} failed (exit {run.code}); see {work}/stderr.txt")
            for key, value in ((step, run.wall), (step + "_cpu", run.cpu), (step + "_peak", run.peak)):
                best[key] = min(best.get(key, value), value)
    with open(os.path.join(work, "stdout.txt")) as f:
        print(f.read().strip())
    size = {name: os.path.getsize(os.path.join(work, name))
            for name in ("bookmarks.html", "definition.txt", "export.html")}
    print(f"\npravel-cli import and export, wall-clock seconds, fastest of {args.repeat}:\n")
    print(table(["bookmarks", "folders", "file MB", "import s", "import CPU s", "import peak MB",
                 "definition MB", "export s", "export CPU s", "export peak MB", "exported MB"],
                [[f"{args.bookmarks:,}", f"{args.folders:,}", mb(size["bookmarks.html"]), f"{best['import']:.2f}",
                  f"{best['import_cpu']:.2f}", mb(best["import_peak"]), mb(size["definition.txt"]),
                  f"{best['export']:.2f}", f"{best['export_cpu']:.2f}", mb(best["export_peak"]),
                  mb(size["export.html"])]]))


if __name__ == "__main__":
    main()
