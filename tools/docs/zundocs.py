#!/usr/bin/env python3
"""The manual's tools: renders docs/ to the offline HTML help and keeps it true.

    zundocs.py examples [--zunrunc PATH] [FILE.md ...]
    zundocs.py coverage [--zunrunc PATH | --list FILE] [--docs DIR]
    zundocs.py html     [--zunrunc PATH | --list FILE] [--docs DIR] [--out DIR]
    zundocs.py links    [--zunrunc PATH | --list FILE] [--docs DIR] [--out DIR]
    zundocs.py messages [--root DIR] [--docs DIR] [--not-messages FILE]

`html` renders every page with cmark-gfm into a folder that opens from the
disk (build/docs/html/index.html): a sidebar of contents, a search box that
works without a server, the constants' tables and the index of names built
from `zunrunc --list`. `links` renders the same and fails on a relative link
or anchor that leads nowhere, or a page the contents do not list.
`coverage` fails when a built-in or keyword has no entry of the shape the
manual's format fixes, or a constant group has no row in docs/constants.md.
`messages` fails when the code holds a text that docs/messages.md does not
explain: every string literal of the product's code (MESSAGE_SOURCES) that
has a letter or a digit must be part of the message of a `###` entry there,
as whole words, with the pieces of one statement in the same entry, or be
listed with its reason in tools/docs/not-messages.txt. An entry's message
is its first block: the code spans of a paragraph (one form of the message
a line, the changing parts in capitals), or a ```text block for a message
of several lines. Then come **Meaning.**, **Fix.** and an example (a fenced
block, or an **Example.** paragraph that says why there is none). The check
also fails on an entry whose message no text of the code is part of, a
listed text the code no longer has, and code in a folder it does not read.
Each check reports every problem it finds, then exits 1 if there was one.

Examples: every example in the manual is a fenced block whose info string
starts with `zunscript`. The blocks that follow it directly (only blank
lines or one short line of prose between) belong to it:

    ```input      what is typed at the script's questions (standard input)
    ```output     exactly what zunrunc prints on standard output
    ```error      the first line zunrunc prints on standard error; the run
                  must end with status 1

A plain `zunscript` example must have an output or an error block, or both.
Words after `zunscript` in the info string mark examples that cannot run
here:

    desktop       needs a Windows desktop (windows, mouse, clipboard, ...):
                  only checked with `zunrunc --check`
    check         must not run in a test (it changes the machine):
                  only checked with `zunrunc --check`
    nocheck       a deliberately broken script, shown for its message: not
                  run at all (give the message in an error block anyway)

Each example runs in an empty temporary folder, with TZ=UTC0, from a file
named example.zunscript, with standard input from its input block (or
nothing), for at most 20 seconds.
"""

import argparse
import html
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
FENCE = re.compile(r"^(```+|~~~+)\s*([^`]*)$")


class Example:
    def __init__(self, path, line, flags, script):
        self.path = path
        self.line = line
        self.flags = flags
        self.script = script
        self.input = None
        self.output = None
        self.error = None

    def where(self):
        return f"{shown_path(self.path)}:{self.line}"


def fenced_blocks(text):
    """Yields (line number, info string, content, lines of prose since the last block)."""
    lines = text.split("\n")
    i = 0
    prose = []
    while i < len(lines):
        m = FENCE.match(lines[i])
        if not m:
            if lines[i].strip():
                prose.append(lines[i])
            i += 1
            continue
        fence, info = m.group(1), m.group(2).strip()
        start = i + 1
        i += 1
        body = []
        while i < len(lines) and not lines[i].startswith(fence):
            body.append(lines[i])
            i += 1
        i += 1  # the closing fence
        yield start, info, "\n".join(body) + ("\n" if body else ""), prose
        prose = []


def examples_in(path):
    examples = []
    current = None
    for line, info, body, prose in fenced_blocks(path.read_text(encoding="utf-8")):
        words = info.split()
        kind = words[0] if words else ""
        if kind == "zunscript":
            current = Example(path, line, set(words[1:]), body)
            examples.append(current)
            continue
        attached = current is not None and len(prose) <= 1 and kind in ("input", "output", "error")
        if attached and getattr(current, kind) is None:
            setattr(current, kind, body)
        else:
            current = None
    return examples


def run(zunrunc, args, script, stdin_text):
    with tempfile.TemporaryDirectory(prefix="zundocs-") as work:
        file = pathlib.Path(work, "example.zunscript")
        file.write_text(script, encoding="utf-8-sig" if not script.isascii() else "ascii")
        env = dict(os.environ, TZ="UTC0", LC_ALL="C")
        try:
            done = subprocess.run([zunrunc, *args, str(file)], cwd=work, input=(stdin_text or "").encode("utf-8"),
                                  capture_output=True, timeout=20, env=env)
        except subprocess.TimeoutExpired:
            return None, "", "(ran longer than 20 s)"
        return done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace")


def check_example(zunrunc, ex):
    """Returns a list of problems (empty when the example holds)."""
    unknown = ex.flags - {"desktop", "check", "nocheck"}
    if unknown:
        return [f"unknown marks {sorted(unknown)}"]
    if "nocheck" in ex.flags:
        return [] if ex.error is not None else ["a nocheck example shows its message in an error block"]
    if ex.flags & {"desktop", "check"}:
        status, _, err = run(zunrunc, ["--check"], ex.script, "")
        return [] if status == 0 else [f"does not pass --check: {err.strip()}"]
    if ex.output is None and ex.error is None:
        return ["no output or error block follows"]
    status, out, err = run(zunrunc, [], ex.script, ex.input)
    problems = []
    if status is None:
        return [err]
    want_status = 1 if ex.error is not None else 0
    if status != want_status:
        first = err.split("\n", 1)[0]
        problems.append(f"exit status {status}, expected {want_status}" + (f" ({first})" if first else ""))
    if ex.output is not None and out != ex.output:
        problems.append("output differs:\n--- expected\n" + ex.output + "--- got\n" + out)
    if ex.error is not None:
        first = err.split("\n", 1)[0] + "\n"
        if first != ex.error:
            problems.append("error differs:\n--- expected\n" + ex.error + "--- got\n" + first)
    return problems


def default_files():
    return sorted(ROOT.joinpath("docs").rglob("*.md"))


def cmd_examples(args):
    args.zunrunc = str(pathlib.Path(args.zunrunc).resolve())  # the examples run in their own folder
    files = [pathlib.Path(f).resolve() for f in args.files] or default_files()
    if os.sep in args.zunrunc:  # the examples run in folders of their own
        args.zunrunc = os.path.abspath(args.zunrunc)
    failed = 0
    total = 0
    for path in files:
        for ex in examples_in(path):
            total += 1
            problems = check_example(args.zunrunc, ex)
            if problems:
                failed += 1
                print(f"{ex.where()}: " + "\n  ".join(problems), file=sys.stderr)
    print(f"{total - failed} of {total} examples hold", file=sys.stderr)
    return 1 if failed else 0



# --- The names the program knows -------------------------------------------


class Names:
    """What `zunrunc --list` prints: the built-ins with their families, the
    constants with their values and groups, and the keywords."""

    def __init__(self, text):
        self.builtins = []   # (name, family)
        self.constants = []  # (name, value as a script writes it, group prefix)
        self.keywords = []
        for line in text.splitlines():
            fields = line.split("\t")
            if fields[0] == "builtin" and len(fields) >= 3:
                self.builtins.append((fields[1], fields[2]))
            elif fields[0] == "constant" and len(fields) >= 4:
                self.constants.append((fields[1], fields[2], fields[3]))
            elif fields[0] == "keyword" and len(fields) >= 2:
                self.keywords.append(fields[1])
        if not (self.builtins and self.constants and self.keywords):
            raise SystemExit("zundocs: the list of names has no built-ins, constants or keywords")


def read_names(args):
    if args.list:
        return Names(pathlib.Path(args.list).read_text(encoding="utf-8"))
    try:
        done = subprocess.run([args.zunrunc, "--list"], capture_output=True, check=True, timeout=60)
    except (OSError, subprocess.SubprocessError) as e:
        raise SystemExit(f"zundocs: cannot run {args.zunrunc} --list ({e}); build it first: "
                         "cmake --build --preset native --target zunrunc")
    return Names(done.stdout.decode("utf-8"))


# --- The shape of the Markdown source --------------------------------------

HEADING = re.compile(r"^(#{1,6})\s+(.*?)\s*$")


class Block:
    """A run of source lines: a "fence" (its fences included), a "heading",
    or a "para" (a paragraph or a table)."""

    def __init__(self, line, kind, lines, info=""):
        self.line = line  # 1-based
        self.kind = kind
        self.lines = lines
        self.info = info

    def text(self):
        return " ".join(" ".join(self.lines).split())


def markdown_blocks(text):
    lines = text.split("\n")
    blocks = []
    i = 0
    while i < len(lines):
        line = lines[i]
        fence = FENCE.match(line)
        if fence:
            start = i
            i += 1
            while i < len(lines) and not lines[i].startswith(fence.group(1)):
                i += 1
            i += 1
            blocks.append(Block(start + 1, "fence", lines[start:i], fence.group(2).strip()))
        elif HEADING.match(line):
            blocks.append(Block(i + 1, "heading", [line]))
            i += 1
        elif line.strip():
            start = i
            while i < len(lines) and lines[i].strip() and not FENCE.match(lines[i]) and not HEADING.match(lines[i]):
                i += 1
            blocks.append(Block(start + 1, "para", lines[start:i]))
        else:
            i += 1
    return blocks


class Section:
    """A `## ` heading and the blocks under it, to the next heading of its
    level or above."""

    def __init__(self, path, line, title):
        self.path = path
        self.line = line
        self.title = title
        self.blocks = []

    def where(self):
        return f"{shown_path(self.path)}:{self.line}"


def sections(path, level=2):
    out = []
    current = None
    for block in markdown_blocks(path.read_text(encoding="utf-8")):
        if block.kind == "heading":
            m = HEADING.match(block.lines[0])
            if len(m.group(1)) <= level:
                current = Section(path, block.line, m.group(2)) if len(m.group(1)) == level else None
                if current:
                    out.append(current)
                continue
        if current:
            current.blocks.append(block)
    return out


def shown_path(path):
    return path.relative_to(ROOT) if path.is_relative_to(ROOT) else path


def plain(markdown):
    """A line of Markdown as plain text: no code ticks, emphasis or link targets."""
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", markdown)
    text = re.sub(r"\*\*([^*]+)\*\*", r"\1", text)
    return text.replace("`", "").replace("\\|", "|")


def table_cells(line):
    line = line.strip()
    if not line.startswith("|"):
        return []
    cells = re.split(r"(?<!\\)\|", line.strip("|"))
    return [c.strip() for c in cells]


# --- Built-in entries -------------------------------------------------------

LABELS = ["Result.", "Errors.", "Last error.", "On Linux."]
CALL_FORM = re.compile(r"^`([^`]+)`\s+→\s+\S")
LABEL = re.compile(r"^\*\*([^*]+)\*\*")


def builtin_entries(docs):
    """Every `## NAME` section of docs/builtins/*.md, by name (the first of
    each name), and the sections that repeat a name."""
    entries, repeats = {}, []
    for path in sorted(docs.joinpath("builtins").glob("*.md")):
        for section in sections(path):
            if section.title in entries:
                repeats.append(section)
            else:
                entries[section.title] = section
    return entries, repeats


def call_forms(section):
    first = section.blocks[0] if section.blocks else None
    if not first or first.kind != "para":
        return []
    forms = [CALL_FORM.match(line.strip()) for line in first.lines]
    return [m.group(1) for m in forms] if all(forms) else []


def summary(section):
    """The entry's one-sentence summary (Markdown), or "" when it has none."""
    if len(section.blocks) < 2 or section.blocks[1].kind != "para":
        return ""
    text = section.blocks[1].text()
    one = (text.endswith(".") and not text.startswith(("|", "**", ">", "- ", "* "))
           and not re.search(r"[.!?]\s+[A-Z]", text))
    return text if one else ""


def entry_problems(section):
    name = section.title
    problems = []
    forms = call_forms(section)
    if not forms or not all(f.startswith(name + "(") for f in forms):
        problems.append(f"the first paragraph is not the call form (`{name}(...)` → type, one form a line)")
    if not summary(section):
        problems.append("the second paragraph is not one plain summary sentence")
    labels = [m.group(1) for b in section.blocks if b.kind == "para" for m in [LABEL.match(b.lines[0])] if m]
    labels = [label for label in labels if label in LABELS]
    missing = [label for label in LABELS if label not in labels]
    if missing:
        problems.append("no " + ", ".join(f"**{label}**" for label in missing) + " paragraph")
    elif labels != LABELS:
        problems.append("the labelled paragraphs are not in the order " + ", ".join(f"**{l}**" for l in LABELS))
    if not any(b.kind == "fence" and b.info.split()[:1] == ["zunscript"] for b in section.blocks):
        problems.append("no ```zunscript example")
    return problems


# --- Constant groups --------------------------------------------------------

NO_PREFIX = "(no prefix)"


def constant_groups(docs):
    """The group table of docs/constants.md (the table whose first column is
    "Prefix"): prefix -> (group name, what it is for). The first column is
    the prefix as code, or "(no prefix)" for the engine's own constants."""
    path = docs / "constants.md"
    groups = {}
    if not path.exists():
        return groups
    for block in markdown_blocks(path.read_text(encoding="utf-8")):
        if block.kind != "para" or table_cells(block.lines[0])[:1] != ["Prefix"]:
            continue
        for line in block.lines[2:]:
            cells = table_cells(line)
            if len(cells) < 3:
                continue
            m = re.fullmatch(r"`([^`]+)`", cells[0])
            if m or cells[0] == NO_PREFIX:
                groups[m.group(1) if m else ""] = (cells[1], cells[2])
    return groups


def group_title(prefix, groups):
    name = groups.get(prefix, ("The engine's own" if not prefix else prefix,))[0]
    return f"{name} (`{prefix}`)" if prefix else name


# --- coverage ---------------------------------------------------------------


def coverage_problems(names, docs):
    problems = []
    entries, repeats = builtin_entries(docs)
    known = {name for name, _ in names.builtins}
    for name, _ in names.builtins:
        if name not in entries:
            problems.append(f"{name}: no `## {name}` entry in docs/builtins/*.md")
        else:
            problems += [f"{entries[name].where()}: {name}: {p}" for p in entry_problems(entries[name])]
    for section in entries.values():
        if section.title not in known:
            problems.append(f"{section.where()}: `## {section.title}` is not a built-in name")
    for section in repeats:
        problems.append(f"{section.where()}: a second `## {section.title}` entry (the first is at "
                        f"{entries[section.title].where()})")

    keywords_md = docs / "keywords.md"
    have = {s.title for s in sections(keywords_md)} if keywords_md.exists() else set()
    for word in names.keywords:
        if word not in have:
            problems.append(f"{word}: no `## {word}` section in docs/keywords.md")

    groups = constant_groups(docs)
    used = {group for _, _, group in names.constants}
    for prefix in sorted(used - groups.keys()):
        problems.append(f"constants {prefix or NO_PREFIX}: no row in the group table of docs/constants.md")
    for prefix in sorted(groups.keys() - used):
        problems.append(f"docs/constants.md: the group {prefix or NO_PREFIX} has no constants")
    return problems


def cmd_coverage(args):
    problems = coverage_problems(read_names(args), pathlib.Path(args.docs))
    for p in problems:
        print(p, file=sys.stderr)
    print(f"{len(problems)} problems" if problems else "every built-in, keyword and constant group has its entry",
          file=sys.stderr)
    return 1 if problems else 0


# --- messages ---------------------------------------------------------------

# Where the product's texts are: every string literal of these folders (and
# the runner's dialog resources) is either explained by an entry of
# docs/messages.md or listed, with its reason, in tools/docs/not-messages.txt.
MESSAGE_SOURCES = ["text", "platform", "loader", "engine", "builtins", "framework", "hosts", "runner",
                   "resources/zunrun.rc"]
# Tables of names, not texts: the constants and the built-ins (the manual
# covers their names through `coverage`).
NAME_TABLES = {"engine/constants_table.cpp", "builtins/table.cpp"}
# Code that is not the product's, or whose texts no program shows (the file
# properties of the executables, the resource ids).
OTHER_CODE = ["tests", "tools", "editors", "resources/manifest.rc", "resources/version.rc",
              "resources/zunrunc.rc", "resources/resource.h"]
CODE_SUFFIXES = (".cpp", ".h", ".rc")
NOT_MESSAGES = "tools/docs/not-messages.txt"
MESSAGE_LABELS = ["Meaning.", "Fix."]

C_TOKEN = re.compile(r"""//[^\n]*|/\*.*?\*/|^[ \t]*\#[ \t]*include[^\n]*
                        |(?:u8|[uUL])?'(?:\\.|[^'\\\n])*'
                        |(?:u8|[uUL])?"(?P<body>(?:\\.|[^"\\\n])*)"
                        |(?P<end>[;{}])""", re.S | re.M | re.X)
C_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"', "'": "'", "a": "\a", "b": "\b", "f": "\f",
             "v": "\v", "?": "?"}


class Literal:
    """A string literal of the code: where it is, the statement it belongs
    to (its number in the file), its spelling between the quotes and its
    text."""

    def __init__(self, path, line, statement, raw):
        self.path = path
        self.line = line
        self.statement = statement
        self.raw = raw
        self.text = c_unescape(raw)

    def where(self):
        return f"{self.path}:{self.line}"


def c_unescape(raw):
    out, i = [], 0
    while i < len(raw):
        if raw[i] != "\\":
            out.append(raw[i])
            i += 1
            continue
        e = raw[i + 1]
        digits = {"x": r"[0-9A-Fa-f]+", "u": r"[0-9A-Fa-f]{4}", "U": r"[0-9A-Fa-f]{8}"}.get(e)
        if digits:
            n = re.match(digits, raw[i + 2:]).group()
            out.append(chr(int(n, 16)))
            i += 2 + len(n)
        elif e in "01234567":
            n = re.match(r"[0-7]{1,3}", raw[i + 1:]).group()
            out.append(chr(int(n, 8)))
            i += 1 + len(n)
        else:
            out.append(C_ESCAPES.get(e, e))
            i += 2
    return "".join(out)


STATIC_ASSERT = re.compile(r'static_assert\s*\((?:[^;"]|"(?:\\.|[^"\\])*")*\);')


def literals_in(path, text):
    """The string literals of a C++ or resource file, outside comments and
    #include lines. A statement ends at `;`, `{` or `}` (in a resource
    file, at the end of its line); adjacent literals stay separate pieces of
    one statement. A `&` in a resource text marks the access key and is not
    shown."""
    resource = path.endswith(".rc")
    # A static_assert's text is for whoever breaks the build, not a message.
    text = STATIC_ASSERT.sub(lambda m: "\n" * m.group().count("\n") + ";", text)
    out, statement = [], 0
    for m in C_TOKEN.finditer(text):
        if m.group("end"):
            statement += 1
        elif m.group("body") is not None:
            line = text.count("\n", 0, m.start()) + 1
            raw = m.group("body")
            lit = Literal(path, line, line if resource else statement, raw)
            if resource:
                lit.text = re.sub(r"&(.)", r"\1", lit.text)
            out.append(lit)
    return out


def is_text(literal):
    """Whether a literal can say anything: it has a letter or a digit."""
    return any(c.isalnum() for c in literal.text)


def code_files(root, sources):
    """The files to scan, and the problems: a source that is missing, and
    code outside both the sources and OTHER_CODE (a new folder)."""
    files, problems = [], []
    for source in sources:
        path = root / source
        if path.is_file():
            files.append(path)
        elif path.is_dir():
            files += sorted(p for p in path.rglob("*") if p.suffix in CODE_SUFFIXES and p.is_file())
        else:
            problems.append(f"{source}: a source of messages that does not exist (MESSAGE_SOURCES in tools/docs/zundocs.py)")
    known = [root / s for s in list(sources) + OTHER_CODE]
    for folder, dirs, names in os.walk(root):
        dirs[:] = [d for d in dirs if not d.startswith((".", "build")) and d != "node_modules"]
        for name in names:
            path = pathlib.Path(folder, name)
            if path.suffix in CODE_SUFFIXES and not any(path == k or k in path.parents for k in known):
                problems.append(f"{path.relative_to(root)}: code that the messages check does not read "
                                "(add it to MESSAGE_SOURCES or OTHER_CODE in tools/docs/zundocs.py)")
    return [f for f in files if f.relative_to(root).as_posix() not in NAME_TABLES], problems


def read_not_messages(path):
    """tools/docs/not-messages.txt: groups of literals, each group after the
    `# reason` it shares and ended by a blank line; a literal is written as
    in the code, in double quotes. Returns ({spelling: line}, problems)."""
    listed, problems, reason = {}, [], None
    if not path.exists():
        return listed, [f"{shown_path(path)}: missing"]
    for n, line in enumerate(path.read_text(encoding="utf-8").split("\n"), 1):
        where = f"{shown_path(path)}:{n}"
        if not line.strip():
            reason = None
            continue
        if line.startswith("#"):
            reason = line[1:].strip() or None
        elif not re.fullmatch(r'"(?:\\.|[^"\\])*"', line):
            problems.append(f"{where}: not a literal in double quotes, as the code spells it: {line}")
        elif not reason:
            problems.append(f"{where}: {line} has no `# reason` line above it")
        elif line[1:-1] in listed:
            problems.append(f"{where}: {line} is listed twice (first at line {listed[line[1:-1]]})")
        else:
            listed[line[1:-1]] = n
    return listed, problems


class MessageEntry:
    def __init__(self, section, forms):
        self.section = section
        self.forms = forms  # the message's forms, blanks made single spaces
        self.matched = False


def message_entries(path):
    """Each `###` section of docs/messages.md with its message forms: the
    code spans of its first paragraph, or its first block when that is a
    ```text block. Also the problems of each entry's shape."""
    entries, problems = [], []
    if not path.exists():
        return entries, [f"{shown_path(path)}: missing"]
    for section in sections(path, level=3):
        first = section.blocks[0] if section.blocks else None
        forms = []
        if first and first.kind == "fence" and first.info == "text":
            forms = ["\n".join(first.lines[1:-1])]
        elif first and first.kind == "para":
            forms = [m.group(2) for m in re.finditer(r"(`+)(.+?)\1", "\n".join(first.lines))]
        forms = [" ".join(f.split()) for f in forms if f.strip()]
        where = f"{section.where()}: {section.title}"
        if not forms:
            problems.append(f"{where}: the entry does not start with its message (code spans, or a ```text block)")
        rest = section.blocks[1:] if forms else section.blocks
        labels = [m.group(1) for b in rest if b.kind == "para" for m in [LABEL.match(b.lines[0])] if m]
        for label in MESSAGE_LABELS:
            if label not in labels:
                problems.append(f"{where}: no **{label}** paragraph")
        if not (any(b.kind == "fence" for b in rest) or "Example." in labels):
            problems.append(f"{where}: no example (a fenced block, or an **Example.** paragraph that says why none)")
        entries.append(MessageEntry(section, forms))
    return entries, problems


def literal_pattern(text):
    text = " ".join(text.split())
    word = re.compile(r"\w")
    return re.compile(("" if not word.match(text[0]) else r"(?<!\w)") + re.escape(text)
                      + ("" if not word.match(text[-1]) else r"(?!\w)"))


def messages_problems(root, docs, not_messages, sources=MESSAGE_SOURCES):
    files, problems = code_files(root, sources)
    literals = []
    for path in files:
        literals += literals_in(path.relative_to(root).as_posix(), path.read_text(encoding="utf-8"))
    listed, list_problems = read_not_messages(not_messages)
    entries, entry_problems_ = message_entries(docs / "messages.md")
    found = {}  # a text -> the entries whose message holds it

    def entries_of(text):
        if text not in found:
            pattern = literal_pattern(text)
            found[text] = {i for i, e in enumerate(entries) if any(pattern.search(f) for f in e.forms)}
            for i in found[text]:
                entries[i].matched = True
        return found[text]

    statements = {}
    for lit in literals:
        if not is_text(lit):
            continue
        entries_of(lit.text)
        if lit.raw not in listed:
            statements.setdefault((lit.path, lit.statement), []).append(lit)
    for parts in statements.values():
        missing = [lit for lit in parts if not entries_of(lit.text)]
        for lit in missing:
            problems.append(f"{lit.where()}: \"{lit.raw}\" is explained by no entry of docs/messages.md "
                            f"and not listed in {NOT_MESSAGES}")
        if not missing and not set.intersection(*(entries_of(lit.text) for lit in parts)):
            problems.append(f"{parts[0].where()}: the parts " + ", ".join(f"\"{lit.raw}\"" for lit in parts)
                            + " of one message are in no one entry's message of docs/messages.md")
    spelled = {lit.raw for lit in literals}
    for raw, line in listed.items():
        if raw not in spelled:
            problems.append(f"{shown_path(not_messages)}:{line}: \"{raw}\" is listed but no longer in the code")
    for e in entries:
        if e.forms and not e.matched:
            problems.append(f"{e.section.where()}: {e.section.title}: no text of the code is part of its message")
    return problems + list_problems + entry_problems_


def cmd_messages(args):
    root = pathlib.Path(args.root).resolve()
    docs = pathlib.Path(args.docs).resolve() if args.docs else root / "docs"
    listed = pathlib.Path(args.not_messages).resolve() if args.not_messages else root / NOT_MESSAGES
    problems = messages_problems(root, docs, listed)
    for p in problems:
        print(p, file=sys.stderr)
    print(f"{len(problems)} problems" if problems else
          "every text of the code is explained in docs/messages.md or listed as no message", file=sys.stderr)
    return 1 if problems else 0


# --- Rendering --------------------------------------------------------------

# The help's contents, in order: a page, or a folder whose pages follow in
# FOLDER_ORDER (the rest by title). A page that is not written yet is left
# out; a page that is written but not listed here is a fault (`links`).
CONTENTS = [
    ("Getting started", "getting-started.md"),
    ("The language", "language.md"),
    ("Keywords", "keywords.md"),
    ("Built-ins by family", "builtins/"),
    ("Constants", "constants.md"),
    ("Messages", "messages.md"),
    ("Windows and Linux", "platforms.md"),
    ("Recipes", "recipes/"),
    ("Editors", "editors.md"),
    ("Index", "names.md"),
]
FOLDERS = {label for label, target in CONTENTS if target.endswith("/")}
FRONT = "index.md"
INDEX = "names.md"  # generated: every built-in and constant
FOLDER_ORDER = {"builtins/": ["common", "internal", "arrays", "math", "strings", "time", "input", "files",
                              "system", "windows"]}
CONTENTS_MARK = "<!-- contents -->"
ASSETS = pathlib.Path(__file__).resolve().parent

# What each kind of fenced block is shown as: its class and its label.
BLOCK_LABELS = {
    "zunscript": ("script", "Example"),
    "output": ("output", "Output: what the script prints"),
    "input": ("input", "Typed in: the answers to the script's questions"),
    "error": ("error", "Error: the line the script stops with"),
}
SCRIPT_MARKS = {
    "desktop": "needs a Windows desktop",
    "check": "changes files or settings on this computer",
    "nocheck": "stops with an error",
}


def slug(text):
    """GitHub's heading anchor: lower case, punctuation other than - and _
    removed, each space a hyphen."""
    return re.sub(r"[^\w\- ]", "", text.strip().lower()).replace(" ", "-")


def text_of(fragment):
    return html.unescape(re.sub(r"<[^>]+>", "", fragment))


def cmark(markdown):
    exe = shutil.which("cmark-gfm")
    if not exe:
        raise SystemExit("zundocs: cmark-gfm is missing (tools/zun setup installs it)")
    done = subprocess.run([exe, "-e", "table", "--full-info-string"], input=markdown.encode("utf-8"),
                          capture_output=True, check=True)
    return done.stdout.decode("utf-8")


class Highlighter:
    """Marks a script's comments, strings, numbers, variables, keywords,
    built-in names and constants, with the names the program lists."""

    TOKEN = re.compile(r"""(?P<comment>//[^\r\n]*|/\*.*?(?:\*/|\Z))
                         |(?P<string>"(?:\\.|[^"\\\n])*"?)
                         |(?P<variable>\$\w*)
                         |(?P<word>[A-Za-z_]\w*)
                         |(?P<number>0x[0-9A-Fa-f]+|\d+(?:\.\d*)?)""", re.S | re.X)

    def __init__(self, names):
        self.words = {}
        for name, _ in names.builtins:
            self.words[name] = "fn"
        for name, _, _ in names.constants:
            self.words[name] = "const"
        for word in names.keywords:
            self.words[word] = "kw"

    def word_class(self, word):
        if word.lower() in ("and", "or", "not"):  # the word operators, in any case
            return "kw"
        return self.words.get(word)

    def __call__(self, code):
        out, at = [], 0
        for m in self.TOKEN.finditer(code):
            out.append(html.escape(code[at:m.start()], quote=False))
            kind = m.lastgroup
            cls = self.word_class(m.group()) if kind == "word" else kind
            text = html.escape(m.group(), quote=False)
            out.append(f'<span class="t-{cls}">{text}</span>' if cls else text)
            at = m.end()
        out.append(html.escape(code[at:], quote=False))
        return "".join(out)


class Page:
    def __init__(self, src, markdown):
        self.src = src  # relative to docs/, with "/"
        self.out = src[:-3] + ".html"
        self.markdown = markdown
        m = re.search(r"^# (.+)$", markdown, re.M)
        self.title = plain(m.group(1)).strip() if m else src
        self.depth = src.count("/")
        self.body = ""
        self.headings = []  # (level, text, id)
        self.sections = []  # (level, text, id, plain text under it)

    def anchor(self, text, level=None):
        for lvl, t, ident in self.headings:
            if t == text and (level is None or lvl == level):
                return ident
        return None


def link_target(url):
    """A relative link to a .md page, as the link to its .html page."""
    if re.match(r"[A-Za-z][A-Za-z0-9+.-]*:|/|#", url):
        return url
    path, hash_, fragment = url.partition("#")
    if path.endswith(".md"):
        path = path[:-3] + ".html"
    return path + hash_ + fragment


class Site:
    def __init__(self, docs, names):
        self.docs = docs
        self.names = names
        self.highlight = Highlighter(names)
        self.groups = constant_groups(docs)
        self.pages = {}
        for path in sorted(docs.rglob("*.md")):
            src = path.relative_to(docs).as_posix()
            self.pages[src] = Page(src, path.read_text(encoding="utf-8"))
        self.problems = []
        if INDEX in self.pages:
            self.problems.append(f"docs/{INDEX}: the index of names is generated; this file would hide it")
        self.pages[INDEX] = Page(INDEX, "# Index\n")

    # The contents, as (label, [pages]) with the pages that exist.
    def contents(self):
        out = []
        for label, target in CONTENTS:
            if target.endswith("/"):
                order = FOLDER_ORDER.get(target, [])
                pages = [p for src, p in self.pages.items() if src.startswith(target) and "/" not in src[len(target):]]
                rank = {f"{target}{stem}.md": i for i, stem in enumerate(order)}
                pages.sort(key=lambda p: (rank.get(p.src, len(rank)), p.title.lower()))
                if pages:
                    out.append((label, pages))
            elif target in self.pages:
                out.append((label, [self.pages[target]]))
        return out

    def listed(self):
        return {FRONT} | {p.src for _, pages in self.contents() for p in pages}

    def not_written(self):
        return [t for _, t in CONTENTS if not t.endswith("/") and t not in self.pages]

    # --- building each page

    def render(self, page, extra_markdown=""):
        body = cmark(page.markdown)
        if extra_markdown:
            body += self.constant_rows(cmark(extra_markdown))
        body = self.code_blocks(body)
        body = re.sub(r'(href|src)="([^"]*)"', lambda m: f'{m.group(1)}="{link_target(m.group(2))}"', body)
        body = body.replace("<table>", '<div class="table"><table>').replace("</table>", "</table></div>")
        page.body = self.heading_ids(page, body)

    def heading_ids(self, page, body):
        used = {}
        page.headings = []

        def one(m):
            level, inner = int(m.group(1)), m.group(2)
            text = text_of(inner)
            base = slug(text)
            n = used.get(base, 0)
            used[base] = n + 1
            ident = f"{base}-{n}" if n else base
            page.headings.append((level, text, ident))
            return (f'<h{level} id="{ident}">{inner}<a class="anchor" href="#{ident}" '
                    f'aria-label="Link to this section">#</a></h{level}>')

        body = re.sub(r"<h([1-6])>(.*?)</h\1>", one, body, flags=re.S)
        # The text under each heading, for the search.
        parts = re.split(r"<h[1-6] [^>]*>.*?</h[1-6]>", body, flags=re.S)
        page.sections = [(lvl, text, ident, " ".join(text_of(part).split()))
                         for (lvl, text, ident), part in zip(page.headings, parts[1:])]
        return body

    def code_blocks(self, body):
        def one(m):
            lang, meta, code = m.group(1) or "", m.group(2) or "", m.group(3)
            if lang not in BLOCK_LABELS:
                return m.group(0)
            cls, label = BLOCK_LABELS[lang]
            if lang == "zunscript":
                code = self.highlight(html.unescape(code))
                marks = [SCRIPT_MARKS[w] for w in meta.split() if w in SCRIPT_MARKS]
                label = " · ".join([label] + marks)
            return (f'<div class="block block-{cls}"><div class="block-label">{html.escape(label)}</div>'
                    f"<pre><code>{code}</code></pre></div>")

        return re.sub(r'<pre><code(?: class="language-([^"]*)")?(?: data-meta="([^"]*)")?>(.*?)</code></pre>',
                      one, body, flags=re.S)

    def constant_rows(self, tables):
        # Each constant's row is its own anchor, named as the constant is.
        known = {name for name, _, _ in self.names.constants}
        return re.sub(r"<tr>\n<td><code>([^<]+)</code></td>",
                      lambda m: (f'<tr id="{m.group(1)}">' if m.group(1) in known else "<tr>")
                      + m.group(0)[4:], tables)

    # --- generated Markdown

    def constants_markdown(self):
        out = ["", "## All constants", "",
               f"All {len(self.names.constants)} constants, by group, in the program's own order.", ""]
        order = []
        for _, _, group in self.names.constants:
            if group not in order:
                order.append(group)
        for prefix in order:
            out += [f"### {group_title(prefix, self.groups)}", ""]
            if prefix in self.groups:
                out += [self.groups[prefix][1], ""]
            out += ["| Name | Value |", "|---|---|"]
            out += ["| `{}` | `{}` |".format(name, value.replace("|", "\\|"))
                    for name, value, group in self.names.constants if group == prefix]
            out.append("")
        return "\n".join(out)

    def builtin_anchors(self):
        """name -> (page, anchor, family, summary) of every documented built-in."""
        entries, _ = builtin_entries(self.docs)
        out = {}
        for name, section in entries.items():
            page = self.pages[section.path.relative_to(self.docs).as_posix()]
            ident = page.anchor(name, 2)
            if ident:
                out[name] = (page, ident, summary(section))
        return out

    def index_markdown(self):
        documented = self.builtin_anchors()
        constants_page = self.pages.get("constants.md")
        out = ["# Index", "",
               "Every built-in function and every constant, from A to Z. The keywords have "
               + ("[a page of their own](keywords.md)." if "keywords.md" in self.pages else "a page of their own."),
               "", "## Built-in functions", "", "| Name | Family | What it does |", "|---|---|---|"]
        for name, family in sorted(self.names.builtins, key=lambda b: (b[0].lower(), b[0])):
            family = family.replace("&", " & ")
            if name in documented:
                page, ident, text = documented[name]
                text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text).replace("|", "\\|")
                out.append(f"| [`{name}`]({page.src}#{ident}) | {family} | {text} |")
            else:
                out.append(f"| `{name}` | {family} | *not described yet* |")
        out += ["", "## Constants", "", "| Name | Value | Group |", "|---|---|---|"]
        for name, value, prefix in sorted(self.names.constants, key=lambda c: (c[0].lower(), c[0])):
            title = group_title(prefix, self.groups)
            value = value.replace("|", "\\|")
            if constants_page:
                group_link = f"[{plain(title)}](constants.md#{constants_page.anchor(plain(title), 3)})"
                out.append(f"| [`{name}`](constants.md#{name}) | `{value}` | {group_link} |")
            else:
                out.append(f"| `{name}` | `{value}` | {plain(title)} |")
        return "\n".join(out) + "\n"

    def contents_markdown(self):
        """The front page's contents: every page, and each family's names."""
        out = []
        for label, pages in self.contents():
            if label not in FOLDERS:
                out.append(f"- [{label}]({pages[0].src})")
                continue
            out.append(f"- {label}")
            for page in pages:
                line = f"  - [{page.title}]({page.src})"
                if page.src.startswith("builtins/"):
                    names = [t for lvl, t, _ in page.headings if lvl == 2]
                    line += ": " + ", ".join(f"[`{n}`]({page.src}#{page.anchor(n, 2)})" for n in names)
                out.append(line)
        return "\n".join(out) + "\n"

    # --- the whole site

    def build(self, out):
        for src, page in self.pages.items():
            if src in (INDEX, FRONT):
                continue
            self.render(page, self.constants_markdown() if src == "constants.md" else "")
        self.pages[INDEX].markdown = self.index_markdown()
        self.render(self.pages[INDEX])
        if FRONT in self.pages:
            front = self.pages[FRONT]
            if CONTENTS_MARK in front.markdown:
                front.markdown = front.markdown.replace(CONTENTS_MARK, self.contents_markdown())
            self.render(front)
        else:
            self.problems.append(f"docs/{FRONT}: the front page is missing")
        for src in self.pages:
            if src not in self.listed() and src != FRONT:
                self.problems.append(f"docs/{src}: not in the help's contents (CONTENTS in tools/docs/zundocs.py)")

        if out.exists():
            if any(out.iterdir()) and not (out / "search-index.js").exists():
                raise SystemExit(f"zundocs: {out} holds files that are not a built help; not overwriting it")
            shutil.rmtree(out)
        out.mkdir(parents=True)
        for page in self.pages.values():
            target = out / page.out
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_text(self.page_html(page), encoding="utf-8")
            self.copy_images(page, out)
        for asset in ("style.css", "search.js"):
            shutil.copyfile(ASSETS / asset, out / asset)
        out.joinpath("search-index.js").write_text(
            "// Generated by tools/docs/zundocs.py: what the search box finds.\nwindow.ZUN_SEARCH = "
            + json.dumps(self.search_entries(), ensure_ascii=True, separators=(",", ":")).replace("],[", "],\n[")
            + ";\n", encoding="ascii")

    def copy_images(self, page, out):
        for src in re.findall(r'<img [^>]*src="([^"]+)"', page.body):
            if re.match(r"[A-Za-z][A-Za-z0-9+.-]*:|/", src):
                continue
            source = (self.docs / page.src).parent / src
            target = (out / page.out).parent / src
            if source.is_file():
                target.parent.mkdir(parents=True, exist_ok=True)
                shutil.copyfile(source, target)

    def nav_html(self, page):
        root = "../" * page.depth

        def item(p, label):
            current = p is page
            attrs = ' class="current" aria-current="page"' if current else ""
            html_ = f'<li><a href="{root}{p.out}"{attrs}>{html.escape(label)}</a>'
            if current:
                html_ += on_page([(lvl, t, i) for lvl, t, i in p.headings if lvl in (2, 3)])
            return html_ + "</li>"

        def on_page(headings):
            # The page's sections, each with its subsections.
            if not headings:
                return ""
            out, i = [], 0
            while i < len(headings):
                lvl, t, ident = headings[i]
                j = i + 1
                while j < len(headings) and headings[j][0] > lvl:
                    j += 1
                out.append(f'<li><a href="#{ident}">{html.escape(t)}</a>{on_page(headings[i + 1:j])}</li>')
                i = j
            return '<ul class="on-page">' + "".join(out) + "</ul>"

        items = []
        for label, pages in self.contents():
            if label in FOLDERS:
                items.append(f'<li><span class="group">{html.escape(label)}</span><ul>'
                             + "".join(item(p, p.title) for p in pages) + "</ul></li>")
            else:
                items.append(item(pages[0], label))
        return "<ul>" + "".join(items) + "</ul>"

    def page_html(self, page):
        root = "../" * page.depth
        return PAGE_TEMPLATE.format(
            title=html.escape(page.title), root=root, nav=self.nav_html(page), body=page.body,
            front_class=' class="current"' if page.src == FRONT else "")

    def search_entries(self):
        """[kind, name, where, summary, url, words]: built-ins, constants,
        keywords, then every heading with the words under it."""
        entries, covered = [], set()
        for name, (page, ident, text) in sorted(self.builtin_anchors().items()):
            family = dict(self.names.builtins).get(name, "")
            words = next((s[3] for s in page.sections if s[2] == ident), "")
            entries.append(["builtin", name, family.replace("&", " & "), plain(text), f"{page.out}#{ident}",
                            words.lower()[:1200]])
            covered.add((page.src, ident))
        constants_page = self.pages.get("constants.md")
        if constants_page:
            for name, value, prefix in self.names.constants:
                entries.append(["constant", name, value, plain(group_title(prefix, self.groups)),
                                f"constants.html#{name}", ""])
        keywords = self.pages.get("keywords.md")
        if keywords:
            for lvl, text, ident, words in keywords.sections:
                if lvl == 2 and text in self.names.keywords:
                    entries.append(["keyword", text, "Keywords", "", f"keywords.html#{ident}", words.lower()[:1200]])
                    covered.add(("keywords.md", ident))
        for page in self.pages.values():
            for lvl, text, ident, words in page.sections:
                if lvl <= 3 and (page.src, ident) not in covered:
                    url = page.out if lvl == 1 else f"{page.out}#{ident}"
                    entries.append(["heading", text, page.title if lvl > 1 else "", "", url, words.lower()[:1200]])
        return entries


PAGE_TEMPLATE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title} · ZunRun help</title>
<link rel="stylesheet" href="{root}style.css">
</head>
<body>
<input type="checkbox" id="nav-toggle" class="nav-toggle" aria-hidden="true" tabindex="-1">
<header class="top">
<label for="nav-toggle" class="nav-button" title="Contents"><span aria-hidden="true">&#9776;</span> Contents</label>
<a class="brand" href="{root}index.html"{front_class}>ZunRun help</a>
<div class="search" role="search">
<input type="search" id="search" placeholder="Search: a name or words" autocomplete="off" spellcheck="false" aria-label="Search the help" aria-controls="search-results">
<div id="search-results" class="search-results" role="listbox" hidden></div>
</div>
</header>
<div class="layout">
<nav class="contents" aria-label="Contents">
{nav}
</nav>
<main class="page">
{body}</main>
</div>
<script src="{root}search-index.js"></script>
<script src="{root}search.js" data-root="{root}"></script>
</body>
</html>
"""


# --- Checking the built help ------------------------------------------------


def site_problems(out, site):
    """Relative links and anchors that lead nowhere, repeated ids, and pages
    the contents leave out."""
    problems = list(site.problems)
    ids = {}
    pages = sorted(out.rglob("*.html"))
    for path in pages:
        found = re.findall(r'\sid="([^"]*)"', path.read_text(encoding="utf-8"))
        ids[path] = set(found)
        for dup in sorted({i for i in found if found.count(i) > 1}):
            problems.append(f"{path.relative_to(out)}: the id {dup!r} is used more than once")

    def check(where, base, url):
        if re.match(r"[A-Za-z][A-Za-z0-9+.-]*:", url):
            return
        path, _, fragment = url.partition("#")
        target = (base.parent / path).resolve() if path else base
        if not target.is_file() or not target.is_relative_to(out.resolve()):
            problems.append(f"{where}: {url} leads to no file of the help")
        elif fragment and target.suffix == ".html" and fragment not in ids.get(target, set()):
            problems.append(f"{where}: {url} leads to no anchor #{fragment}")

    for path in pages:
        for url in re.findall(r'\s(?:href|src)="([^"]*)"', path.read_text(encoding="utf-8")):
            check(path.relative_to(out), path.resolve(), html.unescape(url))
    index = out / "search-index.js"
    entries = json.loads(index.read_text(encoding="ascii").split("=", 1)[1].rstrip().rstrip(";"))
    for entry in entries:
        check(f"search-index.js ({entry[1]})", index.resolve(), entry[4])
    return problems


def build_site(args):
    site = Site(pathlib.Path(args.docs).resolve(), read_names(args))
    out = pathlib.Path(args.out).resolve()
    site.build(out)
    return site, out


def cmd_html(args):
    site, out = build_site(args)
    for p in site.problems:
        print(f"warning: {p}", file=sys.stderr)
    missing = site.not_written()
    print(f"{len(site.pages)} pages in {out}" + (f" (not written yet: {', '.join(missing)})" if missing else ""),
          file=sys.stderr)
    return 0


def cmd_links(args):
    site, out = build_site(args)
    problems = site_problems(out, site)
    for p in problems:
        print(p, file=sys.stderr)
    print(f"{len(problems)} problems" if problems else f"every link of the {len(site.pages)} pages holds",
          file=sys.stderr)
    return 1 if problems else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    sub = parser.add_subparsers(dest="command", required=True)
    zunrunc = str(ROOT / "build/native/hosts/zunrunc")
    p = sub.add_parser("examples", help="run every example and compare what it prints")
    p.add_argument("--zunrunc", default=zunrunc)
    p.add_argument("files", nargs="*")
    p.set_defaults(func=cmd_examples)
    for name, func, text in [("coverage", cmd_coverage, "check that every name has its entry"),
                             ("html", cmd_html, "render the offline HTML help"),
                             ("links", cmd_links, "render the help and check its links and contents")]:
        p = sub.add_parser(name, help=text)
        p.add_argument("--zunrunc", default=zunrunc, help="the zunrunc whose --list names the built-ins")
        p.add_argument("--list", help="a file holding what zunrunc --list prints (instead of running it)")
        p.add_argument("--docs", default=str(ROOT / "docs"), help="the manual's source folder")
        if name != "coverage":
            p.add_argument("--out", default=str(ROOT / "build/docs/html"), help="the help's folder")
        p.set_defaults(func=func)
    p = sub.add_parser("messages", help="check that docs/messages.md explains every text of the code")
    p.add_argument("--root", default=str(ROOT), help="the source tree whose code is read")
    p.add_argument("--docs", help="the manual's source folder (ROOT/docs)")
    p.add_argument("--not-messages", help=f"the reviewed list of texts that are no messages (ROOT/{NOT_MESSAGES})")
    p.set_defaults(func=cmd_messages)
    args = parser.parse_args()
    return args.func(args)


if __name__ == "__main__":
    sys.exit(main())
