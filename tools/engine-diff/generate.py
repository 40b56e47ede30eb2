#!/usr/bin/env python3
"""Writes random ZUN Script programs for comparing two builds of zunrunc.

    generate.py OUTDIR COUNT [--seed N] [--family plain|traps|all]

The programs exercise what the engine must keep exactly: nested blocks and
shadowing declarations in loops, every operator across value types, break
in the middle of a pass and of an expression, skipped and run branches,
arrays and element names, long lists of numbers (which the engine keeps
packed) read, stored and appended to, built-in calls, errors on the first
and on a late pass, and lexical errors in code reached late. Every loop is
bounded.

Family "plain" keeps to constructs whose reading never changed; family
"traps" adds else-if chains, a statement right after `if (0)`, loops and
nested ifs in skipped branches, `break;` followed by else, dangling else.
Programs are deterministic: the same seed writes the same files.
"""

import argparse
import pathlib
import random

BUILTINS_1 = ["str", "strlen", "strupper", "strlower", "var_type", "var_isempty", "abs", "floor", "int", "double",
              "sqrt", "array_size"]
OPS = ["+", "-", "*", "/", "%", "&", "|", "&&", "||", "==", "!=", "<", "<=", ">", ">=", "and", "or"]
ASSIGN = ["=", "+=", "-=", "*=", "/=", "&=", "|="]


class Gen:
    """Writes statements; in `typed` mode expressions keep to operations that
    succeed (numbers with numbers, texts with texts), so that most programs
    run to their end and the long paths get exercised; otherwise anything
    goes, and most programs end in an error somewhere."""

    def __init__(self, rnd, traps, typed):
        self.r = rnd
        self.traps = traps
        self.typed = typed
        self.vars = {}      # visible name -> "num", "str", "arr" or "list"
        self.loop_depth = 0
        self.counter = 0
        self.lines = []  # the statement being written

    def name(self):
        self.counter += 1
        return f"v{self.counter}"

    def visible(self, kind):
        return [v for v, k in self.vars.items() if k == kind]

    # Untyped: any operand, any operator.
    def literal(self):
        r = self.r
        k = r.randrange(9)
        if k == 0:
            return str(r.randrange(-3, 20))
        if k == 1:
            return f"{r.randrange(0, 9)}.{r.randrange(0, 99)}"
        if k == 2:
            return f"0x{r.randrange(0, 255):x}"
        if k == 3:
            return '"' + r.choice(["", "a", "abc", "12", "1.5", "x;y", "-3", "0", "Hello", "}"]) + '"'
        if k == 4:
            return f"int({r.randrange(-5, 50)})"
        if k == 5:
            return f"Array({self.literal()}, {self.literal()})"
        if k == 6:
            return r.choice(["TRUE", "FALSE", "PI", "VK_RETURN", "WM_CLOSE", "NONE"])
        if k == 7 and self.vars:
            return "$" + r.choice(list(self.vars))
        return str(r.randrange(0, 5))

    def operand(self, depth):
        r = self.r
        k = r.randrange(10)
        if depth <= 0 or k < 4:
            return self.literal()
        if k < 6 and self.vars:
            v = r.choice(list(self.vars))
            if r.randrange(3) == 0:
                return f'${v}[{r.choice(["0", "1", chr(34) + "k" + chr(34), chr(34) + "n" + chr(34)])}]'
            return "$" + v
        if k < 8:
            return f"{r.choice(BUILTINS_1)}({self.expr(depth - 1)})"
        if k < 9:
            return f"({self.expr(depth - 1)})"
        return r.choice(["-", "!", "not "]) + self.operand(depth - 1)

    def untyped(self, depth=2):
        r = self.r
        e = self.operand(depth)
        for _ in range(r.randrange(3)):
            e += f" {r.choice(OPS)} {self.operand(depth - 1)}"
        return e

    # Typed: numbers and texts that combine without failing.
    def num(self, depth=2):
        r = self.r
        k = r.randrange(12)
        nums = self.visible("num")
        if depth <= 0 or k < 3:
            return r.choice([str(r.randrange(0, 30)), f"{r.randrange(0, 9)}.{r.randrange(1, 99)}",
                             f"0x{r.randrange(0, 255):x}", f"int({r.randrange(-9, 99)})", "PI", "TRUE", "VK_RETURN"])
        if k < 6 and nums:
            return "$" + r.choice(nums)
        if k < 7 and self.visible("arr"):
            return f'${r.choice(self.visible("arr"))}["{r.choice("kn")}"]'
        if k < 7 and self.visible("list"):
            return f"${r.choice(self.visible('list'))}[{self.position()}]"
        if k < 8:
            return f"strlen({self.text(depth - 1)})"
        if k < 9:
            return f"{r.choice(['abs', 'floor', 'int', 'double', 'sqrt'])}({self.num(depth - 1)})"
        if k < 10:
            return f"({self.num(depth - 1)} {r.choice(['<', '>', '==', '!=', '<=', '>=', '&&', '||'])} {self.num(depth - 1)})"
        op = r.choice(["+", "-", "*", "/", "%", "&", "|"])
        right = self.num(depth - 1) if op in "+-*&|" else str(r.randrange(1, 9))
        return f"({self.num(depth - 1)} {op} {right})"

    def position(self):
        """An index in range of any list (every list has 64 elements or more)."""
        return f"abs(int({self.num(0)})) % 64" if self.r.randrange(2) else str(self.r.randrange(0, 64))

    def list_declaration(self, indent, v):
        """A list of 64 to 80 numbers, most often of one type throughout
        (so that it packs), now and then with a stray value."""
        r = self.r
        i = self.name()
        element = r.choice([f"${i} * 3 - 40", f"int(${i}) * 7", f"${i} / 4", f"strlen(\"ab\") + ${i}"])
        self.emit(indent, f"var ${v}[]; var ${i} = 0;")
        self.emit(indent, f"repeat {{ ${v} += {element}; ${i} += 1; if (${i} >= {r.randrange(64, 81)}) break; }}")
        if r.randrange(4) == 0:
            stray = r.choice(["1.5", "int(2)", '"s"', "Array(1)"])
            self.emit(indent, f"${v}[{r.randrange(0, 64)}] = {stray};")

    def text(self, depth=2):
        r = self.r
        k = r.randrange(8)
        texts = self.visible("str")
        if depth <= 0 or k < 2:
            return '"' + r.choice(["", "a", "abc", "x;y", "Hello", "}", "{", "else", "break;"]) + '"'
        if k < 4 and texts:
            return "$" + r.choice(texts)
        if k < 5:
            return f"str({self.num(depth - 1)})"
        if k < 6:
            return f"{r.choice(['strupper', 'strlower'])}({self.text(depth - 1)})"
        return f"{self.text(depth - 1)} + {self.text(depth - 1)}"

    def expr(self, depth=2):
        if not self.typed:
            return self.untyped(depth)
        return self.num(depth) if self.r.randrange(3) else "str(" + self.text(depth) + ")"

    def cond(self):
        r = self.r
        nums = self.visible("num")
        if nums and r.randrange(2):
            return f"${r.choice(nums)} {r.choice(['<', '>', '==', '!=', '>=', '<='])} {r.randrange(0, 6)}"
        return self.num(1) if self.typed else self.untyped(1)

    def emit(self, indent, text):
        self.lines.append("  " * indent + text)

    def stmt(self, indent):
        """One simple statement (declaration, assignment, print, break test)."""
        r = self.r
        k = r.randrange(14)
        if k < 3 or not self.vars:
            # Now and then a name that an outer block holds already: the
            # declaration shadows it until its block ends.
            shadow = self.vars and r.randrange(4) == 0
            v = r.choice(list(self.vars)) if shadow else self.name()
            kind = r.choice(["num", "num", "str", "arr", "list"])
            if kind == "list":
                self.list_declaration(indent, v)
            elif kind == "arr":
                self.emit(indent, f'var ${v}[]; ${v}["k"] = {self.num(1)}; ${v}["n"] = {self.num(1)};')
            elif kind == "str":
                self.emit(indent, f"var ${v} = {self.text()};")
            else:
                self.emit(indent, f"var ${v} = {self.num()};")
            self.vars[v] = kind if self.typed else "num"
        elif k < 7:
            v = r.choice(list(self.vars))
            kind = self.vars[v]
            if not self.typed:
                target = f'${v}["{r.choice("kn")}"]' if r.randrange(5) == 0 else f"${v}"
                self.emit(indent, f"{target} {r.choice(ASSIGN)} {self.expr()};")
            elif kind == "num":
                op = r.choice(["=", "+=", "-=", "*="])
                # Now and then a bare chain, which a pending break cuts short
                # after its first operator.
                value = self.num()
                if r.randrange(3) == 0:
                    value = f"{self.num(1)} {r.choice(['+', '-', '*'])} {self.num(1)} + {self.num(1)}"
                self.emit(indent, f"${v} {op} {value};")
            elif kind == "str":
                # Appending only literals: a text that doubles each pass would fill memory.
                if r.randrange(2):
                    self.emit(indent, f"${v} = {self.text()};")
                else:
                    self.emit(indent, f"${v} += \"{r.choice(['a', 'bc', ';', '}'])}\";")
            elif kind == "list":
                target = f"${v}[{self.position()}]"
                self.emit(indent, r.choice([f"{target} = {self.num()};", f"${v} += {self.num(1)};",
                                            f"{target} {r.choice(['+=', '-=', '*='])} {self.num(1)};",
                                            f"print(str(${v}));"]))
            else:
                self.emit(indent, f'${v}["{r.choice("kn")}"] {r.choice(["=", "+=", "-="])} {self.num(1)};')
        elif k < 10:
            self.emit(indent, f"print(str({self.expr()}));")
        elif k < 11 and self.loop_depth > 0:
            # break in the middle of a pass: what follows still runs, cut short
            self.emit(indent, f"if ({self.cond()}) {{ break; }}")
        elif k < 12 and self.visible("arr"):
            a = r.choice(self.visible("arr"))
            self.emit(indent, f"${a} += {self.num(1)}; print(str(array_size(${a})) + \",\" + str(${a}[0]));")
        elif k < 13:
            self.emit(indent, f"print(var_type({self.expr()}) + str(array_size(Array({self.expr(1)}))));")
        else:
            self.emit(indent, f"print(strsub(\"abcdef\", {r.randrange(0, 5)}, {r.randrange(0, 6)}));")


def program(rnd, traps, typed):
    g = Gen(rnd, traps, typed)
    out = []
    for _ in range(rnd.randrange(8, 25)):
        out.append(statement(g, 0, 3))
    return "\n".join(out) + "\n"


def statement(g, indent, depth):
    """One statement as text, at most `depth` levels of nesting deep."""
    r = g.r
    pad = "  " * indent
    k = r.randrange(20)
    if k < 4 and depth > 0:
        return pad + if_text(g, indent, depth)
    if k < 6 and depth > 0 and g.loop_depth < 2:
        return pad + loop_text(g, indent, depth)
    if k < 7 and depth > 0:
        return pad + braced(g, indent, depth)
    g.lines = []
    g.stmt(indent)
    return "\n".join(g.lines)


def braced(g, indent, depth, loop_counter=None):
    saved = dict(g.vars)
    body = []
    for _ in range(g.r.randrange(1, 5)):
        body.append(statement(g, indent + 1, depth - 1))
    # The loop's own test comes last: a break earlier in a pass is taken by
    # any loop that runs after it in the same pass (one flag for all loops).
    if loop_counter:
        body.append("  " * (indent + 1) + loop_counter)
    g.vars = saved
    return "{\n" + "\n".join(body) + "\n" + "  " * indent + "}"


def branch_text(g, indent, depth):
    r = g.r
    if g.traps and r.randrange(2):
        k = r.randrange(6)
        if k == 0 and g.loop_depth > 0:
            return "break;"
        if k == 1:
            return ";"
        if k == 2 and depth > 0:
            return f"if ({g.cond()}) print(\"inner\"); else print(\"inner else\");"
        if k == 3:
            return f"if ({g.cond()}) print(\"inner only\");"
        if k == 4 and g.loop_depth < 2:
            return "repeat { print(\"a loop in a branch\"); break; }"
        return f"print(str({g.expr(1)}));"
    return braced(g, indent, depth)


def if_text(g, indent, depth):
    r = g.r
    text = f"if ({g.cond()}) " + branch_text(g, indent, depth)
    n = r.randrange(3) if g.traps else (1 if r.randrange(2) else 0)
    for i in range(n):
        if g.traps and i < n - 1 or (g.traps and r.randrange(3) == 0):
            text += f" else if ({g.cond()}) " + branch_text(g, indent, depth)
        else:
            text += " else " + branch_text(g, indent, depth)
            break
    return text


def loop_text(g, indent, depth):
    c = g.name()
    limit = g.r.randrange(1, 4)
    g.loop_depth += 1
    counter = f"${c} += 1; if (${c} > {limit}) {{ break; }}"
    body = braced(g, indent, depth, loop_counter=counter)
    g.loop_depth -= 1
    return f"var ${c} = 0; repeat " + body


def late_error(rnd):
    """Errors reached on the first pass, on a late pass, or lexical ones reached late."""
    k = rnd.randrange(4)
    if k == 0:
        return 'var $late = 0; repeat { $late += 1; if ($late == 1000) { nosuch(1); } if ($late > 1000) { break; } }\n'
    if k == 1:
        return 'var $late = 0; repeat { $late += 1; if ($late == 700) { print("bad \\q"); } if ($late > 800) { break; } }\n'
    if k == 2:
        return 'var $late = 0; repeat { $late += 1; if ($late == 3) { $undeclared = 1; } if ($late > 5) { break; } }\n'
    return 'print(str(1 / 0) + str(int(7) / int(0)));\n'


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("outdir")
    p.add_argument("count", type=int)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--family", choices=["plain", "traps", "all"], default="all")
    a = p.parse_args()
    out = pathlib.Path(a.outdir)
    out.mkdir(parents=True, exist_ok=True)
    for i in range(a.count):
        rnd = random.Random(a.seed * 1000003 + i)
        traps = a.family == "traps" or (a.family == "all" and i % 2 == 1)
        text = program(rnd, traps, typed=rnd.randrange(5) > 0)
        if rnd.randrange(4) == 0:
            text += late_error(rnd)
        (out / f"{'t' if traps else 'p'}{i:05d}.zunscript").write_text(text, encoding="ascii")


if __name__ == "__main__":
    main()
