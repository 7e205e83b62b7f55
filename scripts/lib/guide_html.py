#!/usr/bin/env python3
"""Turns the guide (docs/使用说明.md) into one HTML page that every browser from Internet Explorer 6
on shows: plain HTML 4 without scripts, UTF-8 named in a meta element, the pictures beside it.

guide_html.py GUIDE.md OUT.html  writes the page and prints the pictures it shows, one a line.

Reads only what the guide uses: "#" headings, paragraphs, "-" and "1." lists (their lines
indented under the marker, lists inside lists), tables with a heading row, code blocks indented
four spaces, a picture alone on its line, and inline **bold**, `code` and [text](address).
Anything else stays text, so a new construct shows up as raw marks rather than vanishing."""
import html
import re
import sys

INLINE = re.compile(r"`([^`]+)`|\*\*(.+?)\*\*|\[([^\]]+)\]\(([^)\s]+)\)")
PICTURE = re.compile(r"^!\[([^\]]*)\]\(([^)\s]+)\)$")
LIST_MARK = re.compile(r"^(-|\d+\.) ")


def inline(text):
    out, pos = [], 0
    for m in INLINE.finditer(text):
        out.append(html.escape(text[pos:m.start()], quote=False))
        if m.group(1) is not None:
            out.append("<code>%s</code>" % html.escape(m.group(1), quote=False))
        elif m.group(2) is not None:
            out.append("<b>%s</b>" % inline(m.group(2)))
        else:
            out.append('<a href="%s">%s</a>' % (html.escape(m.group(4)), inline(m.group(3))))
        pos = m.end()
    out.append(html.escape(text[pos:], quote=False))
    return "".join(out)


def join_lines(lines):
    """A paragraph's lines as one text: lines join with a space unless both sides are Chinese."""
    text = ""
    for line in (l.strip() for l in lines):
        if text and (text[-1].isascii() or line[0].isascii()):
            text += " "
        text += line
    return text


def cells(line):
    line = line.strip()
    return [c.strip() for c in line.strip("|").split("|")]


class Page:
    def __init__(self):
        self.pictures = []

    def blocks(self, lines):
        out, i = [], 0
        while i < len(lines):
            line = lines[i]
            if not line.strip():
                i += 1
            elif line.startswith("    "):
                end = i
                while end < len(lines) and (lines[end].startswith("    ") or not lines[end].strip()):
                    end += 1
                while not lines[end - 1].strip():
                    end -= 1
                code = "\n".join(l[4:] for l in lines[i:end])
                out.append("<pre>%s</pre>" % html.escape(code, quote=False))
                i = end
            elif line.startswith("#"):
                level = len(line) - len(line.lstrip("#"))
                out.append("<h%d>%s</h%d>" % (level, inline(line[level:].strip()), level))
                i += 1
            elif PICTURE.match(line.strip()):
                alt, src = PICTURE.match(line.strip()).groups()
                self.pictures.append(src)
                out.append('<p class="picture"><img src="%s" alt="%s"></p>'
                           % (html.escape(src), html.escape(alt)))
                i += 1
            elif line.startswith("|"):
                end = i
                while end < len(lines) and lines[end].startswith("|"):
                    end += 1
                out.append(self.table(lines[i:end]))
                i = end
            elif LIST_MARK.match(line):
                i = self.list(lines, i, out)
            else:
                end = i
                while (end < len(lines) and lines[end].strip() and not LIST_MARK.match(lines[end])
                       and not lines[end].startswith(("|", "#", "    "))):
                    end += 1
                out.append("<p>%s</p>" % inline(join_lines(lines[i:end])))
                i = end
        return out

    def table(self, rows):
        head, body = cells(rows[0]), [cells(r) for r in rows[2:]]
        out = ["<table>", "<tr>" + "".join("<th>%s</th>" % inline(c) for c in head) + "</tr>"]
        for row in body:
            out.append("<tr>" + "".join("<td>%s</td>" % inline(c) for c in row) + "</tr>")
        out.append("</table>")
        return "\n".join(out)

    def list(self, lines, i, out):
        ordered = LIST_MARK.match(lines[i]).group(1) != "-"
        items = []
        while i < len(lines) and LIST_MARK.match(lines[i]) and (LIST_MARK.match(lines[i]).group(1) != "-") == ordered:
            width = len(LIST_MARK.match(lines[i]).group(0))
            item = [lines[i][width:]]
            i += 1
            # The item's lines: indented under its text; a blank line belongs to it when an
            # indented line follows.
            while i < len(lines):
                if lines[i].startswith(" " * width):
                    item.append(lines[i][width:])
                elif not lines[i].strip() and i + 1 < len(lines) and lines[i + 1].startswith(" " * width):
                    item.append("")
                else:
                    break
                i += 1
            items.append(item)
            while i < len(lines) and not lines[i].strip() and i + 1 < len(lines) and LIST_MARK.match(lines[i + 1]) \
                    and (LIST_MARK.match(lines[i + 1]).group(1) != "-") == ordered:
                i += 1
        tag = "ol" if ordered else "ul"
        out.append("<%s>" % tag)
        for item in items:
            inner = self.blocks(item)
            # A one-paragraph item without the paragraph's margins, as a list normally looks.
            if len(inner) >= 1 and inner[0].startswith("<p>"):
                inner[0] = inner[0][3:-4]
            out.append("<li>%s</li>" % "\n".join(inner))
        out.append("</%s>" % tag)
        return i


STYLE = """body { font-family: "Microsoft YaHei", SimSun, sans-serif; font-size: 14px; line-height: 1.6;
  margin: 1em auto; max-width: 60em; padding: 0 1em; }
h1 { font-size: 22px; } h2 { font-size: 18px; border-bottom: 1px solid #999; } h3 { font-size: 16px; }
table { border-collapse: collapse; margin: 0.5em 0; }
th, td { border: 1px solid #999; padding: 2px 6px; vertical-align: top; text-align: left; }
th { background: #eee; }
pre { background: #f4f4f4; border: 1px solid #ccc; padding: 4px 8px; font-family: "Courier New", monospace; }
code { font-family: "Courier New", monospace; background: #f4f4f4; }
.picture img { border: 1px solid #ccc; }"""


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        lines = f.read().split("\n")
    page = Page()
    body = "\n".join(page.blocks(lines))
    title = next((l.lstrip("# ").strip() for l in lines if l.startswith("# ")), "")
    text = ('<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN" "http://www.w3.org/TR/html4/strict.dtd">\n'
            '<html lang="zh-CN">\n<head>\n'
            '<meta http-equiv="Content-Type" content="text/html; charset=utf-8">\n'
            "<title>%s</title>\n<style type=\"text/css\">\n%s\n</style>\n</head>\n<body>\n%s\n</body>\n</html>\n"
            % (html.escape(title), STYLE, body))
    # CR LF, as Notepad shows a page opened as text.
    with open(target, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)
    for picture in dict.fromkeys(page.pictures):
        print(picture)


if __name__ == "__main__":
    main()
