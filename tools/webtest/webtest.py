#!/usr/bin/env python3
# webtest: runs the browser build in headless Chromium (or Firefox on a virtual X server)
# against a server of its own on 127.0.0.1 and judges what the page hands back. A test
# run compares the frames of the given programme times with the capture tool's PNGs of
# the same times, fps and size (mean absolute difference per channel, 0-255) and writes
# a contact sheet; a timing run checks how long the first frame takes after the start
# is answered, and that the clock follows the music.
import argparse
import http.server
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pngio  # noqa: E402


class Results:
    def __init__(self):
        self.frames = {}  # wanted time -> (shown time, width, height, RGBA bottom row first)
        self.report = None
        self.done = threading.Event()


def make_handler(site, results):
    class Handler(http.server.SimpleHTTPRequestHandler):
        def __init__(self, *args, **kwargs):
            super().__init__(*args, directory=site, **kwargs)

        def do_POST(self):
            url = urllib.parse.urlparse(self.path)
            body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
            query = {k: v[0] for k, v in urllib.parse.parse_qs(url.query).items()}
            if url.path == "/frame":
                results.frames[int(query["t"])] = (int(query["shown"]), int(query["w"]), int(query["h"]), body)
            elif url.path == "/report":
                results.report = json.loads(body or b"{}")
                results.done.set()
            self.send_response(204)
            self.end_headers()

        def log_message(self, *args):
            pass

    return Handler


# Firefox: sound without a click, WebGL without a GPU, and nothing of its own on the network.
FIREFOX_PREFS = {
    "media.autoplay.default": 0, "media.autoplay.blocking_policy": 0, "webgl.force-enabled": True,
    "browser.shell.checkDefaultBrowser": False, "datareporting.policy.dataSubmissionEnabled": False,
    "toolkit.telemetry.reportingpolicy.firstRun": False, "app.update.enabled": False, "app.normandy.enabled": False,
    "extensions.update.enabled": False, "browser.safebrowsing.malware.enabled": False,
    "browser.safebrowsing.phishing.enabled": False, "network.captive-portal-service.enabled": False,
    "network.connectivity-service.enabled": False, "browser.startup.homepage_override.mstone": "ignore",
    "webgl.disable-fail-if-major-performance-caveat": True, "devtools.console.stdout.content": True,
}


def browser_command(browser, profile, window, url):
    if browser == "chromium":
        return [
            "chromium", "--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
            "--disable-gpu-sandbox", "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--no-first-run", "--disable-quic", "--user-data-dir=" + profile,
            "--autoplay-policy=no-user-gesture-required", "--enable-logging=stderr", "--log-level=0",
            "--window-size=%d,%d" % window, url,
        ]
    with open(os.path.join(profile, "user.js"), "w") as prefs:
        for name, value in FIREFOX_PREFS.items():
            prefs.write("user_pref(%s, %s);\n" % (json.dumps(name), json.dumps(value)))
    # Headless Firefox finds no GL driver for WebGL here; on an X server of its own it uses Mesa's.
    return ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", browser, "--no-remote", "--profile", profile,
            "--width", str(window[0]), "--height", str(window[1]), url]


def run_page(args, query, window, log_path):
    """Serves the site, opens index.html?query in the headless browser, returns Results."""
    results = Results()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), make_handler(args.site, results))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = "http://127.0.0.1:%d/index.html?%s" % (server.server_address[1], query)
    profile = tempfile.mkdtemp(prefix="webtest-browser-")
    command = browser_command(args.browser, profile, window, url)
    timeout = args.timeout
    with open(log_path, "w") as log:
        browser = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        try:
            results.done.wait(timeout)
        finally:
            os.killpg(browser.pid, signal.SIGTERM)
            try:
                browser.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(browser.pid, signal.SIGKILL)
                browser.wait()
            server.shutdown()
            shutil.rmtree(profile, ignore_errors=True)
    return results


def web_rgb(width, height, rgba):
    """RGBA bottom row first -> RGB top row first."""
    stride = width * 4
    rows = [rgba[y * stride:(y + 1) * stride] for y in range(height - 1, -1, -1)]
    flat = bytearray(b"".join(rows))
    del flat[3::4]
    return bytes(flat)


def mean_abs_diff(a, b):
    return sum(abs(x - y) for x, y in zip(a, b)) / len(a)


def contact_sheet(path, pairs):
    """One row per frame: native, web, and their difference (x4). `pairs`: (width, height, native, web)."""
    gap = 4
    cell_w = max(p[0] for p in pairs)
    sheet_w = 3 * cell_w + 2 * gap
    sheet_h = sum(p[1] for p in pairs) + (len(pairs) - 1) * gap
    sheet = bytearray(b"\x40" * (sheet_w * sheet_h * 3))
    y0 = 0
    for width, height, native, web in pairs:
        diff = bytes(min(255, 4 * abs(x - y)) for x, y in zip(native, web))
        for column, picture in enumerate((native, web, diff)):
            x0 = column * (cell_w + gap)
            for y in range(height):
                at = ((y0 + y) * sheet_w + x0) * 3
                sheet[at:at + width * 3] = picture[y * width * 3:(y + 1) * width * 3]
        y0 += height + gap
    pngio.write_rgb(path, sheet_w, sheet_h, bytes(sheet))


def test_run(args):
    times = [int(t) for t in args.times.split(",")]
    width, height = (int(v) for v in args.size.split("x"))
    query = "test&fps=%d&size=%dx%d&times=%s" % (args.fps, width, height, args.times)
    if args.keys:
        query += "&keys=" + args.keys
    if args.to_end:
        query += "&end"
    started = time.monotonic()
    results = run_page(args, query, (width, height), os.path.join(args.out, "browser.log"))
    seconds = time.monotonic() - started
    report = results.report
    failures = []
    if report is None:
        failures.append("the page sent no report within %d s" % args.timeout)
    elif report.get("problem") or report.get("exitCode") != 0:
        failures.append("the page reported %s" % json.dumps(report))
    print("webtest: test run%s at %d fps, %dx%d: %.1f s in %s" %
          (" with keys " + args.keys if args.keys else "", args.fps, width, height, seconds, args.browser))
    if report is not None:
        for box in report.get("boxes", []):
            print("webtest: the page showed a box: %s" % box)
        print("webtest: music decoded in the page: %s s" % report.get("trackSeconds", "no"))
        if report.get("framesDrawn"):
            print("webtest: start-up %d ms; %d frames drawn in %.1f s (%.1f ms a frame, read-back included)" %
                  (report["startupMs"], report["framesDrawn"], report["drawingMs"] / 1000,
                   report["drawingMs"] / report["framesDrawn"]))
    if report is not None and args.to_end:
        # Frames at floor(k * 1000 / fps) ms are presented while that time is before 185900 ms.
        presented = (185900 * args.fps - 1) // 1000 + 1
        if report.get("framesDrawn") != presented:
            failures.append("the programme ended after %s frames, not %d" % (report.get("framesDrawn"), presented))
    if report is not None and report.get("trackSeconds", 0) < args.min_track_seconds:
        failures.append("the music decoded to %s s, not at least %.1f s" % (report.get("trackSeconds"),
                                                                         args.min_track_seconds))
    pairs = []
    print("  %-9s %-9s %s" % ("time(ms)", "shown", "mean abs diff (0-255)"))
    for t in times:
        native_path = os.path.join(args.native, "t%06d.png" % t)
        nw, nh, native = pngio.read_rgb(native_path)
        if t not in results.frames:
            failures.append("no web frame for %d ms" % t)
            continue
        shown, ww, wh, rgba = results.frames[t]
        if (ww, wh) != (nw, nh) or len(rgba) != ww * wh * 4:
            failures.append("the web frame of %d ms is %dx%d, the native one %dx%d" % (t, ww, wh, nw, nh))
            continue
        web = web_rgb(ww, wh, rgba)
        pngio.write_rgb(os.path.join(args.out, "web-t%06d.png" % t), ww, wh, web)
        difference = mean_abs_diff(native, web)
        print("  %-9d %-9d %.2f" % (t, shown, difference))
        if shown != t:
            failures.append("the frame for %d ms was drawn at %d ms" % (t, shown))
        if difference > args.max_diff:
            failures.append("the frame of %d ms differs by %.2f (at most %.1f)" % (t, difference, args.max_diff))
        pairs.append((ww, wh, native, web))
    if pairs:
        sheet = os.path.join(args.out, "contact-sheet.png")
        contact_sheet(sheet, pairs)
        print("webtest: contact sheet (native | web | difference x4): %s" % sheet)
    return failures


def timing_run(args):
    results = run_page(args, "timing", (1024, 768), os.path.join(args.out, "browser-timing.log"))
    report = results.report
    if report is None:
        return ["the timing run sent no report within %d s" % args.timeout]
    print("webtest: first frame %s ms after the start; %s frames per second at 1024x768; clock: %s (audio %s)" %
          (report.get("firstFrameMs"), report.get("framesPerSecond"), report.get("clock"), report.get("audioState")))
    failures = []
    if report.get("problem") or report.get("exitCode") != 0:
        failures.append("the timing run reported %s" % json.dumps(report))
    if report.get("firstFrameMs") is None or report["firstFrameMs"] > args.max_first_frame_ms:
        failures.append("the first frame came after %s ms (at most %d)" % (report.get("firstFrameMs"),
                                                                         args.max_first_frame_ms))
    # Chromium plays sound headless (started without a click here); elsewhere there may be no sound device.
    if report.get("clock") != "audio" and (args.browser == "chromium" or report.get("audioState") == "running"):
        failures.append("the programme clock did not follow the music (clock: %s)" % report.get("clock"))
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--site", required=True, help="the built page (build-web)")
    parser.add_argument("--browser", default="chromium", help="chromium (default) or firefox-esr, run headless")
    parser.add_argument("--out", required=True, help="folder for logs, web frames and the contact sheet")
    parser.add_argument("--native", help="the capture tool's PNGs (test run)")
    parser.add_argument("--times", help="programme times in ms, comma-separated (test run)")
    parser.add_argument("--keys", help="keys the test run presses, MS:CODE with DOM codes (KeyI, F1, ...)")
    parser.add_argument("--to-end", action="store_true", help="play on to the programme's end (test run)")
    parser.add_argument("--max-download-mb", type=float, default=15.0)
    parser.add_argument("--fps", type=int, default=5)
    parser.add_argument("--size", default="320x240")
    parser.add_argument("--max-diff", type=float, default=8.0)
    parser.add_argument("--min-track-seconds", type=float, default=0.0, help="shortest acceptable decoded music")
    parser.add_argument("--timing", action="store_true", help="also the timing run")
    parser.add_argument("--max-first-frame-ms", type=int, default=3000)
    parser.add_argument("--timeout", type=int, default=150)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    failures = test_run(args) if args.times else []
    download = sum(os.path.getsize(os.path.join(args.site, "index." + kind)) for kind in ("html", "js", "wasm", "data"))
    if download > args.max_download_mb * 1e6:
        failures.append("the page is %.1f MB to download (at most %.1f)" % (download / 1e6, args.max_download_mb))
    if args.timing:
        failures += timing_run(args)
    for failure in failures:
        print("webtest: FAIL: %s" % failure)
    print("webtest: %s" % ("failed" if failures else "passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
