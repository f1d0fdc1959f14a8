#!/usr/bin/env python3
"""Prints deb822 "deb-src" entries for the Debian suites apt already fetches binaries from."""
import glob
import re
import sys


def deb822_stanzas(text):
    """The stanzas of a deb822 file, each a list of (field, value) with continuation lines kept."""
    for block in re.split(r"\n\s*\n", text):
        fields = []
        for line in block.splitlines():
            if line.startswith("#") or not line.strip():
                continue
            if line[0] in " \t" and fields:
                fields[-1] = (fields[-1][0], fields[-1][1] + "\n" + line)
            elif ":" in line:
                name, value = line.split(":", 1)
                fields.append((name.strip(), value.strip()))
        if fields:
            yield fields


def from_deb822(text):
    for fields in deb822_stanzas(text):
        values = {name.lower(): value for name, value in fields}
        if "deb" not in values.get("types", "").split():
            continue
        if values.get("enabled", "yes").lower() == "no":
            continue
        yield "\n".join(
            f"{name}: {'deb-src' if name.lower() == 'types' else value}" for name, value in fields
        )


def from_one_line(text):
    """One-line "deb [options] URI SUITE COMPONENT..." entries, as deb822."""
    for line in text.splitlines():
        words = line.split("#", 1)[0].split()
        if not words or words[0] != "deb":
            continue
        options = {}
        rest = words[1:]
        if rest and rest[0].startswith("["):
            option_words = []
            while rest:
                option_words.append(rest.pop(0))
                if option_words[-1].endswith("]"):
                    break
            for option in " ".join(option_words).strip("[]").split():
                if "=" in option:
                    name, value = option.split("=", 1)
                    options[name] = value
        if len(rest) < 2:
            continue
        stanza = ["Types: deb-src", f"URIs: {rest[0]}", f"Suites: {rest[1]}"]
        if rest[2:]:
            stanza.append("Components: " + " ".join(rest[2:]))
        if "signed-by" in options:
            stanza.append(f"Signed-By: {options['signed-by']}")
        yield "\n".join(stanza)


def main():
    entries = []
    for path in sorted(glob.glob("/etc/apt/sources.list.d/*.sources")):
        entries += from_deb822(open(path, encoding="utf-8").read())
    for path in ["/etc/apt/sources.list"] + sorted(glob.glob("/etc/apt/sources.list.d/*.list")):
        try:
            entries += from_one_line(open(path, encoding="utf-8").read())
        except FileNotFoundError:
            pass
    if not entries:
        sys.exit("no Debian suite is configured for apt")
    print("\n\n".join(entries))


if __name__ == "__main__":
    main()
