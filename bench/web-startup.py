#!/usr/bin/env python3
"""Start-up of the web page in headless Chromium against a static page that draws an equal
window with plain HTML and CSS: the first contentful paint of each, over alternating runs, and
their medians; then the first F1 against the second, from the key to the frame that shows the
fish window; and the page's size, plain and gzipped.
Usage: bench/web-startup.py PAGE [runs each, default 21]"""

import gzip
import pathlib
import statistics
import sys
import tempfile
import time

root = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(root / "scripts"))
from chromium import Chromium  # noqa: E402

page = pathlib.Path(sys.argv[1]).resolve()
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21

# The yardstick: the page's own shell and style, with the main window written out in HTML.
shell = (root / "app/web/page.html").read_text()
window = """<section class="window active" role="region" style="left:399px;top:327px">
<header class="title"><span class="caption">Варкело</span><span class="buttons">
<button class="minimise"></button><button class="close"></button></span></header>
<nav class="menubar"><button class="heading">Меню</button>
<button class="heading">Дополнительно</button></nav>
<div class="client" style="width:225px;height:74px"><button class="button"
style="left:82px;top:20px;width:60px;height:30px">Расчёт</button></div></section>"""
taskbar = '<nav id="taskbar"><button class="task" aria-pressed="true">Варкело</button></nav>'
baseline = pathlib.Path(tempfile.mkdtemp()) / "baseline.html"
baseline.write_text(shell.replace('<main id="desktop"></main>',
                                  f'<main id="desktop">{window}</main>{taskbar}')
                    .replace("{{{ SCRIPT }}}", ""))

browser = Chromium()


def first_paint(path):
    browser.call("Page.navigate", url=path.as_uri())
    while True:
        paint = browser.evaluate(
            "performance.getEntriesByName('first-contentful-paint')[0]?.startTime")
        if paint:
            return paint
        time.sleep(0.005)


# From the key to the frame that first draws the fish window: its animation callbacks, which
# run as the frame is drawn.
WATCH = """new Promise(shown => {
    const fish = document.querySelector('[data-form="Form2"]');
    addEventListener('keydown', e => window.pressed = e.timeStamp, {capture: true, once: true});
    new MutationObserver((changes, observer) => { if (!fish.hidden) { observer.disconnect();
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
        browser.call("Runtime.evaluate", expression=f"window.watch = {WATCH}")
        browser.key("F1", 112)
        into.append(browser.evaluate("window.watch"))
        browser.key("Escape", 27)
browser.close()

median = statistics.median
print(f"runs each: {runs} (alternating), headless Chromium")
print(f"first contentful paint (ms): page {median(program):.1f}, static page {median(static):.1f}, "
      f"ratio {median(program) / median(static):.2f}")
print(f"F1 to the frame with the fish window (ms): first {median(first):.1f}, "
      f"second {median(second):.1f}")
print(f"{page.name}: {page.stat().st_size} bytes, "
      f"{len(gzip.compress(page.read_bytes(), 9))} gzipped")
