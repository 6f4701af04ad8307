"""The ids of an HTML page and the links to them, read without a browser:
every id once in the page, every href="#x" and url(#x) inside an <svg> to
an id of that same <svg> (a link to another picture's id shows that
picture's glyph or clip, not its own)."""
import html.parser
import re

URL = re.compile(r"""url\(\s*['"]?#([^'")\s]*)""")


class _Reader(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.ids = {}          # id -> how often
        self.pictures = []     # per outermost <svg>: (its ids, its links)
        self.depth = 0         # <svg> elements open

    def handle_starttag(self, tag, attrs):
        if tag == "svg":
            if self.depth == 0:
                self.pictures.append((set(), []))
            self.depth += 1
        self._element(tag, attrs)

    def handle_startendtag(self, tag, attrs):
        if tag == "svg" and self.depth == 0:
            self.pictures.append((set(), []))
        self._element(tag, attrs)

    def handle_endtag(self, tag):
        if tag == "svg" and self.depth > 0:
            self.depth -= 1

    def handle_data(self, data):
        if self.depth and self.lasttag == "style":
            self.pictures[-1][1].extend(("<style>", x) for x in URL.findall(data))

    def _element(self, tag, attrs):
        for name, value in attrs:
            value = value or ""
            if name == "id":
                self.ids[value] = self.ids.get(value, 0) + 1
                if self.depth:
                    self.pictures[-1][0].add(value)
            if not self.depth:
                continue
            links = self.pictures[-1][1]
            if (name == "href" or name.endswith(":href")) and value.startswith("#"):
                links.append(("<%s %s>" % (tag, name), value[1:]))
            links.extend(("<%s %s>" % (tag, name), x) for x in URL.findall(value))


def faults(text):
    """What is wrong with the ids of the page text, one line each."""
    r = _Reader()
    r.feed(text)
    r.close()
    out = ["id %r %d times in the page" % (i, n) for i, n in sorted(r.ids.items()) if n > 1]
    for k, (ids, links) in enumerate(r.pictures):
        for where, target in links:
            if target not in ids:
                out.append("picture %d: %s links to #%s, not an id of its own" % (k + 1, where, target))
    return out


def pictures(text):
    """The outermost <svg>...</svg> elements of the page, as written."""
    out, k = [], 0
    while True:
        start = text.find("<svg", k)
        if start < 0:
            return out
        depth, k = 0, start
        for m in re.finditer(r"<(/?)svg\b", text[start:]):
            depth += -1 if m.group(1) else 1
            if depth == 0:
                k = start + m.start() + text[start + m.start():].find(">") + 1
                break
        else:
            return out
        out.append(text[start:k])
