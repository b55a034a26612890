#!/usr/bin/env python3
"""The page built from examples/ in headless Chromium.

Builds the example with pravel-cli in a fresh folder, opens the page in
Chromium (driven over its DevTools pipe, so nothing but Python and the browser
is needed) and checks that the page renders in standards mode, that there is
one drop-down per menu of the definition holding its entries, and that
choosing an entry with the keyboard goes to the entry's address. Requests to
the addresses are answered by the test itself: no network is used.

Exit status: 0 passed, 1 failed, 77 Chromium is not installed (skipped).
"""

import argparse
import base64
import fcntl
import json
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

EXAMPLE_FILES = ["Pravel_Input.txt", "Pravel.ini", "HdrOnly.txt", "TableHdr_template.txt", "TrlOnly.txt"]


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def expected_menus(definition_text):
    """Menu name -> [(label, address)], as the build groups and sorts them."""
    menus = {}
    menu = None
    link = None
    for line in definition_text.split("\r\n"):
        lower = line.lower()

        def value():
            start = line.index("<") + 1
            end = line.find(">", start)
            return line[start:end if end >= 0 else None]

        if "menuname=<" in lower:
            menu = value()
        elif "linkname=<" in lower:
            link = value()
        elif "linkaddress=<" in lower:
            menus.setdefault(menu, []).append((link, value()))
    result = {}
    for name in sorted(menus, key=lambda n: (n + ">").lower()):
        entries = sorted(menus[name], key=lambda e: (e[0] + ">" + e[1]).lower())
        result[name.replace(" ", "_")] = entries
    return result


class Chromium:
    """Headless Chromium and its DevTools protocol over a pair of pipes."""

    def __init__(self, profile_dir, log):
        exe = shutil.which("chromium") or shutil.which("chromium-browser")
        if not exe:
            raise FileNotFoundError("chromium")
        # The browser reads commands from its fd 3 and writes to its fd 4.
        # The pipe ends are first moved above 4 so that placing them there
        # cannot overwrite one another.
        to_browser_r, to_browser_w = os.pipe()
        from_browser_r, from_browser_w = os.pipe()
        child_in = fcntl.fcntl(to_browser_r, fcntl.F_DUPFD_CLOEXEC, 10)
        child_out = fcntl.fcntl(from_browser_w, fcntl.F_DUPFD_CLOEXEC, 10)
        os.close(to_browser_r)
        os.close(from_browser_w)

        def place_pipes():
            os.dup2(child_in, 3)
            os.dup2(child_out, 4)

        self.proc = subprocess.Popen(
            [exe, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--user-data-dir=" + profile_dir, "--remote-debugging-pipe", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=log, stderr=log,
            pass_fds=(3, 4), preexec_fn=place_pipes, start_new_session=True)
        os.close(child_in)
        os.close(child_out)
        self.writer = to_browser_w
        self.reader = from_browser_r
        self.buffer = b""
        self.events = []
        self.next_id = 0

    def _read_message(self, deadline):
        while b"\0" not in self.buffer:
            left = deadline - time.monotonic()
            check(left > 0, "the browser did not answer in time")
            ready, _, _ = select.select([self.reader], [], [], left)
            if ready:
                chunk = os.read(self.reader, 65536)
                check(chunk, "the browser closed its pipe")
                self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, params=None, session=None, timeout=30):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.writer, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            reply = self._read_message(deadline)
            if reply.get("id") == self.next_id:
                check("error" not in reply, f"{method}: {reply.get('error')}")
                return reply.get("result", {})
            self.events.append(reply)

    def wait_event(self, wanted, timeout=30):
        """The first event, queued or arriving, for which wanted(event) holds."""
        deadline = time.monotonic() + timeout
        while True:
            for i, event in enumerate(self.events):
                if wanted(event):
                    return self.events.pop(i)
            self.events.append(self._read_message(deadline))

    def close(self):
        try:
            self.send("Browser.close", timeout=10)
        except Exception:
            pass
        try:
            self.proc.wait(timeout=15)
        except subprocess.TimeoutExpired:
            pass
        # The browser was started in a process group of its own: whatever of
        # it is still there goes with it.
        try:
            os.killpg(self.proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        if self.proc.poll() is None:
            self.proc.wait()
        os.close(self.writer)
        os.close(self.reader)


class Page:
    """One tab; requests to web addresses are answered here."""

    def __init__(self, browser):
        self.b = browser
        target = browser.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = browser.send("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        self.send("Page.enable")
        self.send("Page.setLifecycleEventsEnabled", {"enabled": True})
        self.send("Fetch.enable", {"patterns": [{"urlPattern": "http://*"}, {"urlPattern": "https://*"}]})

    def send(self, method, params=None):
        return self.b.send(method, params, session=self.session)

    def event(self, method, wanted=lambda params: True, timeout=30):
        return self.b.wait_event(
            lambda e: e.get("sessionId") == self.session and e.get("method") == method and wanted(e["params"]),
            timeout)["params"]

    def open(self, url):
        self.b.events.clear()
        loader = self.send("Page.navigate", {"url": url})["loaderId"]
        # The load of this navigation, not a late one of the page before.
        self.event("Page.lifecycleEvent", lambda p: p["loaderId"] == loader and p["name"] == "load")

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", {"expression": expression, "returnByValue": True})
        check("exceptionDetails" not in result, f"script failed: {result}")
        return result["result"].get("value")

    def press_arrow_down(self):
        for kind in ("rawKeyDown", "keyUp"):
            self.send("Input.dispatchKeyEvent",
                      {"type": kind, "key": "ArrowDown", "code": "ArrowDown", "windowsVirtualKeyCode": 40})

    def type_letter(self, letter):
        """A letter typed on a closed drop-down selects the next entry that begins with it."""
        upper = letter.upper()
        key = {"key": letter, "code": "Key" + upper, "windowsVirtualKeyCode": ord(upper)}
        self.send("Input.dispatchKeyEvent", {"type": "keyDown", "text": letter, **key})
        self.send("Input.dispatchKeyEvent", {"type": "keyUp", **key})

    def choose(self, menu_index, keys):
        """Chooses an entry of a drop-down with the keyboard; the address the page then goes to."""
        self.evaluate(f"document.querySelectorAll('select')[{menu_index}].focus()")
        keys()
        # Only the page's own navigation: a late request of the page before
        # (its icon, say) may still be reported.
        request = self.event("Fetch.requestPaused", lambda p: p.get("resourceType") == "Document", timeout=15)
        body = base64.b64encode(b"<!DOCTYPE html><title>arrived</title>").decode()
        self.send("Fetch.fulfillRequest", {"requestId": request["requestId"], "responseCode": 200,
                                           "responseHeaders": [{"name": "Content-Type", "value": "text/html"}],
                                           "body": body})
        url = request["request"]["url"]
        self.event("Page.frameNavigated", lambda p: "parentId" not in p["frame"] and p["frame"]["url"] == url)
        return url


def run(args):
    base = os.path.abspath(args.work)
    os.makedirs(base, exist_ok=True)
    folder = tempfile.mkdtemp(prefix="example-page-", dir=base)
    try:
        for name in EXAMPLE_FILES:
            shutil.copyfile(os.path.join(args.examples, name), os.path.join(folder, name))
        with open(os.path.join(folder, "Pravel_Input.txt"), "rb") as f:
            menus = expected_menus(f.read().decode("latin-1"))
        built = subprocess.run([args.cli, "-C", folder, "build", "Pravel_Input.txt"], capture_output=True, text=True)
        check(built.returncode == 0, f"pravel-cli build failed ({built.returncode}): {built.stderr}")
        page_url = "file://" + os.path.join(folder, "Pravel.html")

        if not (shutil.which("chromium") or shutil.which("chromium-browser")):
            print("SKIP: chromium is not installed (scripts/setup-deps.sh installs it)")
            return 77
        with open(os.path.join(folder, "chromium.log"), "wb") as log:
            browser = Chromium(os.path.join(folder, "profile"), log)
            try:
                page = Page(browser)
                page.open(page_url)
                check(page.evaluate("document.compatMode") == "CSS1Compat", "the page is not in standards mode")
                shown = page.evaluate("""[...document.querySelectorAll('select')].map(s => ({
                    name: s.name,
                    options: [...s.options].map(o => [o.textContent, o.getAttribute('value')]),
                    visible: s.getBoundingClientRect().width > 0 }))""")
                check([s["name"] for s in shown] == list(menus),
                      f"drop-downs {[s['name'] for s in shown]}, expected one per menu: {list(menus)}")
                for select_shown, (name, entries) in zip(shown, menus.items()):
                    check(select_shown["visible"], f"the drop-down {name} is not visible")
                    check(select_shown["options"][0] == [name, ""], f"{name}: first option {select_shown['options'][0]}")
                    check([tuple(o) for o in select_shown["options"][1:]] == entries,
                          f"{name}: options {select_shown['options'][1:]}, expected {entries}")
                print(f"ok: standards mode, {len(shown)} drop-downs, one per menu, with their entries")

                for index, (name, entries) in enumerate(menus.items()):
                    # The first entry with the down arrow; then the first that
                    # begins with the last entry's first letter, by typing it.
                    letter = entries[-1][0][0].lower()
                    typed = next(e for e in entries if e[0].lower().startswith(letter))
                    for how, keys, entry in (("down arrow", page.press_arrow_down, entries[0]),
                                             (f"typing {letter!r}", lambda: page.type_letter(letter), typed)):
                        page.open(page_url)
                        went = page.choose(index, keys)
                        check(went == entry[1], f"{name}: choosing {entry[0]} went to {went}, not {entry[1]}")
                        print(f"ok: {name}: {how} chose {entry[0]!r} and went to {went}")
            finally:
                browser.close()
        return 0
    finally:
        if not args.keep:
            shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True, help="the pravel-cli program")
    parser.add_argument("--examples", required=True, help="the examples folder")
    parser.add_argument("--work", required=True, help="a folder for the test's temporary folder")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()
    try:
        return run(args)
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
