#!/usr/bin/env python3
"""Runs generated scripts through zunrunc on Linux and zunrunc.exe under Wine
and compares what they print, what they report and how they end.

    differential.py generate SEED COUNT FOLDER      write the scripts only
    differential.py run [--seed N] [--count N] [--jobs N] [--keep FOLDER]

The scripts use the built-ins that behave the same everywhere (conversions,
strings, arrays, math, time at fixed moments, paths, the internal ones) and
every operator, on numbers, strings, arrays and nested arrays, with if/else,
repeat/break, blocks and mistakes that end a run with an error. Each seed
gives the same scripts on every machine.

A difference fails the run unless it is one of PLATFORM_DIFFERENCES, each of
which must have its section in docs/platforms.md; a listed difference that no
script showed fails a run of 200 scripts or more, so the list stays true. A Windows run that
prints nothing or ends abnormally is run again once; if it does so again it
is reported. Scripts run with TZ=UTC0 and standard input empty.
"""

import argparse
import os
import pathlib
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]

# ---------------------------------------------------------------- generator

STRINGS = ["", "a", "abc", "Hello World", "10", "3.5x", "-7", "0x1F", "AbCdE", "x;y", "a,b,c", "  pad  ",
           "tab\\there", "quote\\\"d", "back\\\\slash", "line\\nbreak", "ÄÖü", "C:\\\\dir\\\\file.txt",
           "/usr/lib/x.so", "archive.tar.gz", "%Y-%m-%d", "%H:%M:%S %p", "%A %B %#d %j", "%c"]
# The zone's name differs between the systems (see PLATFORM_DIFFERENCES): it
# is only printed, never computed with.
ZONE_FORMATS = ["%Z", "%z %c", "%H:%M %Z"]
CONSTANTS = ["PI", "TRUE", "FALSE", "NULL", "MB_OK", "IDOK", "IDCANCEL", "WM_CLOSE", "SW_SHOW", "VK_RETURN",
             "CSIDL_PERSONAL", "ENDL"]
BINARY = ["+", "-", "*", "/", "%", "&", "|", "&&", "||", "<", "<=", ">", ">=", "==", "!=", "and", "or"]
ASSIGN = ["=", "+=", "-=", "*=", "/=", "&=", "|="]
MATH1 = ["abs", "sqrt", "floor", "acos", "asin", "atan", "cos", "cosh", "exp", "log", "log10", "sin", "sinh",
         "tan", "tanh"]
TIMES = ["0", "1262304000", "951782400", "2147483647", "4102444800", "32535215999", "-1", "86399"]
TIME_FIELDS = ["TimeGetYear", "TimeGetMonth", "TimeGetDay", "TimeGetDayOfWeek", "TimeGetHour", "TimeGetMinute",
               "TimeGetSecond"]
PATHS = ["UrlGetName", "UrlGetTitle", "UrlGetExt", "UrlGetParent"]


class Generator:
    """Scripts that mostly make sense: values are made for the kind a place
    wants (number, text, array), and one place in ten takes any kind, which
    ends some runs with an error."""

    def __init__(self, seed):
        self.r = random.Random(seed)
        self.vars = []       # (name, kind) in scope, innermost last
        self.loops = 0

    def pick(self, seq):
        return self.r.choice(seq)

    def chance(self, p):
        return self.r.random() < p

    def var_of(self, kind):
        names = [n for n, k in self.vars if k == kind or kind == "any"]
        return "$" + self.pick(names) if names else None

    # -- values of a kind
    def number(self):
        k = self.r.randrange(10)
        if k < 4:
            return str(self.r.randrange(0, 20))
        if k < 6:
            return str(self.r.choice([0.5, 1.25, 2.5, 0.1, 3.75, 100.001, 1.5]))
        if k == 6:
            return str(self.r.choice([2147483647, 4294967296, 9007199254740993, 9223372036854775807,
                                      4611686018427387904, 100000000000000000, 1000000]))
        if k == 7:
            return "0x" + format(self.r.randrange(0, 1 << 20), "X")
        if k == 8:
            return "-" + str(self.r.randrange(1, 50))
        return str(self.r.randrange(20, 100000))

    def string(self):
        return '"' + self.pick(STRINGS) + '"'

    def expr(self, kind="any", depth=0):
        if kind == "any" or self.chance(0.01):
            kind = self.pick(["num", "num", "str", "arr"])
            if self.chance(0.3):
                kind = "any"
        if depth > 2:
            v = self.var_of(kind) if self.chance(0.4) else None
            return v or (self.string() if kind == "str" else "Array(1, \"b\")" if kind == "arr" else self.number())
        return getattr(self, "expr_" + (kind if kind != "any" else self.pick(["num", "str"])))(depth + 1)

    def expr_num(self, d):
        n = lambda: self.expr("num", d)
        s = lambda: self.expr("str", d)
        k = self.r.randrange(18)
        if k < 3:
            return self.number()
        if k < 5:
            return self.var_of("num") or self.number()
        if k == 5:
            return self.pick(CONSTANTS)
        if k < 9:
            return f"{n()} {self.pick(BINARY)} {n()}"
        if k == 9:
            return f"{self.pick(['-', '!', 'not '])}({n()})"
        if k == 10:
            return f"{self.pick(MATH1)}({n()})"
        if k == 11:
            return f"pow({n()}, {n()})"
        if k == 12:
            if self.chance(0.5):
                return f"{self.pick(['strlen', 'asc'])}({s()})"
            text = self.pick(['"10"', '"3.5x"', '"42.25"', n()])
            return f"{self.pick(['int', 'double'])}({text})"
        if k == 13:
            return (f"strfind({s()}, {s()}, {n()}{', 1' if self.chance(0.3) else ''})" if self.chance(0.5)
                    else f"strcmp({s()}, {s()}{', 1' if self.chance(0.3) else ''})")
        if k == 14:
            return f"{self.pick(TIME_FIELDS)}({self.pick(TIMES)})"
        if k == 15:
            a = self.var_of("arr")
            return f"array_size({a or self.expr('arr', d)})"
        if k == 16:
            return self.pick(["rand()", "GetLastError()", f"UrlIsSame({s()}, {s()})", f"var_isempty({self.expr('any', d)})",
                              f'var_exists("{self.pick([n for n, _ in self.vars] or ["x"])}")'])
        a = self.var_of("arr")
        return f"{a}[{self.r.randrange(0, 3)}]" if a else self.number()

    def expr_str(self, d):
        n = lambda: self.expr("num", d)
        s = lambda: self.expr("str", d)
        i = lambda: self.pick([str(self.r.randrange(0, 3))] * 4 + [str(self.r.randrange(-1, 12)), n()])
        k = self.r.randrange(16)
        if k < 3:
            return self.string()
        if k < 5:
            return self.var_of("str") or self.string()
        if k < 7:
            return f"{s()} + {self.pick([s, lambda: 'str(' + n() + ')', n] if self.chance(0.1) else [s, lambda: 'str(' + n() + ')'])()}"
        if k == 7:
            return f"str({self.expr('any', d)})"
        if k == 8:
            return f"{self.pick(['strupper', 'strlower'])}({s()})"
        if k == 9:
            return f"chr({self.pick([str(self.r.randrange(32, 127)), str(self.r.randrange(128, 0x3000)), n()])})"
        if k == 10:
            return f"{self.pick(['strsub', 'strdel'])}({s()}, {i()}{', ' + i() if self.chance(0.6) else ''})"
        if k == 11:
            return (f"strins({s()}, {i()}, {s()})" if self.chance(0.5)
                    else f"strreplace({s()}, {i()}, {i()}, {s()})")
        if k == 12:
            fmt = self.pick(STRINGS[-4:] + ["%d/%m/%y %I:%M", "%x %X"])
            fmt = f', "{fmt}"' if self.chance(0.8) else ""
            return f"TimeFormat({self.pick(TIMES)}{fmt})"
        if k == 13:
            return (f"{self.pick(PATHS)}({s()})" if self.chance(0.6) else f"UrlJoin({s()}, {s()})")
        if k == 14:
            return self.pick([f"var_type({self.expr('any', d)})", f"array_info({self.expr('arr', d)})",
                              f"handle_type({n()})"])
        a = self.var_of("arr")
        return f'{a}["{self.pick(["k", "name", "a"])}"]' if a else self.string()

    def expr_arr(self, d):
        k = self.r.randrange(4)
        if k < 2:
            return self.var_of("arr") or "Array()"
        items = [self.expr(self.pick(["num", "str", "arr" if k == 3 else "num"]), d)
                 for _ in range(self.r.randrange(0, 4))]
        return f"Array({', '.join(items)})"

    # -- statements
    def statement(self, depth=0):
        k = self.r.randrange(14)
        if k < 3 or not self.vars:
            name = f"v{len(self.vars)}"
            kind = self.pick(["num", "num", "str", "str", "arr"])
            if kind == "arr" and self.chance(0.3):
                self.vars.append((name, kind))
                return f"var ${name}[];"
            value = self.expr(kind)
            self.vars.append((name, kind))
            return f"var ${name} = {value};"
        if k < 5:
            name, kind = self.pick(self.vars)
            if kind == "arr":
                kind = self.pick(["num", "str"])
                index = self.pick([str(self.r.randrange(0, 4)), '"k"', '"name"'])
                return f"${name}[{index}] {self.pick(ASSIGN[:2])} {self.expr(kind)};"
            op = "=" if kind == "str" and self.chance(0.5) else self.pick(ASSIGN[:2] if kind == "str" else ASSIGN)
            return f"${name} {op} {self.expr(kind)};"
        if k < 9:
            if self.chance(0.05):
                return f'print(TimeFormat({self.pick(TIMES)}, "{self.pick(ZONE_FORMATS)}"));'
            return f"print({self.pick(['str(' + self.expr() + ')', self.expr('str')])});"
        if k == 9 and depth < 2:
            cond, body = self.expr("num"), self.block(depth + 1)
            if self.chance(0.5):
                return f"if ({cond}) {body} else {self.block(depth + 1)}"
            return f"if ({cond}) {body}"
        if k == 10 and depth < 2:
            self.loops += 1
            i = f"i{self.loops}"
            limit = self.r.randrange(1, 6)
            # The count ends the pass: a break ends the loop after its pass,
            # and a loop inside the pass would take that break for its own.
            inner = self.block(depth + 1, end=f"${i} += 1; if (${i} >= {limit}) break;")
            return f"var ${i} = 0; repeat {inner}"
        if k == 11 and depth < 2:
            return self.block(depth + 1)
        if k == 12:
            return f"{self.expr()};"
        return f"print(str({self.expr('num')}));"

    def block(self, depth, end=""):
        outer = len(self.vars)
        body = [self.statement(depth) for _ in range(self.r.randrange(1, 4))] + ([end] if end else [])
        del self.vars[outer:]   # a block's variables end with it
        return "{ " + " ".join(body) + " }"

    def program(self):
        lines = [self.statement() for _ in range(self.r.randrange(3, 16))]
        return "\n".join(lines) + "\n"


def generate(seed, count, folder):
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    paths = []
    for i in range(count):
        text = Generator(seed * 1000003 + i).program()
        path = folder / f"p{i:05d}.zunscript"
        path.write_bytes(text.encode("cp1252"))
        paths.append(path)
    return paths

# ---------------------------------------------------------------- comparison


class Result:
    def __init__(self, status, out, err):
        self.status, self.out, self.err = status, out, err

    def abnormal(self):
        """Wine sometimes starts a process that prints nothing at all."""
        return self.status not in ("0", "1") or (not self.out and not self.err)


# Lines of standard error that say what went wrong (the rest is the engine's
# trace of the variables, which shows the script's path).
ERROR_LINE = re.compile(rb"^(\(pos |ERROR! |zunrunc: )")


def error_lines(err):
    return [line for line in err.replace(b"\r\n", b"\n").split(b"\n") if ERROR_LINE.match(line)]


# Differences that come from the operating system and cannot be mended, each
# described in docs/platforms.md. A rule turns the Linux and the Windows text
# into a common form; a difference that vanishes in that form is a listed one.
ZONE_NAMES = re.compile(rb"(?i)\b(UTC|GMT|Coordinated Universal Time|Greenwich Standard Time|Greenwich Mean Time)\b")


def zone_names(linux, windows):
    return ZONE_NAMES.sub(b"<zone>", linux), ZONE_NAMES.sub(b"<zone>", windows)


# (name, its section of docs/platforms.md, rule)
PLATFORM_DIFFERENCES = [
    ("time zone names", "Time zone names", zone_names),
]


def undocumented():
    """The listed differences whose section the manual lacks."""
    manual = (ROOT / "docs/platforms.md").read_text(encoding="utf-8")
    return [name for name, section, _ in PLATFORM_DIFFERENCES if f"\n## {section}\n" not in manual]


def parts(r):
    return [r.status.encode(), r.out] + error_lines(r.err)


def same(native, windows):
    """None when equal; else the names of the listed differences that explain
    it, or [] when they do not."""
    linux, win = parts(native), parts(windows)
    if linux == win:
        return None
    if len(linux) != len(win):
        return []
    names = []
    for name, _, rule in PLATFORM_DIFFERENCES:
        changed = [rule(a, b) for a, b in zip(linux, win)]
        if changed != list(zip(linux, win)):
            names.append(name)
        linux, win = [a for a, _ in changed], [b for _, b in changed]
    return names if linux == win else []


def self_test():
    """The comparison on known pairs: the listed differences pass, and
    nothing else does."""
    R = Result
    cases = [
        (R("0", b"UTC 12:00\n", b""), R("0", b"Greenwich Standard Time 12:00\n", b""), ["time zone names"]),
        (R("1", b"", b"trace\n(pos 3) : x \xc3\x84\n"), R("1", b"", b"other\r\n(pos 3) : x \xc3\x84\r\n"), None),
        (R("0", "\u00c4\n".encode(), b""), R("0", "\u00c4\n".encode("cp437"), b""), []),
        (R("0", b"1\n", b""), R("0", b"1\n", b""), None),
        (R("0", b"1\n", b""), R("1", b"1\n", b""), []),
        (R("0", b"0.125\n", b""), R("0", b"0.000\n", b""), []),
        (R("0", b"UTC\n", b""), R("0", b"Pacific Standard Time\n", b""), []),
        (R("1", b"", b"(pos 3) : a\n"), R("1", b"", b"(pos 4) : a\n"), []),
    ]
    bad = [(n.out, w.out, want, same(n, w)) for n, w, want in cases if same(n, w) != want]
    for b in bad:
        print("differential self-test: %r against %r gave %r, not %r" % (b[0], b[1], b[3], b[2]))
    return not bad


def run_native(zunrunc, paths, env):
    results = []
    for p in paths:
        try:
            c = subprocess.run([zunrunc, "--timeout", "20", str(p)], stdin=subprocess.DEVNULL, capture_output=True,
                               env=env, timeout=60)
            results.append(Result(str(c.returncode), c.stdout, c.stderr))
        except subprocess.TimeoutExpired:
            results.append(Result("timeout", b"", b""))
    return results


def run_windows(batch, zunrunc_exe, paths, jobs, env, folder):
    """All paths through one start of the batch runner under Wine."""
    wine = shutil.which("wine") or shutil.which("wine64")
    listing = pathlib.Path(folder) / f"list-{time.monotonic_ns()}.txt"
    listing.write_text("".join(win_path(p) + "\n" for p in paths))
    c = subprocess.run([wine, str(batch), str(zunrunc_exe), win_path(listing), str(jobs), "20000"],
                       stdin=subprocess.DEVNULL, capture_output=True, env=env, timeout=3600)
    data, pos, results = c.stdout, 0, []
    while pos < len(data):
        end = data.index(b"\n", pos)
        header = data[pos:end].decode().split()
        nout, nerr = int(header[2]), int(header[3])
        pos = end + 1
        results.append(Result(header[1], data[pos:pos + nout], data[pos + nout:pos + nout + nerr]))
        pos += nout + nerr
    if len(results) != len(paths):
        raise SystemExit(f"the Windows runner reported {len(results)} of {len(paths)} runs:\n"
                         + c.stderr.decode(errors="replace")[-2000:])
    return results


def win_path(p):
    # Wine maps the Linux root to drive Z:.
    return "Z:" + str(pathlib.Path(p).resolve()).replace("/", "\\")


def show(label, r):
    err = b"\n".join(error_lines(r.err)).decode("utf-8", "replace")
    return (f"  {label}: status {r.status}\n    out: {r.out.decode('utf-8', 'replace')!r}\n"
            f"    error lines: {err!r}\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = ap.add_subparsers(dest="cmd", required=True)
    g = sub.add_parser("generate")
    g.add_argument("seed", type=int)
    g.add_argument("count", type=int)
    g.add_argument("folder")
    r = sub.add_parser("run")
    r.add_argument("--seed", type=int, default=1)
    r.add_argument("--count", type=int, default=500)
    r.add_argument("--jobs", type=int, default=2, help="Windows runs at a time")
    r.add_argument("--keep", help="write the scripts here and keep them")
    r.add_argument("--zunrunc", default=str(ROOT / "build/native/hosts/zunrunc"))
    r.add_argument("--zunrunc-exe", default=str(ROOT / "build/windows/hosts/zunrunc.exe"))
    r.add_argument("--batch", default=str(ROOT / "build/windows/tests/zun_batch_run.exe"))
    a = ap.parse_args()
    if a.cmd == "generate":
        generate(a.seed, a.count, a.folder)
        return 0

    if not self_test():
        return 1
    missing = undocumented()
    if missing:
        print(f"differential: docs/platforms.md does not describe: {', '.join(missing)}")
        return 1
    folder = a.keep or tempfile.mkdtemp(prefix="zun-differential-")
    try:
        started = time.monotonic()
        paths = generate(a.seed, a.count, folder)
        env = dict(os.environ, TZ="UTC0")
        native = run_native(a.zunrunc, paths, env)
        native_s = time.monotonic() - started
        windows = run_windows(a.batch, a.zunrunc_exe, paths, a.jobs, env, folder)
        again = [i for i, w in enumerate(windows) if w.abnormal() and same(native[i], w) is not None]
        if again:
            for i, w in zip(again, run_windows(a.batch, a.zunrunc_exe, [paths[i] for i in again], a.jobs, env, folder)):
                windows[i] = w
        failures, seen = [], {name: 0 for name, _, _ in PLATFORM_DIFFERENCES}
        for i, (n, w) in enumerate(zip(native, windows)):
            verdict = same(n, w)
            for name in verdict or []:
                seen[name] += 1
            if verdict == []:
                failures.append(f"{paths[i].name}:\n{paths[i].read_text(encoding='cp1252')}"
                                + show("Linux", n) + show("Windows", w))
        for f in failures[:20]:
            print(f)
        errors = sum(1 for n in native if n.status == "1")
        print(f"differential: {len(paths)} scripts (seed {a.seed}, {errors} ending in an error), "
              f"{len(failures)} unexplained differences, {len(again)} Windows runs repeated, "
              f"{time.monotonic() - started:.0f} s ({native_s:.0f} s on Linux)")
        unseen = [name for name, count in seen.items() if count == 0]
        for name, count in seen.items():
            print(f"  listed platform difference '{name}': {count} scripts")
        if unseen and len(paths) >= 200:
            print(f"differential: listed but never seen: {', '.join(unseen)} (remove it, or generate it)")
            return 1
        return 1 if failures else 0
    finally:
        if not a.keep:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
