#!/usr/bin/env python3
"""Checks that a program's --help and its manual page list the same options.

    check-man-page.py PANDOC FILTER PAGE.md PROGRAM [HELP-ARGUMENT]

The page's options are the terms of the definition lists in its OPTIONS
section (read through pandoc with the filter that makes the man page, so
every heading style is understood); the program's are the options that
begin the indented lines of its help (HELP-ARGUMENT, --help by default).
An option is a word that starts with "-" or, for the tools in the manner of
the original platform, "/" ("/v", "/?"). Exits 1 listing the differences.
"""

import json
import re
import subprocess
import sys

OPTION = re.compile(r"^(--?[A-Za-z0-9][\w-]*|/[A-Za-z?][\w?]*)$")


def stringify(inlines):
    """The plain text of a list of pandoc inline elements."""
    text = []
    for item in inlines:
        kind = item["t"]
        if kind == "Str":
            text.append(item["c"])
        elif kind in ("Space", "SoftBreak", "LineBreak"):
            text.append(" ")
        elif kind == "Code":
            text.append(item["c"][1])
        elif kind in ("Emph", "Strong", "Underline", "Strikeout", "SmallCaps"):
            text.append(stringify(item["c"]))
        elif kind in ("Span", "Link", "Quoted"):
            text.append(stringify(item["c"][1]))
    return "".join(text)


def options_in(text):
    """The options named in one option entry ("-o, --output FILE")."""
    return {word for word in re.split(r"[\s,|\[\]=]+", text) if OPTION.match(word)}


def page_options(pandoc, lua_filter, page):
    ast = json.loads(subprocess.run(
        [pandoc, "--from", "markdown-smart", "--lua-filter", lua_filter, "--to", "json", page],
        check=True, capture_output=True, text=True).stdout)
    found = set()
    in_options = False
    for block in ast["blocks"]:
        if block["t"] == "Header":
            level, _, inlines = block["c"]
            if level == 1:
                in_options = stringify(inlines).strip().upper() == "OPTIONS"
            continue
        if in_options and block["t"] == "DefinitionList":
            for term, _ in block["c"]:
                found |= options_in(stringify(term))
    return found


def help_options(program, argument):
    result = subprocess.run([program, argument], capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        sys.exit(f"{program} {argument} exited with {result.returncode}: {result.stderr.strip()}")
    found = set()
    for line in result.stdout.splitlines():
        entry = re.match(r"^\s+([-/]\S.*)$", line)
        if entry:
            # The option column ends at the first run of two blanks.
            found |= options_in(re.split(r"\s{2,}", entry.group(1))[0])
    return found


def main():
    if len(sys.argv) not in (5, 6):
        sys.exit(__doc__)
    pandoc, lua_filter, page, program = sys.argv[1:5]
    argument = sys.argv[5] if len(sys.argv) == 6 else "--help"
    in_page = page_options(pandoc, lua_filter, page)
    in_help = help_options(program, argument)
    if not in_page:
        sys.exit(f"{page}: no options found in its OPTIONS section")
    differences = []
    if in_help - in_page:
        differences.append(f"in --help, not in the page: {' '.join(sorted(in_help - in_page))}")
    if in_page - in_help:
        differences.append(f"in the page, not in --help: {' '.join(sorted(in_page - in_help))}")
    if differences:
        sys.exit(f"{page}:\n  " + "\n  ".join(differences))
    print(f"{page}: {len(in_page)} options, the same in --help")


if __name__ == "__main__":
    main()
