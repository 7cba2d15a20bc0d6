#!/usr/bin/python3
"""Checks a generated website: every page parses as HTML5 without a single
parse error, and every link, style sheet and script names an existing file
(and anchor). Prints one line per problem; exit status 1 when there is any,
2 when the parser is not installed."""
import os
import sys
from urllib.parse import unquote, urlsplit

try:
    import html5lib
except ImportError:
    print("python3-html5lib fehlt", file=sys.stderr)
    sys.exit(2)

NS = "{http://www.w3.org/1999/xhtml}"


def parse(path):
    with open(path, "rb") as f:
        data = f.read()
    parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=True)
    return parser.parse(data, transport_encoding="utf-8")


def main(folder):
    problems = []
    ids = {}
    links = []
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".html"):
            continue
        try:
            tree = parse(os.path.join(folder, name))
        except Exception as e:  # html5lib.html5parser.ParseError and friends
            problems.append(f"{name}: kein gültiges HTML5: {e}")
            continue
        ids[name] = {el.get("id") for el in tree.iter() if el.get("id")}
        for el in tree.iter():
            for attr in ("href", "src"):
                if el.get(attr) is not None:
                    links.append((name, el.get(attr)))
    for page, link in links:
        parts = urlsplit(link)
        if parts.scheme or parts.netloc:
            problems.append(f"{page}: Verweis nach außen: {link}")
            continue
        target = unquote(parts.path) or page
        if not os.path.isfile(os.path.join(folder, target)):
            problems.append(f"{page}: Datei fehlt: {link}")
            continue
        if parts.fragment and unquote(parts.fragment) not in ids.get(target, set()):
            problems.append(f"{page}: Anker fehlt: {link}")
    for p in problems:
        print(p)
    print(f"{len(ids)} Seiten, {len(links)} Verweise", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
