"""The HTML report in headless Chromium: no console error, no request that
leaves the file (the pictures' inline data: images aside), and each picture
shows as it does alone. The harness itself first: a console error and an
outside request are seen. Exit 77 (skipped) without the browser, unless CI."""
import os
import sys
import tempfile

import browser
import page_ids
import reports

SELF = [  # page, console errors expected, outside requests expected
    ("<p>ruhig</p>", False, False),
    ("<script>console.error('kaputt')</script>", True, False),
    ('<img src="https://example.org/bild.png" alt="">', None, True),
]


def outside(urls):
    return [u for u in urls if not u.startswith(("file://", "data:"))]


def check_harness(b, d, failures):
    for k, (page, severe, request) in enumerate(SELF):
        path = os.path.join(d, "selbst%d.html" % k)
        with open(path, "w", encoding="utf-8") as f:
            f.write("<!DOCTYPE html><html><body>%s</body></html>" % page)
        b.open(path)
        got_severe, got_request = bool(b.console()), bool(outside(b.requests()))
        if severe is not None and got_severe != severe:
            failures.append("harness: %s: console error seen %s" % (page, got_severe))
        if got_request != request:
            failures.append("harness: %s: outside request seen %s" % (page, got_request))


def check_report(b, d, failures):
    path = reports.html_report(sys.argv[1], d)
    text = open(path, encoding="utf-8").read()
    b.open(path)
    failures += ["console: " + m for m in b.console()]
    failures += ["request outside the file: " + u for u in outside(b.requests())]
    height = b.driver.execute_script("return document.documentElement.scrollHeight")
    shown = [(b.rect(e), b.screenshot(e)) for e in b.elements("svg")]
    svgs = page_ids.pictures(text)
    if len(svgs) != len(shown) or not svgs:
        failures.append("%d pictures in the file, %d shown" % (len(svgs), len(shown)))
    for k, (svg, (rect, png)) in enumerate(zip(svgs, shown)):
        alone = browser.picture_alone(b, svg, rect, height, d, "bild%d" % (k + 1))
        n = browser.differing_pixels(png, alone)
        if n != 0:
            keep = os.path.join(os.getcwd(), "page_test_bild%d" % (k + 1))
            open(keep + "_seite.png", "wb").write(png)
            open(keep + "_allein.png", "wb").write(alone)
            failures.append("picture %d differs from itself alone in %s pixels (%s_*.png)"
                            % (k + 1, "all" if n is None else n, keep))


def main():
    failures = []
    try:
        b = browser.Browser()
    except browser.Unavailable as e:
        browser.skip(str(e))
    with b, tempfile.TemporaryDirectory() as d:
        check_harness(b, d, failures)
        check_report(b, d, failures)
    for f in failures:
        print("FAILED: " + f)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
