#!/usr/bin/python3
"""The browser version's figures, measured in headless Chromium on 127.0.0.1.

Prints what the page downloads (raw and gzip-compressed, the fonts apart), the time from the
start of the load to the first picture and to the entry dialog, the main thread's share of a
core while the entry dialog waits, and the frame pacing of 30 s of flight (the helicopter kept
in the air from the page), from the ?trace=1 frame times. With --shots DIR it also saves the
page's screenshots: the entry dialog, a briefing, flight and the system menu. The main thread's
share of a core during the flight is printed too.

  /usr/bin/python3 tools/web/measure.py build/web [--seconds 30] [--shots docs]
"""

import argparse
import gzip
import json
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "measure"))
import page_driver  # noqa: E402
import pacing  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402


def sizes(folder):
    page = {"raw": 0, "gzip": 0}
    fonts = {"raw": 0, "gzip": 0}
    for root, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                data = f.read()
            side = fonts if name.endswith(".ttf") else page
            side["raw"] += len(data)
            side["gzip"] += len(gzip.compress(data, 9))
    return page, fonts


def shot(browser, folder, name):
    if folder:
        path = os.path.join(folder, name)
        browser.driver.find_element("id", "stage").screenshot(path)
        print(f"screenshot: {path}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("web_dir")
    parser.add_argument("--seconds", type=float, default=30.0)
    parser.add_argument("--idle-seconds", type=float, default=10.0)
    parser.add_argument("--shots", help="a folder for the screenshots")
    args = parser.parse_args()

    page, fonts = sizes(args.web_dir)
    figures = {"download_mb": round(page["raw"] / 1e6, 2), "download_gzip_mb": round(page["gzip"] / 1e6, 2),
               "fonts_mb": round(fonts["raw"] / 1e6, 2), "fonts_gzip_mb": round(fonts["gzip"] / 1e6, 2)}

    server = page_driver.Server(args.web_dir)
    browser = page_driver.Browser(width=1000, height=820)
    try:
        d = browser.driver
        d.execute_cdp_cmd("Performance.enable", {})
        d.get(server.url + "?trace=1")
        index, dialog = browser.wait_for("dialog", timeout=30)
        # Both from the start of the navigation; the trace's t counts from the game's start.
        figures["first_picture_ms"] = round(browser.js("return window.kavronaFirstPicture"))
        figures["entry_dialog_ms"] = round(browser.js("return window.kavronaStartedAt") + dialog["t"])
        time.sleep(1.0)
        shot(browser, args.shots, "web_entry.png")
        before, began = browser.main_thread_seconds(), time.monotonic()
        time.sleep(args.idle_seconds)
        figures["dialog_wait_cpu_percent"] = round(
            100 * (browser.main_thread_seconds() - before) / (time.monotonic() - began), 2)

        d.switch_to.active_element.send_keys("ACE")
        browser.key(Keys.ENTER)
        index, _ = browser.wait_for("dialog", since=index + 1)
        browser.key(Keys.ENTER)
        index, _ = browser.wait_for("typed", since=index, timeout=40)
        index, _ = browser.wait_for("wait", since=index, timeout=10)
        shot(browser, args.shots, "web_briefing.png")
        browser.start_hover()
        browser.key(Keys.SPACE)
        index, first = browser.wait_for("frame", since=index, timeout=10)
        before, began = browser.main_thread_seconds(), time.monotonic()
        time.sleep(2.0)
        shot(browser, args.shots, "web_flight.png")
        time.sleep(max(0.0, args.seconds - 2.0))
        figures["flight_cpu_percent"] = round(
            100 * (browser.main_thread_seconds() - before) / (time.monotonic() - began), 1)
        frames = [e for e in browser.trace(index) if e["ev"] == "frame"]
        outcome = [e for e in browser.trace(index) if e["ev"] in ("outcome", "clear")]
        intervals = pacing.frame_intervals(json.dumps(e) for e in frames)
        ordered = sorted(intervals)
        figures.update({"flight_frames": len(frames), "frame_median_ms": pacing.percentile(ordered, 50),
                        "frame_p99_ms": pacing.percentile(ordered, 99), "frame_max_ms": ordered[-1] if ordered else None,
                        "flight_ended_early": bool(outcome)})

        if args.shots:
            # The system menu: from the next briefing's wait, M.
            browser.js("window.kavronaTrace.push = Array.prototype.push")
            browser.key(Keys.ESCAPE)
            d.get(server.url + "?trace=1")
            index, _ = browser.wait_for("dialog", timeout=30)
            # The entry dialog, and the notice should it come again: Enter answers each.
            while True:
                browser.key(Keys.ENTER)
                index, event = browser.wait_for_any(("wait", "dialog"), since=index + 1, timeout=40)
                if event["ev"] == "wait":
                    break
            browser.key("m")
            browser.wait_for("dialog", since=index, timeout=10)
            time.sleep(0.5)
            shot(browser, args.shots, "web_menu.png")
    finally:
        print(json.dumps(figures, indent=1))
        browser.close()
        server.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
