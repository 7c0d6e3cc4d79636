#!/usr/bin/env python3
"""Start-up of the web page in headless Chromium against a static page that draws an equal
window with plain HTML and CSS: the first contentful paint of each, over alternating runs, and
their medians; then the first F1 against the second, from the key to the frame that shows the
fish window; and the page's size, plain and gzipped.
Usage: bench/web-startup.py PAGE [runs each, default 21]"""

import fcntl
import gzip
import json
import os
import pathlib
import re
import statistics
import subprocess
import sys
import tempfile
import time

page = pathlib.Path(sys.argv[1]).resolve()
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21

# The yardstick: the page's own shell and style, with the main window written out in HTML.
shell = (pathlib.Path(__file__).parent.parent / "app/web/page.html").read_text()
window = """<section class="window active" role="region" style="left:399px;top:327px">
<header class="title"><span class="caption">Варкело</span><span class="buttons">
<button class="minimise"></button><button class="close"></button></span></header>
<nav class="menubar"><button class="heading"><span>Меню</span></button>
<button class="heading"><span>Дополнительно</span></button></nav>
<div class="client" style="width:225px;height:74px"><button class="button"
style="left:82px;top:20px;width:60px;height:30px">Расчёт</button></div></section>"""
taskbar = '<nav id="taskbar"><button class="task" aria-pressed="true">Варкело</button></nav>'
baseline = pathlib.Path(tempfile.mkdtemp()) / "baseline.html"
baseline.write_text(shell.replace('<main id="desktop"></main>',
                                  f'<main id="desktop">{window}</main>{taskbar}')
                    .replace("{{{ SCRIPT }}}", ""))

# Headless Chromium over its DevTools pipe: commands on descriptor 3, answers on 4.
to_browser, from_us = os.pipe()
to_us, from_browser = os.pipe()
# Above 4 first, so that placing one cannot close the other.
to_browser, from_browser = (fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in (to_browser, from_browser))
profile = tempfile.mkdtemp()
chromium = subprocess.Popen(
    ["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
     "--disable-background-networking", "--disable-component-update", "--disable-sync",
     "--remote-debugging-pipe", f"--user-data-dir={profile}", "about:blank"],
    pass_fds=(3, 4), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
    preexec_fn=lambda: (os.dup2(to_browser, 3), os.dup2(from_browser, 4)))
reader, ids, session = os.fdopen(to_us, "rb"), iter(range(1, 10 ** 9)), None


def call(method, **params):
    number = next(ids)
    message = {"id": number, "method": method, "params": params}
    if session:
        message["sessionId"] = session
    os.write(from_us, json.dumps(message).encode() + b"\0")
    while True:
        answer = json.loads(b"".join(iter(lambda: reader.read(1), b"\0")))
        if answer.get("id") == number:
            return answer.get("result", {})


def evaluate(script):
    return call("Runtime.evaluate", expression=script, returnByValue=True,
                awaitPromise=True)["result"].get("value")


targets = []
while not targets:
    targets = [t for t in call("Target.getTargets")["targetInfos"] if t["type"] == "page"]
session = call("Target.attachToTarget", targetId=targets[0]["targetId"], flatten=True)["sessionId"]
call("Emulation.setDeviceMetricsOverride", width=1024, height=768, deviceScaleFactor=1,
     mobile=False)


def first_paint(path):
    call("Page.navigate", url=path.as_uri())
    while True:
        paint = evaluate("performance.getEntriesByName('first-contentful-paint')[0]?.startTime")
        if paint:
            return paint
        time.sleep(0.005)


def key(name, code):
    for kind in ("rawKeyDown", "keyUp"):
        call("Input.dispatchKeyEvent", type=kind, key=name, code=name, windowsVirtualKeyCode=code)


# From the key to the frame that first draws the fish window: its animation callbacks, which
# run as the frame is drawn.
WATCH = """new Promise(shown => {
    const fish = document.querySelector('[data-form="Form2"]');
    addEventListener('keydown', e => window.pressed = e.timeStamp, {capture: true, once: true});
    new MutationObserver((changes, observer) => { if (!fish.hidden) {
        observer.disconnect();
        requestAnimationFrame(() => shown(performance.now() - window.pressed)); } })
        .observe(fish, {attributes: true}); })"""

program, static, first, second = [], [], [], []
for run in range(runs + 1):  # the first of each only warms the caches
    times = first_paint(page), first_paint(baseline)
    if run:
        program.append(times[0]), static.append(times[1])
for _ in range(runs):
    first_paint(page)
    time.sleep(0.3)  # as a user looks at the main window before pressing a key
    for into in (first, second):
        call("Runtime.evaluate", expression=f"window.watch = {WATCH}")
        key("F1", 112)
        into.append(evaluate("window.watch"))
        key("Escape", 27)
call("Browser.close")
chromium.wait()

median = statistics.median
size = page.stat().st_size
print(f"runs each: {runs} (alternating), Chromium {chromium.args[0]}")
print(f"first contentful paint (ms): page {median(program):.1f}, static page {median(static):.1f}, "
      f"ratio {median(program) / median(static):.2f}")
print(f"F1 to the frame with the fish window (ms): first {median(first):.1f}, "
      f"second {median(second):.1f}")
print(f"{page.name}: {size} bytes, {len(gzip.compress(page.read_bytes(), 9))} gzipped")
