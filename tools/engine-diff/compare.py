#!/usr/bin/env python3
"""Runs every script of a folder through two zunrunc builds and lists where
they differ in standard output, standard error or exit status.

    compare.py OLD_ZUNRUNC NEW_ZUNRUNC FOLDER [--jobs N] [--show N] [--same-host]

--same-host blanks what zunrunc tells a script about itself and the script
(its own path and name, the script's path) where the engine's reports list
the variables, for comparing with a build from before zunrunc told it.

Scripts read no input (standard input is empty) and run with TZ=UTC0 in a
temporary folder of their own, at most 5 seconds each.
"""

import argparse
import hashlib
import concurrent.futures
import os
import re
import pathlib
import subprocess
import sys
import tempfile


HOST_VARIABLES = re.compile(rb"(name:(?:calling_app_exe_path|_CALLER_PATH|calling_app_name|_CALLER_NAME|script_path|"
                            rb"_SCRIPT_PATH),var info:type:string,value:)[^\n]*?(,name in array:)")


class Kept(bytes):
    """An output: equal when the digests are; the head is kept for the report."""

    def __new__(cls, data):
        head = data[:4096]
        obj = super().__new__(cls, head)
        obj.digest = hashlib.sha256(data).hexdigest()
        return obj

    def __eq__(self, other):
        return self.digest == other.digest

    def __ne__(self, other):
        return not self == other

    __hash__ = bytes.__hash__


def run(zunrunc, script, same_host=False):
    with tempfile.TemporaryDirectory(prefix="engine-diff-") as work:
        try:
            done = subprocess.run([zunrunc, str(script)], cwd=work, stdin=subprocess.DEVNULL, capture_output=True,
                                  timeout=5, env=dict(os.environ, TZ="UTC0", LC_ALL="C"))
            err = HOST_VARIABLES.sub(rb"\1\2", done.stderr) if same_host else done.stderr
            # Long outputs are kept as their digest and their first lines.
            return done.returncode, Kept(done.stdout), Kept(err)
        except subprocess.TimeoutExpired:
            return "timeout", Kept(b""), Kept(b"")


def compare(old, new, script, same_host):
    a, b = run(old, script, same_host), run(new, script, same_host)
    return script, a, b


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("old", type=os.path.abspath)
    p.add_argument("new", type=os.path.abspath)
    p.add_argument("folder")
    p.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    p.add_argument("--show", type=int, default=5, help="how many differences to print in full")
    p.add_argument("--same-host", action="store_true", help="blank the script's and zunrunc's paths in reports")
    a = p.parse_args()
    scripts = sorted(pathlib.Path(a.folder).resolve().glob("*.zunscript"))
    differ = []
    statuses = {}
    with concurrent.futures.ThreadPoolExecutor(a.jobs) as pool:
        for script, old, new in pool.map(lambda s: compare(a.old, a.new, s, a.same_host), scripts):
            statuses[old[0]] = statuses.get(old[0], 0) + 1
            if old != new:
                differ.append((script, old, new))
    print(f"{len(scripts)} scripts; exit statuses of the first build: {statuses}; {len(differ)} differ")
    for script, old, new in differ[: a.show]:
        print(f"--- {script}: status {old[0]} -> {new[0]}")
        for label, x, y in (("stdout", old[1], new[1]), ("stderr", old[2], new[2])):
            if x != y:
                xs, ys = x.decode("utf-8", "replace").splitlines(), y.decode("utf-8", "replace").splitlines()
                k = next((i for i in range(min(len(xs), len(ys))) if xs[i] != ys[i]), min(len(xs), len(ys)))
                print(f"  {label} first differs at line {k + 1}:")
                print(f"    old: {xs[k] if k < len(xs) else '(end)'}")
                print(f"    new: {ys[k] if k < len(ys) else '(end)'}")
    for script, _, _ in differ[a.show:]:
        print(f"--- {script}")
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
