#!/usr/bin/env python3
"""Checks that the help page is sound and, given tessary-cli, that the help
page and the man page tell the truth about it. (The installed files meet
their validators in tests/packaging.)

    check_docs.py --data DIR [--cli PATH] help|flags|examples

Exits 0 when the check passes and 1 with the reasons when it fails.
"""

import argparse
import html.parser
import os
import re
import subprocess
import sys
import tempfile

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link",
        "meta", "source", "track", "wbr"}
# Elements whose end tag HTML lets a page leave out.
OPTIONAL_END = {"li", "dt", "dd", "p", "tr", "td", "th", "option"}


class HelpPage(html.parser.HTMLParser):
    """The parts of the help page the checks look at."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.problems, self.ids, self.fragments = [], set(), []
        self.open, self.texts = [], {}  # class name -> texts of its elements
        self._capture = []              # [class name, collected text]

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "script" or any(k.startswith("on") for k in attrs):
            self.problems.append(f"script in <{tag}>")
        for key in ("src", "data"):
            if key in attrs:
                self.problems.append(f"external resource <{tag} {key}=...>")
        if tag == "link" or (tag == "style" and attrs.get("src")):
            self.problems.append(f"external resource <{tag}>")
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "a" and attrs.get("href", "").startswith("#"):
            self.fragments.append(attrs["href"][1:])
        if tag == "code" and attrs.get("class"):
            self._capture.append([attrs["class"], ""])
        if tag not in VOID:
            self.open.append((tag, self.getpos()[0]))

    def handle_endtag(self, tag):
        while self.open and self.open[-1][0] != tag \
                and self.open[-1][0] in OPTIONAL_END:
            self.open.pop()
        if not self.open or self.open[-1][0] != tag:
            self.problems.append(f"line {self.getpos()[0]}: stray </{tag}>")
            return
        self.open.pop()
        if tag == "code" and self._capture:
            name, text = self._capture.pop()
            self.texts.setdefault(name, []).append(text)

    def handle_data(self, data):
        for capture in self._capture:
            capture[1] += data


def read_help(data):
    page = HelpPage()
    with open(os.path.join(data, "tessaryhelp.htm"), encoding="utf-8") as f:
        page.feed(f.read())
    page.close()
    return page


def check_help(args):
    page = read_help(args.data)
    problems = list(page.problems)
    problems += [f"<{tag}> from line {line} never closed"
                 for tag, line in page.open if tag not in OPTIONAL_END]
    problems += [f"link to missing #{f}" for f in page.fragments
                 if f not in page.ids]
    # The page must show the doubled characters as the user types them.
    typed = page.texts.get("typed", [])
    for shown in ("<<b>>bold<</b>>", "&&nbsp;"):
        if not any(shown in text for text in typed):
            problems.append(f"the example {shown} is not shown as typed")
    return problems


def long_flags(text):
    """The long flags a text names; "--[no-]x" counts as --x and --no-x."""
    flags = set()
    for no, name in re.findall(r"--(\[no-\])?([a-z][a-z0-9-]*[a-z0-9])", text):
        flags.add("--" + name)
        if no:
            flags.add("--no-" + name)
    return flags


def check_flags(args):
    with open(os.path.join(args.data, "tessary-cli.1"), encoding="utf-8") as f:
        documented = long_flags(f.read().replace("\\-", "-"))
    run = subprocess.run([args.cli, "--help"], capture_output=True, text=True)
    if run.returncode != 0:
        return [f"tessary-cli --help exited {run.returncode}"]
    offered = long_flags(run.stdout)
    return [f"the man page lacks {flag}" for flag in sorted(offered - documented)] + \
        [f"the man page names {flag}, which tessary-cli --help does not"
         for flag in sorted(documented - offered)]


def build_page(cli, folder, *flags):
    run = subprocess.run([cli, "--quiet", *flags, "-o", "-", folder],
                         capture_output=True)
    if run.returncode != 0:
        raise RuntimeError(f"tessary-cli {' '.join(flags)} exited "
                           f"{run.returncode}: {run.stderr.decode(errors='replace')}")
    return run.stdout.decode("utf-8", errors="replace")


def check_examples(args):
    """Builds the help page's examples and finds the lines it shows."""
    texts = read_help(args.data).texts
    problems = []
    with tempfile.TemporaryDirectory() as base:
        os.mkdir(os.path.join(base, "docs"))
        with open(os.path.join(base, "docs", "about.html"), "w") as f:
            f.write("<html><head><title>About us</title></head></html>\r\n")
        for name in ("my page.txt", "R&D.txt"):
            open(os.path.join(base, name), "w").close()

        def expect(page, line, what):
            if line not in page:
                problems.append(f"{what}: the page has no {line!r}")

        for style in range(1, 5):
            page = build_page(args.cli, base, "--style", str(style))
            for line in texts.get(f"style{style}", ["(no example)"]):
                expect(page, line + "<br>\r\n", f"style {style}")
        for kind, flags in (("unsafe", ()), ("safe", ("--safe-links",))):
            page = build_page(args.cli, base, *flags)
            for line in texts.get(kind, ["(no example)"]):
                expect(page, line + "<br>\r\n", f"{kind} links")
        typed, made = texts.get("typed", []), texts.get("html", [])
        if not typed or len(typed) != len(made):
            problems.append("the embedding table lost its pairs")
        for text, html_text in zip(typed, made):
            page = build_page(args.cli, base, "--no-subfolders", "--preface", text)
            expect(page, html_text + "<br><br>\r\n", f"preface {text!r}")
    return problems


CHECKS = {"help": check_help, "flags": check_flags, "examples": check_examples}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--data", required=True)
    parser.add_argument("--cli")
    parser.add_argument("check", choices=sorted(CHECKS))
    args = parser.parse_args()
    if args.check in ("flags", "examples") and not args.cli:
        parser.error(f"{args.check} needs --cli")
    problems = CHECKS[args.check](args)
    for problem in problems:
        print(f"{args.check}: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
