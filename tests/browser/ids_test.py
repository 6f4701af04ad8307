"""The HTML report's ids read without a browser: unique in the page, every
link inside a picture to that picture's own ids. The checker itself first,
on pages with known faults."""
import os
import sys
import tempfile

import page_ids
import reports

CASES = [  # page, how many faults
    ('<svg><g id="a"/><use href="#a"/></svg><svg><g id="b"/><use href="#b"/></svg>', 0),
    ('<svg><g id="a"/></svg><svg><g id="a"/><use xlink:href="#a"/></svg>', 1),
    ('<svg><g id="a"/></svg><svg><use xlink:href="#a"/></svg>', 1),
    ('<svg><clipPath id="c"/></svg><svg><g clip-path="url(#c)"/></svg>', 1),
    ('<svg><g style="mask:url(\'#m\')"/></svg>', 1),
    ('<svg><style>.k{fill:url(#f)}</style></svg>', 1),
    ('<p id="x"></p><a href="#x">x</a><svg><image href="data:image/png;base64,AA"/></svg>', 0),
]


def main():
    failures = []
    for page, want in CASES:
        got = page_ids.faults(page)
        if len(got) != want:
            failures.append("%s: %r, expected %d faults" % (page, got, want))
    with tempfile.TemporaryDirectory() as d:
        text = open(reports.html_report(sys.argv[1], d), encoding="utf-8").read()
        failures += ["report: " + f for f in page_ids.faults(text)]
        # The map, the overview (object C lies beyond the map) and the profile.
        if len(page_ids.pictures(text)) != 3:
            failures.append("report: %d pictures, expected 3" % len(page_ids.pictures(text)))
    for f in failures:
        print("FAILED: " + f)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
