#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What the whole program costs between samples, measured from outside the process.

Starts the real binary (the window on Xvfb, and headless) and the ideal logger beside it,
lets each idle or record for a fixed time, and reports CPU per second, CPU per sample,
wakeups per second (voluntary and involuntary context switches of all threads) and resident
memory, read from /proc. Run from the top of the checkout after ./test.sh:

    bench/whole/measure.py [--build build/ci] [--seconds 60] [--only NAME ...]
"""
import argparse
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WARM_UP = 3.0  # start-up is not what is measured
# At 1 s the history list's scroll bar shrinks with every sample until it reaches its
# smallest size; what a long recording costs is measured past that.
SETTLED_SAMPLES = 100


def threads_of(pid):
    return glob.glob(f"/proc/{pid}/task/*")


def snapshot(pid):
    """CPU seconds and context switches of every thread of pid, and its resident memory."""
    cpu_ns = switches = 0
    for task in threads_of(pid):
        try:
            with open(f"{task}/schedstat") as f:
                cpu_ns += int(f.read().split()[0])
            with open(f"{task}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        switches += int(line.split()[1])
        except (FileNotFoundError, ProcessLookupError):
            pass  # a thread that ended meanwhile
    rss_kb = 0
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                rss_kb = int(line.split()[1])
    return cpu_ns / 1e9, switches, rss_kb


def count_lines(path):
    try:
        with open(path, "rb") as f:
            return f.read().count(b"\n")
    except FileNotFoundError:
        return 0


class Xvfb:
    def __init__(self):
        self.display = ":97"
        self.process = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1.0)

    def close(self):
        self.process.terminate()
        self.process.wait()


def run(name, command, env, work, recording, seconds, settled, xvfb=None):
    process = subprocess.Popen(command, cwd=work, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(WARM_UP)
        while settled and count_lines(recording) <= settled and process.poll() is None:
            time.sleep(1.0)
        if process.poll() is not None:
            raise RuntimeError(f"{name}: ended at once with code {process.returncode}")
        cpu0, sw0, _ = snapshot(process.pid)
        x0 = snapshot(xvfb.process.pid)[0] if xvfb else 0.0
        lines0 = count_lines(recording) if recording else 0
        time.sleep(seconds)
        cpu1, sw1, rss = snapshot(process.pid)
        x1 = snapshot(xvfb.process.pid)[0] if xvfb else 0.0
        samples = (count_lines(recording) - lines0) if recording else 0
    finally:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            process.kill()
    cpu = cpu1 - cpu0
    return {
        "name": name,
        "cpu_percent": 100.0 * cpu / seconds,
        "wakeups": (sw1 - sw0) / seconds,
        "samples": samples,
        "ms_per_sample": 1000.0 * cpu / samples if samples else None,
        "x_ms_per_sample": 1000.0 * (x1 - x0) / samples if samples and xvfb else None,
        "rss_mb": rss / 1024.0,
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build/ci")
    parser.add_argument("--seconds", type=float, default=60.0)
    parser.add_argument("--only", nargs="*")
    args = parser.parse_args()
    program = os.path.abspath(os.path.join(args.build, "src/app/orvalin"))
    ideal = os.path.abspath(os.path.join(args.build, "bench/whole/ideal_logger"))
    for needed in (program, ideal):
        if not os.path.exists(needed):
            sys.exit(f"measure: {needed} is missing; build first (./test.sh)")
    if not shutil.which("Xvfb"):
        sys.exit("measure: Xvfb is missing (scripts/install-deps.sh installs it)")

    # (name, program or ideal, arguments, window, recording); the 1 s cases settle first
    cases = [
        ("headless, recording at 1 min", "program",
         ["--headless", "--record", "--source", "usb", "--interval", "1min", "--file", "rec.csv"], False, True),
        ("ideal, sample every 1 min, no readout", "ideal", ["rec.csv", "60000", "0"], False, True),
        ("window idle", "program", ["--source", "usb"], True, False),
        ("window recording at 1 min", "program",
         ["--record", "--source", "usb", "--interval", "1min", "--file", "rec.csv"], True, True),
        ("ideal, readout 500 ms, sample every 1 min", "ideal", ["rec.csv", "60000", "500"], False, True),
        ("window recording at 1 s", "program",
         ["--record", "--source", "usb", "--interval", "1s", "--file", "rec.csv"], True, True),
        ("ideal, readout 500 ms, sample every 1 s", "ideal", ["rec.csv", "1000", "500"], False, True),
    ]
    results = []
    xvfb = Xvfb()
    try:
        for name, which, arguments, window, recording in cases:
            if args.only and not any(o in name for o in args.only):
                continue
            with tempfile.TemporaryDirectory() as work:
                for folder in ("config", "data", "run"):
                    os.mkdir(os.path.join(work, folder), 0o700)
                env = dict(os.environ)
                env.update({"XDG_CONFIG_HOME": f"{work}/config", "XDG_DATA_HOME": f"{work}/data",
                            "XDG_RUNTIME_DIR": f"{work}/run", "ORVALIN_LOCK_ROOT": work, "TMPDIR": work,
                            "QT_QPA_PLATFORM": "xcb" if window else "offscreen", "DISPLAY": xvfb.display})
                command = [program if which == "program" else ideal] + arguments
                settled = SETTLED_SAMPLES if "at 1 s" in name or "every 1 s" in name else 0
                print(f"measuring: {name} ({args.seconds:.0f} s)", file=sys.stderr)
                results.append(run(name, command, env, work, os.path.join(work, "rec.csv") if recording else None,
                                   args.seconds, settled, xvfb if window else None))
    finally:
        xvfb.close()

    print(f"| figure ({args.seconds:.0f} s each) | CPU | wakeups/s | CPU per sample | resident |")
    print("|---|---|---|---|---|")
    for r in results:
        per_sample = "—"
        if r["ms_per_sample"] is not None and r["samples"] >= 5:
            per_sample = f"{r['ms_per_sample']:.2f} ms"
            if r["x_ms_per_sample"] is not None:
                per_sample += f" (+{r['x_ms_per_sample']:.2f} ms X server)"
        print(f"| {r['name']} | {r['cpu_percent']:.4f} % | {r['wakeups']:.2f} | {per_sample} | {r['rss_mb']:.1f} MB |")


if __name__ == "__main__":
    main()
