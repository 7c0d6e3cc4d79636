#!/usr/bin/env python3
"""The README's pictures of the web page, from the built page in headless Chromium: on a
desktop (docs/screenshots/web.png) and on a phone-sized screen, by touch (web-phone.png).
Usage: scripts/web-screenshots.py PAGE OUTPUT_FOLDER"""

import pathlib
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from chromium import Chromium  # noqa: E402

page, out = pathlib.Path(sys.argv[1]).resolve(), pathlib.Path(sys.argv[2])

# On a desktop: bait and fish stored, the fish window shown again, and the result over it.
desktop = Chromium(800, 600)
desktop.open(page)
for step in [("F2", 113), "2", ("Enter", 13, "\r"), ("F1", 112), "3", ("Tab", 9), "12",
             ("Tab", 9), "0", ("Tab", 9), "5", ("Enter", 13, "\r"), ("F1", 112), ("F4", 115)]:
    desktop.type(step) if isinstance(step, str) else desktop.key(*step)
time.sleep(0.3)
desktop.screenshot(out / "web.png")
desktop.close()

# On a phone, by touch: the fish window opened from the menu, a count typed.
phone = Chromium(360, 640, phone=True)
phone.open(page)
for selector, text in [(".menubar .heading", "Меню"), (".menubar .item > :first-child",
                                                        "Выловленная рыба"),
                       ("label", "Пескарь:")]:
    phone.tap(selector, text)
phone.key("Backspace", 8)
phone.type("7")
time.sleep(0.3)
phone.screenshot(out / "web-phone.png")
phone.close()
