#!/usr/bin/env python3
"""The page built from examples/ in headless Chromium.

Builds the example with pravel-cli in a fresh folder and opens the page in
Chromium, driven over its DevTools pipe: the page is in standards mode, has
a drop-down per menu, it fits a 360-pixel phone and a 1,000-pixel window
without sideways scrolling, and choosing an entry with the keyboard goes to
the entry's address (answered here: no network is used).
"""
import argparse, base64, fcntl, json, os, select, shutil, signal, subprocess, tempfile, time


class Browser:
    """Headless Chromium; one tab, whose requests to web addresses are answered here."""

    def __init__(self, profile, log):
        # The browser reads commands from its fd 3 and writes to its fd 4;
        # the pipe ends are first moved above 4 so placing them cannot clash.
        to_r, self.writer = os.pipe()
        self.reader, from_w = os.pipe()
        ends = [fcntl.fcntl(fd, fcntl.F_DUPFD_CLOEXEC, 10) for fd in (to_r, from_w)]
        os.close(to_r), os.close(from_w)
        self.proc = subprocess.Popen(
            [shutil.which("chromium"), "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--user-data-dir=" + profile, "--remote-debugging-pipe", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=log, stderr=log, pass_fds=(3, 4), start_new_session=True,
            preexec_fn=lambda: (os.dup2(ends[0], 3), os.dup2(ends[1], 4)))
        os.close(ends[0]), os.close(ends[1])
        self.buffer, self.events, self.next_id, self.session = b"", [], 0, None
        target = self.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.send("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        self.send("Page.enable")
        self.send("Page.setLifecycleEventsEnabled", {"enabled": True})
        self.send("Fetch.enable", {"patterns": [{"urlPattern": "http*://*"}]})

    def read(self, deadline):
        while b"\0" not in self.buffer:
            assert select.select([self.reader], [], [], max(0, deadline - time.monotonic()))[0], "no answer in time"
            chunk = os.read(self.reader, 65536)
            assert chunk, "the browser closed its pipe"
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, params=None):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if self.session:
            message["sessionId"] = self.session
        os.write(self.writer, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + 30
        while (reply := self.read(deadline)).get("id") != self.next_id:
            self.events.append(reply)
        assert "error" not in reply, f"{method}: {reply.get('error')}"
        return reply.get("result", {})

    def event(self, method, wanted):
        deadline = time.monotonic() + 30
        while True:
            for i, e in enumerate(self.events):
                if e.get("method") == method and wanted(e["params"]):
                    return self.events.pop(i)["params"]
            self.events.append(self.read(deadline))

    def open(self, url):
        self.events.clear()
        loader = self.send("Page.navigate", {"url": url})["loaderId"]
        self.event("Page.lifecycleEvent", lambda p: p["loaderId"] == loader and p["name"] == "load")

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", {"expression": expression, "returnByValue": True})
        assert "exceptionDetails" not in result, f"script failed: {result}"
        return result["result"].get("value")

    def choose_first_entry(self, index):
        """The address the page goes to when the down arrow chooses the first entry of a drop-down."""
        self.evaluate(f"document.querySelectorAll('select')[{index}].focus()")
        for kind in ("rawKeyDown", "keyUp"):
            self.send("Input.dispatchKeyEvent", {"type": kind, "key": "ArrowDown", "windowsVirtualKeyCode": 40})
        request = self.event("Fetch.requestPaused", lambda p: p.get("resourceType") == "Document")
        self.send("Fetch.fulfillRequest", {"requestId": request["requestId"], "responseCode": 200,
                                           "body": base64.b64encode(b"<!DOCTYPE html>arrived").decode()})
        return request["request"]["url"]

    def close(self):
        try:
            self.send("Browser.close")
            self.proc.wait(timeout=15)
        except Exception:
            pass
        try:
            os.killpg(self.proc.pid, signal.SIGKILL)  # whatever of it is left
        except ProcessLookupError:
            pass
        self.proc.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--examples", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="example-page-") as folder:
        shutil.copytree(args.examples, folder, dirs_exist_ok=True)
        built = subprocess.run([args.cli, "-C", folder, "build", "Pravel_Input.txt"], capture_output=True, text=True)
        assert built.returncode == 0, f"pravel-cli build failed: {built.stderr}"
        page = "file://" + os.path.join(folder, "Pravel.html")
        with open(os.path.join(folder, "chromium.log"), "wb") as log:
            browser = Browser(os.path.join(folder, "profile"), log)
            try:
                browser.open(page)
                assert browser.evaluate("document.compatMode") == "CSS1Compat", "the page is not in standards mode"
                menus = browser.evaluate("[...document.querySelectorAll('select')].map(s => s.options[1].value)")
                with open(os.path.join(folder, "Pravel_Input.txt"), "rb") as definition:
                    assert len(menus) == definition.read().count(b"menuname=<"), f"{len(menus)} drop-downs, not one per menu"
                for width in (360, 1000):
                    browser.send("Emulation.setDeviceMetricsOverride",
                                 {"width": width, "height": 800, "deviceScaleFactor": 1, "mobile": width < 600})
                    browser.open(page)
                    wide = browser.evaluate("[document.documentElement.scrollWidth, document.documentElement.clientWidth]")
                    assert wide[0] <= wide[1], f"at {width} pixels the page is {wide[0]} wide: it scrolls sideways"
                for index, address in enumerate(menus):
                    browser.open(page)
                    went = browser.choose_first_entry(index)
                    assert went == address, f"drop-down {index}: went to {went}, not {address}"
                print(f"ok: {len(menus)} drop-downs, each goes to its first entry's address; no sideways scrolling")
            finally:
                browser.close()


if __name__ == "__main__":
    main()
