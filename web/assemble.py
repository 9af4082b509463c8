#!/usr/bin/env python3
"""Writes the web page as one file: the template with the styles, the module (its WebAssembly
inside), the drawing, the desktop's layout and the translations from the Qt Linguist files.
  assemble.py --out FILE --template T --css C --script S --module M --drawing D --layout L [TS...]
"""
import argparse
import json
import re
import xml.etree.ElementTree as ElementTree
from pathlib import Path


def translations(paths):
    """{language: {source: translation}} from .ts files named hb9cv_<language>.ts; a message
    without a finished translation keeps its source text."""
    out = {}
    for path in paths:
        language = re.fullmatch(r"hb9cv_([a-z]{2})(_\w+)?\.ts", Path(path).name)
        if not language:
            continue
        table = out.setdefault(language.group(1), {})
        for message in ElementTree.parse(path).getroot().iter("message"):
            source = message.findtext("source")
            node = message.find("translation")
            if source is None or node is None:
                continue
            if node.get("type") in ("unfinished", "obsolete", "vanished") or not node.text:
                continue
            table.setdefault(source, node.text)
    return out


def main():
    parser = argparse.ArgumentParser()
    for name in ("out", "template", "css", "script", "module", "drawing", "layout"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("ts", nargs="*")
    args = parser.parse_args()
    read = lambda path: Path(path).read_text(encoding="utf-8")
    data = {"layout": json.loads(read(args.layout)), "translations": translations(args.ts)}
    # "</" would end the script element early.
    data_text = json.dumps(data, ensure_ascii=False, separators=(",", ":")).replace("</", "<\\/")
    page = read(args.template)
    for mark, text in (("/*@CSS@*/", read(args.css)), ("<!--@DRAWING@-->", read(args.drawing).strip()),
                       ("/*@MODULE@*/", read(args.module)), ("/*@DATA@*/", data_text),
                       ("/*@SCRIPT@*/", read(args.script))):
        if mark not in page:
            raise SystemExit(f"assemble.py: the template has no {mark}")
        page = page.replace(mark, text)
    Path(args.out).write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()
