#!/usr/bin/env python3
"""Regenerate resources/english.dat, the game's built-in word list.

Source: Debian's `scowl` package (/usr/share/dict/scowl). Only the plain
word lists of the english, american, british and canadian spellings up to
size 80 are used; the proper-name, abbreviation, contraction and upper-case
lists are not. Entries with a capital letter, an apostrophe, or any other
non-letter or non-ASCII byte are skipped, as are single letters.

Only words of up to 10 letters are kept: the tray never holds more than
10 tiles, so the server never asks about a longer word, and every start
copies the list out to its working file. Longer words would make that copy
almost twice as long for nothing.

Record format (15 bytes, no header): 0x1E, then the upper-case word
left-aligned and padded with spaces to 14 bytes. Records are sorted by the
bytes of the 14-byte field, so a shorter word precedes every longer word it
begins.

Usage: tools/make_wordlist.py [scowl-dir] [output-file]
"""

import os
import re
import sys

SPELLINGS = ("english", "american", "british", "canadian")
MAX_SIZE = 80
LONGEST_WORD = 10  # the most tiles a tray holds
FIELD = 14
PREFIX = b"\x1e"
WORD = re.compile(rb"[a-z]{2,%d}" % LONGEST_WORD)


def source_files(scowl_dir):
    names = []
    for name in sorted(os.listdir(scowl_dir)):
        spelling, _, rest = name.partition("-words.")
        if spelling in SPELLINGS and rest.isdigit() and int(rest) <= MAX_SIZE:
            names.append(os.path.join(scowl_dir, name))
    return names


def collect_words(paths):
    words = set()
    for path in paths:
        with open(path, "rb") as handle:
            for line in handle:
                entry = line.rstrip(b"\r\n")
                # Lower-case ASCII letters only: this drops capitals,
                # apostrophes, accented letters and anything else.
                if WORD.fullmatch(entry):
                    words.add(entry.upper())
    return words


def build_records(words):
    fields = sorted(word.ljust(FIELD, b" ") for word in words)
    return b"".join(PREFIX + field for field in fields)


def main(argv):
    scowl_dir = argv[1] if len(argv) > 1 else "/usr/share/dict/scowl"
    here = os.path.dirname(os.path.abspath(__file__))
    output = argv[2] if len(argv) > 2 else os.path.join(here, "..", "resources", "english.dat")
    paths = source_files(scowl_dir)
    if not paths:
        sys.exit(f"no word lists found in {scowl_dir}")
    data = build_records(collect_words(paths))
    with open(output, "wb") as handle:
        handle.write(data)
    count = len(data) // (FIELD + 1)
    first = data[1:1 + FIELD].rstrip().decode()
    last = data[-FIELD:].rstrip().decode()
    print(f"{len(paths)} lists, {count} records ({len(data)} bytes), first {first}, last {last}")


if __name__ == "__main__":
    main(sys.argv)
