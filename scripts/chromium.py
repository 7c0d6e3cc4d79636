"""Headless Chromium driven over its DevTools pipe (commands on descriptor 3, answers on 4),
for the web page's benchmark and screenshots."""

import fcntl
import json
import os
import subprocess
import tempfile
import time


class Chromium:
    def __init__(self, width=1024, height=768, phone=False):
        to_browser, self.out = os.pipe()
        answers, from_browser = os.pipe()
        # Above 4 first, so that placing one cannot close the other.
        to_browser, from_browser = (fcntl.fcntl(fd, fcntl.F_DUPFD, 10)
                                    for fd in (to_browser, from_browser))
        self.process = subprocess.Popen(
            ["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--remote-debugging-pipe", f"--user-data-dir={tempfile.mkdtemp()}", "about:blank"],
            pass_fds=(3, 4), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=lambda: (os.dup2(to_browser, 3), os.dup2(from_browser, 4)))
        self.reader, self.id, self.session = os.fdopen(answers, "rb"), 0, None
        targets = []
        while not targets:
            targets = [t for t in self.call("Target.getTargets")["targetInfos"]
                       if t["type"] == "page"]
        self.session = self.call("Target.attachToTarget", targetId=targets[0]["targetId"],
                                 flatten=True)["sessionId"]
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=1, mobile=phone)
        self.call("Emulation.setTouchEmulationEnabled", enabled=phone)
        self.call("Emulation.setFocusEmulationEnabled", enabled=True)

    def call(self, method, **params):
        self.id += 1
        message = {"id": self.id, "method": method, "params": params}
        if self.session:
            message["sessionId"] = self.session
        os.write(self.out, json.dumps(message).encode() + b"\0")
        while True:
            answer = json.loads(b"".join(iter(lambda: self.reader.read(1), b"\0")))
            if answer.get("id") == self.id:
                return answer.get("result", {})

    def evaluate(self, script):
        return self.call("Runtime.evaluate", expression=script, returnByValue=True,
                         awaitPromise=True)["result"].get("value")

    def open(self, path):
        self.call("Page.navigate", url=path.as_uri())
        while self.evaluate("document.readyState") != "complete":
            time.sleep(0.01)

    def key(self, name, code=0, text=""):
        """A key down and up; code is its Windows key code, text what it types."""
        for kind in ("keyDown" if text else "rawKeyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, key=name, code=name,
                      windowsVirtualKeyCode=code, text=text)

    def type(self, text):
        for character in text:
            self.key(character, 0, character)

    def tap(self, selector, text):
        """A finger's tap on the element of that selector with that text."""
        x, y = self.evaluate(f"""(r => [r.x + r.width / 2, r.y + r.height / 2])(
            [...document.querySelectorAll('{selector}')].find(e => e.textContent === '{text}')
            .getBoundingClientRect())""")
        self.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        self.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def screenshot(self, path):
        import base64
        path.write_bytes(base64.b64decode(self.call("Page.captureScreenshot")["data"]))

    def close(self):
        self.call("Browser.close")
        self.process.wait()
