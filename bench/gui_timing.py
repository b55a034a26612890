"""The four steps of Pravel.exe under Wine, timed by pravel-gui-timing.exe.

Called by run_bench.py --gui. For each size it writes a definition whose
menu names hold no blank (the program shows a message for each one that
does, and a person answering thousands of them is not what is timed),
starts a virtual display (Xvfb) and a wineserver of its own, runs the timing
driver under Wine and stops both again by their process ids.
"""
import os
import shutil
import subprocess
import time

TEMPLATES = ["Pravel.ini", "HdrOnly.txt", "TableHdr_template.txt", "TrlOnly.txt"]
STEPS = ["open", "validate", "build", "saveshow"]
GOAL_STEP_SECONDS = 5.0


def find(folder, name):
    for root, _, files in os.walk(folder):
        if name in files:
            return os.path.join(root, name)
    return None


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Display:
    """Xvfb on a display number it picks itself; stopped by its pid."""

    def __init__(self, log_dir):
        self.display_file = os.path.join(log_dir, "xvfb.display")
        self.log = open(os.path.join(log_dir, "xvfb.log"), "wb")
        read_end, write_end = os.pipe()
        self.proc = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp"], pass_fds=(write_end,), stdout=self.log,
                                     stderr=subprocess.STDOUT)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            number = f.readline().strip()
        if not number:
            self.stop()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.log.close()


def wine_environment(prefix, display):
    env = dict(os.environ, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree=;mshtml=", WINEARCH="win64",
               WINEPREFIX=prefix, PRAVEL_WINEPREFIX=prefix, DISPLAY=display)
    return env


def run(args, sizes):
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    build = os.path.abspath(args.windows_build)
    program = find(build, "Pravel.exe")
    driver = find(build, "pravel-gui-timing.exe")
    if not program or not driver:
        print(f"\nWindows program: not timed, Pravel.exe or pravel-gui-timing.exe is missing under {build}"
              " (build the windows preset)")
        return []
    wine = shutil.which("wine64") or shutil.which("wine")
    ctl = os.path.join(repo, "scripts", "wine", "wineserver-ctl.sh")
    work = os.path.join(args.work, "gui")
    os.makedirs(work, exist_ok=True)
    prefix = os.path.join(build, "bench", "gui-wineprefix")

    rows = []
    display = Display(work)
    env = wine_environment(prefix, display.name)
    try:
        subprocess.run([ctl, "start", prefix], env=env, check=True, stdout=subprocess.DEVNULL)
        for links in sizes:
            folder = os.path.join(work, f"plain-{links}")
            shutil.rmtree(folder, ignore_errors=True)
            subprocess.run([args.gen, "--shape", "plain", "--links", str(links), "--seed", str(args.seed),
                            "--examples", args.examples, "--out", folder, "--blank-free-menus"], check=True)
            os.remove(os.path.join(folder, "records.txt"))
            picture = os.path.join(os.path.dirname(program), "Pravel_600x154.png")
            if os.path.exists(picture):
                shutil.copy(picture, folder)
            out_path = os.path.join(folder, "timing.txt")
            started = time.perf_counter()
            with open(out_path, "wb") as out, open(os.path.join(folder, "timing.err"), "wb") as err:
                code = subprocess.run([wine, driver, windows_path(program), windows_path(folder), "Pravel_Input.txt"],
                                      env=env, stdout=out, stderr=err, timeout=3600).returncode
            if code != 0:
                with open(os.path.join(folder, "timing.err"), errors="replace") as f:
                    raise RuntimeError(f"the timing driver failed on {links} links: {f.read().strip()}")
            row = {"links": links, "wall": time.perf_counter() - started}
            with open(out_path) as f:
                for line in f:
                    step, seconds, wait, boxes = line.split("\t")
                    row[step] = (float(seconds), float(wait), int(boxes))
            rows.append(row)
            if not args.keep:
                shutil.rmtree(folder, ignore_errors=True)
    finally:
        subprocess.run([ctl, "stop", prefix], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        display.stop()

    print("\nWindows program under Wine (Xvfb), four steps clicked as a person would; seconds from the click "
          "(Open: from the dialog's OK) to the step's end, and in brackets the longest the window took to "
          "answer a message during the step:\n")
    headers = ["links"] + STEPS
    table_rows = [[f"{r['links']:,}"] + [f"{r[s][0]:.2f} ({r[s][1]:.2f})" for s in STEPS] for r in rows]
    widths = [max(len(h), *(len(t[i]) for t in table_rows)) for i, h in enumerate(headers)]
    print("| " + " | ".join(h.ljust(w) for h, w in zip(headers, widths)) + " |")
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for t in table_rows:
        print("| " + " | ".join(c.rjust(w) for c, w in zip(t, widths)) + " |")
    for r in rows:
        slow = [s for s in STEPS if r[s][0] >= GOAL_STEP_SECONDS]
        print(f"{r['links']:,} links: every step under {GOAL_STEP_SECONDS:.0f} s:"
              f" {'met' if not slow else 'MISSED (' + ', '.join(slow) + ')'};"
              f" longest unanswered wait during the build {r['build'][1]:.2f} s")
    return rows
