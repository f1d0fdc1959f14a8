#!/usr/bin/env python3
"""Compiles the game's message catalogues (gettext .po files) into C++.

    tools/po_to_cpp.py OUT.cpp CODE.po ...
    tools/po_to_cpp.py --check FOLDER ... FILE.po ...


Each .po file holds the translations of one language, whose code is the
file's name (and its header's Language) and whose own name for itself is its
header's X-Language-Name: msgid is the English text as the code writes it,
msgstr its translation (an empty msgstr falls back to the English). A text
that counts something has msgid_plural and msgstr[0], msgstr[1] (one form
only where the header's Plural-Forms says nplurals=1), chosen by the
header's Plural-Forms: only the rules of the game's languages are known
(plural=(n != 1), plural=(n > 1), plural=0). The output defines
media::kCatalogues, one catalogue per file by code, each sorted by msgid (as
bytes). Only what the game uses of the format is read: msgctxt, msgid,
msgid_plural and msgstr with their continuation strings, comments, and the
usual escapes. The output is the same bytes on every run, whatever the order
of the files.

Entries with msgctxt "page" are the web page's texts around the game (its
script's tr("...") and say(line, "...")): tools/po_to_page.py compiles
those, and they are not the game's.

With --check, the texts the code in the given folders shows (state::Tr(g,
"...") and media::Msg("...") in C++, tr("...") and say(line, "...") in the
page's JavaScript) are matched against each .po file: a text with no entry
or an entry nothing shows is named, and the exit status is 1."""

import os
import re
import sys


def unquote(text, where):
    text = text.strip()
    if len(text) < 2 or text[0] != '"' or text[-1] != '"':
        sys.exit(f"{where}: a string in double quotes expected")
    out, i, body = [], 0, text[1:-1]
    escapes = {"n": "\n", "t": "\t", '"': '"', "\\": "\\"}
    while i < len(body):
        c = body[i]
        if c == "\\":
            if i + 1 >= len(body) or body[i + 1] not in escapes:
                sys.exit(f"{where}: unknown escape")
            out.append(escapes[body[i + 1]])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def read_po(path, context=None):
    """Returns {msgid: msgstr} of a .po file (the header entry left out)."""
    return read_catalogue(path, context)[1]


def read_header(path):
    """Returns the header fields of a .po file, {"Language": "fr", ...}."""
    return read_catalogue(path)[0]


def read_catalogue(path, context=None):
    """Returns the header fields and {msgid: msgstr} of a .po file: the game's entries, or
    those of the msgctxt given."""
    header, entries, current, key = {}, {}, {}, None
    with open(path, encoding="utf-8") as f:
        lines = list(f)
    lines.append("\n")
    for number, line in enumerate(lines, 1):
        where = f"{path}:{number}"
        line = line.rstrip("\n")
        if not line.strip() or line.startswith("#"):
            if "msgid" in current:
                if current.get("msgctxt") != context:
                    pass
                elif not current["msgid"]:
                    for field in current.get("msgstr", "").splitlines():
                        name, _, value = field.partition(":")
                        header[name.strip()] = value.strip()
                elif current["msgid"]:
                    if current["msgid"] in entries:
                        sys.exit(f"{where}: msgid {current['msgid']!r} twice")
                    if "msgid_plural" in current:
                        forms = [current.get(f"msgstr[{n}]", "") for n in range(2)]
                        entries[current["msgid"]] = tuple(forms)
                    else:
                        entries[current["msgid"]] = current.get("msgstr", "")
                current, key = {}, None
            continue
        if line.startswith("msgctxt "):
            key = "msgctxt"
            current[key] = unquote(line[8:], where)
        elif line.startswith("msgid "):
            key = "msgid"
            current[key] = unquote(line[6:], where)
        elif line.startswith("msgid_plural "):
            key = "msgid_plural"
            current[key] = unquote(line[13:], where)
        elif line.startswith("msgstr "):
            key = "msgstr"
            current[key] = unquote(line[7:], where)
        elif m := re.match(r"msgstr\[([01])\] ", line):
            key = f"msgstr[{m.group(1)}]"
            current[key] = unquote(line[m.end():], where)
        elif line.startswith('"') and key:
            current[key] += unquote(line, where)
        else:
            sys.exit(f"{where}: not a line of a .po file")
    return header, entries


def cpp_string(text):
    out = []
    for b in text.encode("utf-8"):
        c = chr(b)
        if c == "\\" or c == '"':
            out.append("\\" + c)
        elif 32 <= b < 127:
            out.append(c)
        else:
            out.append(f"\\{b:03o}")
    return '"' + "".join(out) + '"'


SHOWN = re.compile(r'(?:\bTrN?\(g, |\bMsg\()"((?:[^"\\]|\\.)*)"')
PAGE_SHOWN = re.compile(r'(?:\btr\(|\bsay\(\w+, )\s*"((?:[^"\\]|\\.)+)"')
# Each context of the catalogues, and the files and calls that show its texts.
CONTEXTS = {None: ((".cpp", ".h"), SHOWN), "page": ((".js",), PAGE_SHOWN)}


# The Plural-Forms of the game's languages (spaces left out), by the rule's name in C++.
PLURAL_RULES = {
    "nplurals=2;plural=(n!=1);": "kOneOther",
    "nplurals=2;plural=(n>1);": "kZeroOneOther",
    "nplurals=1;plural=0;": "kOneForm",
}


def texts_in_code(folders, context=None):
    suffixes, pattern = CONTEXTS[context]
    found = set()
    for folder in folders:
        for root, _, files in os.walk(folder):
            for name in files:
                if name.endswith(suffixes):
                    with open(os.path.join(root, name), encoding="utf-8") as f:
                        for text in pattern.findall(f.read()):
                            found.add(unquote('"' + text + '"', name))
    return found


def check(folders, po_files):
    problems = []
    for context in CONTEXTS:
        shown = texts_in_code(folders, context)
        for path in po_files:
            entries = read_po(path, context)
            name = os.path.basename(path) + (f" ({context})" if context else "")
            problems += [f"{name}: no entry for {t!r}" for t in sorted(shown - entries.keys())]
            problems += [f"{name}: {t!r} is shown nowhere" for t in sorted(entries.keys() - shown)]
    for line in problems:
        print(line)
    return 1 if problems else 0


def write_if_changed(path, text):
    """Writes text to path unless it holds it already, so that what depends on it is not
    rebuilt for nothing."""
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "--check":
        args = sys.argv[2:]
        sys.exit(check([a for a in args if not a.endswith(".po")],
                       [a for a in args if a.endswith(".po")]))
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    out = sys.argv[1]
    languages = []
    for path in sys.argv[2:]:
        code = os.path.splitext(os.path.basename(path))[0]
        header, entries = read_catalogue(path)
        if not re.fullmatch(r"[a-z]{2,3}", code) or header.get("Language") != code:
            sys.exit(f"{path}: a catalogue is named CODE.po after its header's Language")
        if not header.get("X-Language-Name"):
            sys.exit(f"{path}: the header names no X-Language-Name (the language's own name)")
        rule = PLURAL_RULES.get(header.get("Plural-Forms", "").replace(" ", ""))
        if rule is None:
            sys.exit(f"{path}: the header's Plural-Forms is none of " + ", ".join(PLURAL_RULES))
        languages.append((code, header["X-Language-Name"], entries, rule))
    languages.sort()
    lines = [
        "// Made by tools/po_to_cpp.py from the message catalogues; do not edit.",
        '#include "media/messages.h"',
        "",
        "namespace media {",
        "namespace {",
        "",
    ]
    for code, _, entries, _ in languages:
        lines.append(f"constexpr CatalogueEntry k_{code}[] = {{")
        for i in sorted(entries, key=lambda s: s.encode("utf-8")):
            forms = entries[i] if isinstance(entries[i], tuple) else (entries[i],)
            lines.append(f"    {{{', '.join(cpp_string(t) for t in (i,) + forms)}}},")
        lines += ["};", ""]
    lines += ["constexpr Catalogue kAll[] = {"]
    lines += [f'    {{"{code}", {cpp_string(name)}, k_{code}, Plurals::{rule}}},'
              for code, name, _, rule in languages]
    lines += ["};", "", "}  // namespace", "",
              "const std::span<const Catalogue> kCatalogues(kAll);", "",
              "}  // namespace media", ""]
    write_if_changed(out, "\n".join(lines))


if __name__ == "__main__":
    main()
