"""Pages opened in headless Chromium for the tests: start the browser, open a
file, read its console and the requests it made, take a picture of one
element, compare two pictures pixel by pixel. Needs Debian's chromium,
chromium-driver and python3-selenium; without them Unavailable is raised and
a test calls skip(), which exits 77 (CTest's skipped) unless CI is set."""
import base64
import json
import os
import pathlib
import shutil
import struct
import sys
import zlib

SKIP = 77


class Unavailable(Exception):
    """The browser, its driver or selenium is not installed."""


def skip(why):
    """Exits 77 saying why; under CI (env CI set) fails instead."""
    if os.environ.get("CI"):
        print("FAILED: " + why + " (CI is set: the browser is required)")
        sys.exit(1)
    print("skipped: " + why)
    sys.exit(SKIP)


def _program(env, names):
    for n in [os.environ[env]] if os.environ.get(env) else names:
        p = n if os.path.isabs(n) else shutil.which(n)
        if p and os.access(p, os.X_OK):
            return p
    return None


class Browser:
    """One headless Chromium, as root without its sandbox, at a fixed window
    size and one device pixel per CSS pixel; use it with "with"."""

    def __init__(self, width=1280, height=1024):
        try:
            from selenium import webdriver
            from selenium.webdriver.chrome.service import Service
        except ImportError as e:
            raise Unavailable("selenium is not installed for %s (%s)" % (sys.executable, e))
        # Debian's /usr/bin/chromium is a launcher script; the driver wants
        # the program itself.
        chromium = _program("ORV_CHROMIUM", ["/usr/lib/chromium/chromium", "chromium"])
        driver = _program("ORV_CHROMEDRIVER", ["chromedriver", "/usr/lib/chromium/chromedriver"])
        if not chromium:
            raise Unavailable("chromium is not installed")
        if not driver:
            raise Unavailable("chromedriver is not installed (chromium-driver)")
        o = webdriver.ChromeOptions()
        o.binary_location = chromium
        for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                  "--window-size=%d,%d" % (width, height), "--force-device-scale-factor=1",
                  "--hide-scrollbars", "--font-render-hinting=none", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update",
                  "--disable-sync", "--disable-default-apps", "--disable-extensions"):
            o.add_argument(a)
        o.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        self.driver = webdriver.Chrome(service=Service(driver), options=o)
        self.driver.set_page_load_timeout(60)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.driver.quit()

    def open(self, path):
        """Loads the file at path; the logs read next are this page's."""
        self.driver.get_log("browser")
        self.driver.get_log("performance")
        self.driver.get(pathlib.Path(path).resolve().as_uri())
        self.driver.execute_script("return document.fonts.ready.then(() => true)")

    def console(self, level="SEVERE"):
        """The console's messages of level since the page was opened."""
        return [m["message"] for m in self.driver.get_log("browser") if m["level"] == level]

    def requests(self):
        """The URLs of every request the page made since it was opened."""
        urls = []
        for m in self.driver.get_log("performance"):
            e = json.loads(m["message"])["message"]
            if e.get("method") == "Network.requestWillBeSent":
                urls.append(e["params"]["request"]["url"])
        return urls

    def elements(self, css):
        return self.driver.find_elements("css selector", css)

    def rect(self, element):
        """The element's box in page coordinates (CSS pixels)."""
        return self.driver.execute_script(
            "const r = arguments[0].getBoundingClientRect();"
            "return {x: r.left + scrollX, y: r.top + scrollY, width: r.width, height: r.height};",
            element)

    def screenshot(self, element):
        """A PNG of the element's box, also where it lies beyond the window."""
        r = self.rect(element)
        shot = self.driver.execute_cdp_cmd("Page.captureScreenshot", {
            "format": "png", "captureBeyondViewport": True,
            "clip": {"x": r["x"], "y": r["y"], "width": r["width"], "height": r["height"],
                     "scale": 1}})
        return base64.b64decode(shot["data"])


def png_pixels(png):
    """Width, height and the rows of 8-bit RGBA or RGB of a PNG as the browser
    writes it (no palette, not interlaced)."""
    if png[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    k, idat, head = 8, [], None
    while k < len(png):
        n, kind = struct.unpack(">I4s", png[k:k + 8])
        data = png[k + 8:k + 8 + n]
        if kind == b"IHDR":
            head = struct.unpack(">IIBBBBB", data)
        elif kind == b"IDAT":
            idat.append(data)
        k += 12 + n
    w, h, depth, colour, _, _, interlace = head
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("PNG of depth %d, colour type %d" % (depth, colour))
    bpp = 4 if colour == 6 else 3
    raw = zlib.decompress(b"".join(idat))
    stride = w * bpp
    rows, prev = [], bytearray(stride)
    for y in range(h):
        f = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        _unfilter(f, row, prev, bpp)
        rows.append(row if bpp == 4 else _rgba(row))
        prev = row
    return w, h, rows


def _unfilter(f, row, prev, bpp):
    if f == 1:
        for i in range(bpp, len(row)):
            row[i] = (row[i] + row[i - bpp]) & 255
    elif f == 2:
        for i in range(len(row)):
            row[i] = (row[i] + prev[i]) & 255
    elif f == 3:
        for i in range(len(row)):
            left = row[i - bpp] if i >= bpp else 0
            row[i] = (row[i] + ((left + prev[i]) >> 1)) & 255
    elif f == 4:
        for i in range(len(row)):
            a = row[i - bpp] if i >= bpp else 0
            b, c = prev[i], prev[i - bpp] if i >= bpp else 0
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    elif f != 0:
        raise ValueError("PNG filter %d" % f)


def _rgba(row):
    out = bytearray()
    for i in range(0, len(row), 3):
        out += row[i:i + 3] + b"\xff"
    return out


def differing_pixels(a, b):
    """How many pixels two PNGs differ in (None when their sizes differ)."""
    if a == b:
        return 0
    wa, ha, ra = png_pixels(a)
    wb, hb, rb = png_pixels(b)
    if (wa, ha) != (wb, hb):
        return None
    n = 0
    for x, y in zip(ra, rb):
        if x != y:
            n += sum(1 for i in range(0, len(x), 4) if x[i:i + 4] != y[i:i + 4])
    return n


def picture_alone(b, svg, rect, page_height, folder, name):
    """A PNG of the SVG text svg alone in a page of its own, at the box rect
    it had in its page (same size, same sub-pixel place: the pixels can be
    compared bit for bit)."""
    style = "position:absolute;left:%rpx;top:%rpx;width:%rpx;height:%rpx;margin:0" % (
        rect["x"], rect["y"], rect["width"], rect["height"])
    path = os.path.join(folder, name + ".html")
    with open(path, "w", encoding="utf-8") as f:
        f.write('<!DOCTYPE html><html><head><meta charset="utf-8"><style>body{margin:0;'
                'height:%dpx}</style></head><body>%s</body></html>'
                % (page_height, svg.replace("<svg", '<svg style="%s"' % style, 1)))
    b.open(path)
    return b.screenshot(b.elements("svg")[0])
