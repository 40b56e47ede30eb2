#!/usr/bin/env python3
"""The manual's tools: checks its examples against the program.

    zundocs.py examples [--zunrunc PATH] [FILE.md ...]

Every example in the manual is a fenced block whose info string starts with
`zunscript`. The blocks that follow it directly (only blank lines or one
short line of prose between) belong to it:

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
import os
import pathlib
import re
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
        return f"{self.path.relative_to(ROOT) if self.path.is_relative_to(ROOT) else self.path}:{self.line}"


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


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("examples", help="run every example and compare what it prints")
    p.add_argument("--zunrunc", default=str(ROOT / "build/native/hosts/zunrunc"))
    p.add_argument("files", nargs="*")
    p.set_defaults(func=cmd_examples)
    args = parser.parse_args()
    return args.func(args)


if __name__ == "__main__":
    sys.exit(main())
