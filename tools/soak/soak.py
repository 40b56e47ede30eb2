#!/usr/bin/env python3
"""The soak: tools/soak/soak.zunscript runs for MINUTES with zunrunc on
Linux and, at the same time, with zunrun.exe under Wine, while the memory
and handles of each process are sampled every few seconds.

    soak.py [MINUTES] [--only linux|windows] [--interval SECONDS]

Memory is the resident set on Linux and the private bytes on Windows (under
Wine, which gives no private bytes of another process, the working set); on
Linux the open file descriptors are counted, on Windows the kernel handles
and the GDI and USER objects (Wine counts no GDI or USER objects). The run fails when,
after the warm-up (the first minute, or the first third of a shorter run),
the peak of the last window of memory is more than 1 MB above the peak of
the first window after the warm-up, when the least value of any count grows
between the same windows, or (in a run of three minutes or more) when the passes per
second of the last window fall more than 10 % below those of the first window of the
run (each window's best interval),
counted both in the process's processor seconds and in seconds of the clock (a
shared machine's load slows the one, the processor time of Wine's own threads
varies the other; more work per pass slows both). A window is a minute (a third
of a shorter run).
"""

import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import threading
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
MB = 1024 * 1024


def script_for(folder, seconds, windows):
    text = (ROOT / "tools/soak/soak.zunscript").read_text()
    where = ("Z:" + str(folder).replace("/", "\\")) if windows else str(folder)
    text = text.replace("@SECONDS@", str(seconds)).replace("@FOLDER@", where.replace("\\", "\\\\"))
    path = pathlib.Path(folder) / "soak.zunscript"
    path.write_text(text)
    return path


def read_count(path):
    try:
        return int(path.read_text().strip() or "-1")
    except (OSError, ValueError):
        return -1


def cpu_seconds(pid):
    """User and system time of a Linux process and all its threads."""
    stat = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(stat[11]) + int(stat[12])) / os.sysconf("SC_CLK_TCK")


def unix_process_of(program, text):
    """The Linux process (a Wine process) that runs program with text among
    its arguments."""
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                args = open(f"/proc/{entry}/cmdline", "rb").read().decode(errors="replace").split("\0")
                if args[0].endswith(program) and any(text in a for a in args[1:]):
                    return int(entry)
            except OSError:
                pass
    return None


def least_of(count, times=10):
    """A pass keeps a file open for most of its time (it waits for the disk),
    so one look often sees it: the least of a few quick looks is the count
    that a leak would raise."""
    least = count()
    for _ in range(times - 1):
        time.sleep(0.02)
        least = min(least, count())
    return least


def soak_linux(zunrunc, seconds, interval, samples, status):
    folder = pathlib.Path(tempfile.mkdtemp(prefix="zun-soak-linux-"))
    try:
        script = script_for(folder, seconds, False)
        err = open(folder / "stderr.txt", "w+b")
        p = subprocess.Popen([zunrunc, str(script)], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=err)
        start = time.monotonic()
        while p.poll() is None:
            time.sleep(interval)
            try:
                fields = dict(line.split(":", 1) for line in open(f"/proc/{p.pid}/status"))
                rss = int(fields["VmRSS"].split()[0]) * 1024
                handles = least_of(lambda: len(os.listdir(f"/proc/{p.pid}/fd")))
                cpu = cpu_seconds(p.pid)
            except (OSError, KeyError):
                continue
            samples.append({"t": time.monotonic() - start, "memory": rss, "handles": handles, "cpu": cpu,
                            "passes": read_count(folder / "passes.txt")})
            if time.monotonic() - start > seconds + 120:
                p.kill()
        status.append(p.wait())
        err.seek(0)
        text = err.read().decode(errors="replace")
        if text:
            status.append(text[-2000:])
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def soak_windows(probe, zunrun, seconds, interval, samples, status):
    folder = pathlib.Path(tempfile.mkdtemp(prefix="zun-soak-windows-"))
    wine = shutil.which("wine") or shutil.which("wine64")
    try:
        script = script_for(folder, seconds, True)
        count = "Z:" + str(folder / "passes.txt").replace("/", "\\")
        limit = str((seconds + 120) * 1000)
        p = subprocess.Popen([wine, str(probe), str(int(interval * 1000)), limit, count, str(zunrun),
                              "Z:" + str(script).replace("/", "\\")],
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        unix_pid = None
        for line in p.stdout:
            f = line.split()
            if f and f[0] == "sample":
                private, working = int(f[2]), int(f[3])
                cpu = int(f[8]) / 1000
                # Wine gives the processor time of another process's main
                # thread only; the script runs on a worker. Linux sees the
                # Wine process whole.
                unix_pid = unix_pid or unix_process_of("zunrun.exe", str(script).replace("/", "\\"))
                try:
                    cpu = cpu_seconds(unix_pid) if unix_pid else cpu
                except OSError:
                    pass
                samples.append({"t": int(f[1]) / 1000, "memory": private or working, "private": private > 0,
                                "handles": int(f[4]), "gdi": int(f[5]), "user": int(f[6]), "passes": int(f[7]),
                                "cpu": cpu})
            elif f and f[0] == "exit":
                status.append(f[1])
        p.wait()
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def minute_table(name, samples, seconds):
    """One line a window: memory, handles and both rates, for the record."""
    window = min(60.0, seconds / 3)
    lines, t = [], 0.0
    while t < samples[-1]["t"]:
        part = [s for s in samples if t <= s["t"] < t + window and s["passes"] >= 0]
        if len(part) >= 2:
            d = part[-1]["passes"] - part[0]["passes"]
            cpu = part[-1]["cpu"] - part[0]["cpu"]
            clock = part[-1]["t"] - part[0]["t"]
            lines.append(f"  {name} {t:5.0f} s: {max(s['memory'] for s in part) / MB:6.2f} MB, "
                         f"{max(s['handles'] for s in part)} handles, "
                         f"{d / cpu if cpu > 0 else 0:6.0f} passes/processor s, {d / clock if clock > 0 else 0:5.1f} passes/s")
        t += window
    return lines


def judge(name, samples, seconds):
    """The verdict lines for one run, and whether it failed."""
    window = min(60.0, seconds / 3)
    lines, failed = [], False
    if len(samples) < 6:
        return [f"{name}: only {len(samples)} samples"], True
    first = [s for s in samples if window <= s["t"] < 2 * window] or samples[len(samples) // 3:][:1]
    last = [s for s in samples if s["t"] >= samples[-1]["t"] - window]
    growth = max(s["memory"] for s in last) - max(s["memory"] for s in first)
    if growth > MB:
        failed = True
    kind = ("private bytes" if samples[-1].get("private") else
            "working set (no private bytes here)" if "private" in samples[-1] else "resident set")
    lines.append(f"{name}: {kind} {max(s['memory'] for s in first) / MB:.2f} MB after the warm-up, "
                 f"{max(s['memory'] for s in last) / MB:.2f} MB at the end ({growth / 1024:+.0f} KB)"
                 + ("  <-- grows" if growth > MB else ""))
    # Counts rise for a moment while a pass has a file open: a leak is seen
    # in the least count of a window.
    for key in ("handles", "gdi", "user"):
        if key not in samples[0]:
            continue
        a, b = min(s[key] for s in first), min(s[key] for s in last)
        if a < 0 and b < 0:
            lines.append(f"{name}: {key} not counted here")
            continue
        if b > a:
            failed = True
        lines.append(f"{name}: {key} {a} -> {b}" + ("  <-- grows" if b > a else ""))

    # Passes per second of the process's own processor time: what the
    # program costs per pass, whatever else the machine is doing; the passes
    # per second of the clock are shown beside it. A window's rate is the
    # best of its intervals' rates: someone else's load on a shared machine
    # (a burst of disk writes, each pass saves files; a busy neighbour on
    # the processor's caches) slows some intervals and not others, while
    # more work per pass slows every one of them, the best included.
    def rate(part, clock):
        part = [s for s in part if s["passes"] >= 0]
        rates = [(b["passes"] - a["passes"]) / (b[clock] - a[clock])
                 for a, b in zip(part, part[1:]) if b[clock] > a[clock]]
        return max(rates) if rates else None
    head = [s for s in samples if s["t"] <= window]
    start, end = rate(head, "cpu"), rate(last, "cpu")
    clock = [rate(head, "t"), rate(last, "t")]
    if None in (start, end, *clock):
        return lines + [f"{name}: too few counts of passes"], True
    # Slower is slower by both measures: others' load slows the clock's rate
    # alone, and the processor time that Wine's helper threads add now and
    # then the other alone; more work per pass slows both.
    slower = end < 0.9 * start and clock[1] < 0.9 * clock[0]
    # Windows of a run shorter than three minutes last seconds: a shared
    # machine's busy spell fills one whole (a CI run's one-minute soak read
    # 272 then 175 passes per processor second, and 300 then 290 when run
    # again). Such a run shows its speed but is judged on memory and counts.
    judged = seconds >= 180
    failed = failed or (slower and judged)
    # The probe writes -1 when the count file is being rewritten as it reads.
    total = next(s["passes"] for s in reversed(samples) if s["passes"] >= 0)
    lines.append(f"{name}: {start:.0f} passes per processor second in the first window, {end:.0f} in the last; "
                 f"{clock[0]:.1f} and {clock[1]:.1f} per second of the clock ({total} passes in all)"
                 + (("  <-- slower" if judged else "  (slower; not judged in a run under three minutes)")
                    if slower else ""))
    return lines, failed


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("minutes", nargs="?", type=float, default=10)
    ap.add_argument("--only", choices=["linux", "windows"])
    ap.add_argument("--interval", type=float, default=3)
    ap.add_argument("--sequential", action="store_true",
                    help="one build after the other: a short soak's windows are too short to share two cores")
    ap.add_argument("--zunrunc", default=str(ROOT / "build/native/hosts/zunrunc"))
    ap.add_argument("--zunrun-exe", default=str(ROOT / "build/windows/runner/zunrun.exe"))
    ap.add_argument("--probe", default=str(ROOT / "build/windows/tests/zun_soak_probe.exe"))
    a = ap.parse_args()
    seconds = int(a.minutes * 60)
    runs = {}
    threads = []
    if a.only != "windows":
        runs["linux"] = ([], [])
        threads.append(threading.Thread(target=soak_linux, args=(a.zunrunc, seconds, a.interval) + runs["linux"]))
    if a.only != "linux":
        runs["windows"] = ([], [])
        threads.append(threading.Thread(target=soak_windows,
                                        args=(a.probe, a.zunrun_exe, seconds, a.interval) + runs["windows"]))
    print(f"soak: {a.minutes:g} minutes, {', '.join(runs)}", flush=True)
    for t in threads:
        t.start()
        if a.sequential:
            t.join()
    for t in threads:
        t.join()
    failed = False
    for name, (samples, status) in runs.items():
        lines, bad = judge(name, samples, seconds)
        if samples:
            lines = minute_table(name, samples, seconds) + lines
        if not status or str(status[0]) != "0":
            lines.append(f"{name}: the script ended with status {status[0] if status else 'unknown'}")
            lines += [str(s) for s in status[1:]]
            bad = True
        print("\n".join(lines))
        failed = failed or bad
    print("soak: " + ("FAILED" if failed else "passed"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
