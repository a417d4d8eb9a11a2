"""Drives the built page (build/web/) in Debian's headless Chromium through Selenium, for the
browser test and the measurements. Run under /usr/bin/python3, where Debian's selenium is.

The page is served from a thread of this process on 127.0.0.1; the trace comes from
window.kavronaTrace (?trace=1).
"""

import functools
import http.server
import os
import shutil
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains

HERE = os.path.dirname(os.path.abspath(__file__))


# The page's own server (serve.py) lives beside this file.
sys.path.insert(0, HERE)
import serve  # noqa: E402


class Server:
    """The folder on a free port of 127.0.0.1, for as long as the object lives."""

    def __init__(self, folder):
        serve.Handler.quiet = True
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(serve.Handler, directory=folder))
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Browser:
    """A headless Chromium with a profile of its own (its IndexedDB lasts across reloads)."""

    def __init__(self, width=1000, height=820):
        self.profile = tempfile.mkdtemp(prefix="kavrona-chromium-")
        options = Options()
        options.binary_location = os.environ.get("KAVRONA_CHROMIUM", "/usr/bin/chromium")
        for arg in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                    f"--window-size={width},{height}", f"--user-data-dir={self.profile}",
                    "--autoplay-policy=no-user-gesture-required", "--no-first-run"]:
            options.add_argument(arg)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        service = Service(os.environ.get("KAVRONA_CHROMEDRIVER", "/usr/bin/chromedriver"))
        self.driver = webdriver.Chrome(service=service, options=options)
        self.driver.set_script_timeout(30)

    def close(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def trace(self, since=0):
        return self.js("return (window.kavronaTrace || []).slice(arguments[0])", since) or []

    def trace_length(self):
        return self.js("return (window.kavronaTrace || []).length") or 0

    def wait_for(self, kind, since=0, timeout=10.0, count=1, where=None):
        """The count-th event of kind at or after index since; raises TimeoutError without it."""
        deadline = time.monotonic() + timeout
        while True:
            events = self.trace(since)
            found = [(since + i, e) for i, e in enumerate(events) if e["ev"] == kind and (where is None or where(e))]
            if len(found) >= count:
                return found[count - 1]
            if time.monotonic() > deadline:
                seen = [e["ev"] for e in events][-12:]
                raise TimeoutError(f"no {kind} event within {timeout} s (last events: {seen})")
            time.sleep(0.02)

    def wait_for_any(self, kinds, since=0, timeout=10.0):
        """The first event of any of kinds at or after index since."""
        deadline = time.monotonic() + timeout
        while True:
            for i, e in enumerate(self.trace(since)):
                if e["ev"] in kinds:
                    return since + i, e
            if time.monotonic() > deadline:
                raise TimeoutError(f"none of {kinds} within {timeout} s")
            time.sleep(0.02)

    def key(self, name, hold_ms=80):
        """A key press (Keys.ENTER, "a", ...) on whatever has the focus, through WebDriver's input,
        which the browser takes for the player's own (full screen needs that)."""
        ActionChains(self.driver).key_down(name).pause(hold_ms / 1000.0).key_up(name).perform()
        time.sleep(0.03)

    def click_frame(self, x, y):
        """A left click at frame pixel (x, y) of the 800 x 600 picture, wherever the page put it."""
        canvas = self.driver.find_element("id", "screen")
        box = self.js("""
            var r = arguments[0].getBoundingClientRect(), scale = Math.min(r.width / 800, r.height / 600);
            return [r.width, r.height, scale];
        """, canvas)
        width, height, scale = box
        # Offsets from the element's centre, to the middle of the frame pixel.
        dx = (x + 0.5 - 400) * scale
        dy = (y + 0.5 - 300) * scale
        ActionChains(self.driver).move_to_element_with_offset(canvas, int(round(dx)), int(round(dy))).click().perform()

    def canvas_colours(self):
        """How many different colours the visible canvas shows (a blank one shows one)."""
        return self.js("""
            var c = document.getElementById('screen'), ctx = c.getContext('2d');
            var d = ctx.getImageData(0, 0, c.width, c.height).data, seen = new Set();
            for (var i = 0; i < d.length; i += 4 * 97) seen.add((d[i] << 16) | (d[i + 1] << 8) | d[i + 2]);
            return seen.size;
        """)

    def start_hover(self, height=200):
        """Holds the climb key (Down) whenever the helicopter sinks below height, from the page
        itself, so that the frame loop runs on without WebDriver's delays in the way."""
        self.js("""
            var height = arguments[0], trace = window.kavronaTrace, canvas = document.getElementById('screen');
            var climbing = false, push = trace.push.bind(trace);
            var send = function(type) {
                canvas.dispatchEvent(new KeyboardEvent(type, {code: 'ArrowDown', key: 'ArrowDown', bubbles: true}));
            };
            trace.push = function(e) {
                if (e.ev === 'frame') {
                    var want = e.y + 12 * e.vy > height;
                    if (want !== climbing) { send(want ? 'keydown' : 'keyup'); climbing = want; }
                }
                return push(e);
            };
        """, height)

    def main_thread_seconds(self):
        """The page's main-thread task time so far (DevTools' Performance metrics), in seconds."""
        metrics = self.driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]
        return {m["name"]: m["value"] for m in metrics}["TaskDuration"]
