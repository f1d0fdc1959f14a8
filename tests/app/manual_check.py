#!/usr/bin/env python3
"""The manual page against --help: every option, key and file of the help is in the manual
page, and every option the manual page describes is one the program takes.

    manual_check.py RAPIKO MANUAL_PAGE"""
import re
import subprocess
import sys


def help_entries(text):
    """The entries of each section of the help ("Options", "Keys", "Files") by the section's
    first word: an entry is a line of two blanks and its name."""
    sections, section = {}, None
    for line in text.split("\n"):
        if line and line[0] != " " and line.endswith(":"):
            section = re.split("[ :]", line)[0]
        elif section and line.startswith("  ") and line[2:3] not in ("", " "):
            sections.setdefault(section, []).append(line[2:].split(" ")[0])
    return sections


def man_section(page, name):
    at = page.find("\n.SH " + name + "\n")
    if at < 0:
        return ""
    end = page.find("\n.SH ", at + 1)
    return page[at:] if end < 0 else page[at:end]


def holds_word(text, name):
    """Whether text holds name (in troff: every hyphen escaped) as a whole word."""
    troff = name.replace("-", "\\-")
    word = r"[A-Za-z0-9-]"
    after = r"(?!" + word + r"|\\-)" if re.match(word, name[-1]) else ""
    return re.search(r"(?<!" + word + ")" + re.escape(troff) + after, text) is not None


def main():
    program, page_path = sys.argv[1:3]
    entries = help_entries(subprocess.run([program, "--help"], capture_output=True, text=True,
                                          check=True).stdout)
    page = open(page_path, encoding="utf-8").read()
    faults = []
    for help_section, section in (("Options", "OPTIONS"), ("Keys", "CONTROLS"), ("Files", "FILES")):
        names = entries.get(help_section, [])
        text = man_section(page, section)
        if len(names) < 3 or not text:
            faults.append(f"no {help_section} in the help, or no {section} in the manual page")
            continue
        # An option has an entry of its own (a troff request); a key or a file may be in the text.
        if section == "OPTIONS":
            text = "\n".join(line for line in text.split("\n") if line.startswith("."))
        faults += [f"{help_section} {name} of the help is not in the manual's {section}"
                   for name in names if not holds_word(text, name)]
    # The other way: a described option (".B \-\-mute", ".BI \-\-dir " DIR"") is one the program takes.
    described = [re.split('[ "]', line[line.find(" \\-\\-") + 1:])[0].replace("\\-", "-")
                 for line in man_section(page, "OPTIONS").split("\n")
                 if line.startswith(".B") and " \\-\\-" in line]
    options = entries.get("Options", [])
    faults += [f"{o} is in the manual page but not in --help" for o in described if o not in options]
    if len(described) < len(options) - 1:  # --words comes twice in the help
        faults.append(f"the manual page describes {len(described)} options of {len(options)}")
    for fault in faults:
        print(fault)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
