#!/usr/bin/env python3
"""Writes zentrova-cli's manual page (roff) from the program's own help, so that the page
says what the built program says.

Usage: cli_manual_page.py PROGRAM VERSION OUTPUT [--see-also PAGE]...

The help is CLI11's, with the Spanish labels zentrova-cli gives it: a description, a line
"Uso: ...", groups "Argumentos:", "Opciones:" and "Órdenes:" of two-column entries, and a
footer. The application's footer, written "Heading: text", becomes a section of its own. A
help that does not read so stops the build rather than giving a wrong page.
"""

import argparse
import re
import subprocess
from dataclasses import dataclass, field

USAGE = "Uso:"
GROUPS = ("Argumentos", "Opciones", "Órdenes")
COLUMN = 30  # CLI11's column of the entries' texts


@dataclass
class Entry:
    name: str  # "TABLA.DBF TEXTO OBLIGATORIO", "--ktemp TEXTO", "exportar"
    text: str = ""


@dataclass
class Help:
    description: str
    usage: str  # after "Uso: "
    groups: dict = field(default_factory=dict)  # group -> [Entry]
    footer: str = ""


def read_help(program, command_name, arguments):
    result = subprocess.run([command_name, *arguments, "--help"], executable=program,
                            capture_output=True, text=True, encoding="utf-8", check=True)
    return parse_help(result.stdout, " ".join([command_name, *arguments]))


def parse_help(text, context):
    lines = text.rstrip("\n").split("\n")
    usage_at = next((i for i, line in enumerate(lines) if line.startswith(USAGE + " ")), None)
    if usage_at is None:
        raise SystemExit(f"{context} --help: no line starts with '{USAGE}'")
    help_ = Help(description=" ".join(lines[:usage_at]).strip(),
                 usage=lines[usage_at][len(USAGE):].strip())
    group = None
    footer = []
    for line in lines[usage_at + 1:]:
        heading = re.fullmatch(r"(\S.*):", line)
        if heading and heading.group(1) in GROUPS:
            group = help_.groups.setdefault(heading.group(1), [])
        elif not line.strip():
            group = None
        elif group is not None and re.match(r"  \S", line):
            # A name is padded to the column where its text starts; a longer one has its text
            # on the next line.
            if len(line) > COLUMN and line[COLUMN - 1] == " ":
                group.append(Entry(line[:COLUMN].strip(), line[COLUMN:].strip()))
            else:
                group.append(Entry(line.strip()))
        elif group and line.startswith("   "):
            group[-1].text = (group[-1].text + " " + line.strip()).strip()
        elif group is None:
            footer.append(line.strip())
        else:
            raise SystemExit(f"{context} --help: unexpected line {line!r}")
    help_.footer = " ".join(footer)
    return help_


def minus(text):
    """Hyphens as roff's minus sign, as in option and program names."""
    return text.replace("-", "\\-")


def escape(text):
    """Text for roff: backslashes and a leading control character kept as text."""
    text = text.replace("\\", "\\e")
    return "\\&" + text if text[:1] in (".", "'") else text


def option_words(name):
    """Bold option names with minus signs, an italic value: '-h,--help' or '--ktemp TEXTO'."""
    flag, _, value = name.partition(" ")
    flags = ", ".join("\\fB" + minus(part) + "\\fR" for part in flag.split(","))
    return flags + (" \\fI" + escape(value) + "\\fR" if value else "")


def positional_words(name):
    """The argument's name alone: its type and whether it is required show in the usage."""
    return "\\fI" + escape(name.split(" ")[0]) + "\\fR"


def usage_words(usage, program_words):
    """'zentrova-cli exportar [OPCIONES] EXPORT.xml': the command bold, the rest italic."""
    words = usage.split(" ")
    command = minus(" ".join(words[:program_words]))
    rest = []
    for word in words[program_words:]:
        inner = word.strip("[]")
        open_, close = word[:len(word) - len(word.lstrip("["))], word[len(word.rstrip("]")):]
        rest.append(open_ + "\\fI" + escape(inner) + "\\fR" + close)
    return " ".join(["\\fB" + command + "\\fR", *rest])


def entries(lines, group, words):
    for entry in group:
        lines += [".TP", words(entry.name), escape(entry.text)]


def sentence(text):
    return text if text.endswith((".", ":", ")")) else text + "."


def manual_page(program, version, see_also):
    name = "zentrova-cli"
    top = read_help(program, name, [])
    commands = [(entry, read_help(program, name, [entry.name]))
                for entry in top.groups.get("Órdenes", [])]
    if not commands:
        raise SystemExit(f"{name} --help: no 'Órdenes:' group")
    # "Zentrova: datos entre ..." names the product before what the program does.
    whatis = top.description.split(": ", 1)[-1]
    lines = [
        f'.\\" Written by scripts/cli_manual_page.py from the help of {name} {version}.',
        f'.TH {minus(name.upper())} 1 "" "zentrova {version}" "Órdenes de usuario"',
        ".nh",  # English hyphenation rules would break Spanish words wrongly
        ".SH NOMBRE",
        f"{minus(name)} \\- {escape(whatis)}",
        ".SH SINOPSIS",
    ]
    for i, (_, help_) in enumerate(commands):
        if i:
            lines.append(".br")
        lines.append(usage_words(help_.usage, 2))
    lines += [".SH DESCRIPCIÓN", escape(sentence(top.description))]
    heading, _, text = top.footer.partition(": ")
    if not text and top.footer:
        lines += [".PP", escape(top.footer)]
    lines += [".SH OPCIONES"]
    top_options = top.groups.get("Opciones", [])
    entries(lines, top_options, option_words)
    lines.append(".SH ÓRDENES")
    for entry, help_ in commands:
        lines += [f'.SS "{escape(entry.name)}"', usage_words(help_.usage, 2), ".PP",
                  escape(sentence(help_.description))]
        entries(lines, help_.groups.get("Argumentos", []), positional_words)
        # The help flag is the application's, described once.
        options = [entry for entry in help_.groups.get("Opciones", []) if entry not in top_options]
        entries(lines, options, option_words)
        if help_.footer:
            lines += [".PP", escape(help_.footer)]
    if text:
        lines += [f'.SH "{escape(heading.upper())}"', escape(sentence(text))]
    if see_also:
        lines.append('.SH "VÉASE TAMBIÉN"')
        for i, page in enumerate(see_also):
            comma = "," if i < len(see_also) - 1 else ""
            lines.append(f".BR {minus(page)} (1){comma}")
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description="zentrova-cli's manual page from its help")
    parser.add_argument("program", help="the built zentrova-cli")
    parser.add_argument("version")
    parser.add_argument("output", help="the page (roff) to write")
    parser.add_argument("--see-also", action="append", default=[], metavar="PAGE",
                        help="a related page of section 1")
    arguments = parser.parse_args()
    page = manual_page(arguments.program, arguments.version, arguments.see_also)
    with open(arguments.output, "w", encoding="utf-8") as out:
        out.write(page)


if __name__ == "__main__":
    main()
