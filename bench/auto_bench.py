#!/usr/bin/env python3
"""Benchmark of the automatic run end to end: quillmark-cli AuTo on random dense A and B of
10x10 … 200x200 (x = 3), next to the same 43 results computed by NumPy in one Python process.

Prints a table with medians over the repetitions: wall time, peak memory, output bytes, the
split between reading, computing and printing (from quillmark-cli --timings), and the ratio to
NumPy with process start-up included and excluded.

usage: bench/auto_bench.py BUILD_DIR [--sizes 10,50,100,200] [--repeat 5]
"""
import argparse
import os
import random
import re
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
# Debian's python3-numpy belongs to the system interpreter.
NUMPY_PYTHON = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable


def write_matrix(path, n, rng):
    with open(path, "w") as f:
        for _ in range(n):
            f.write(" ".join("%.6f" % rng.uniform(-10, 10) for _ in range(n)) + "\n")


def run_timed(cmd):
    """Runs cmd under /usr/bin/time -v; returns (wall s, peak KiB, stdout bytes, stderr)."""
    start = time.perf_counter()
    proc = subprocess.run(["/usr/bin/time", "-v"] + cmd, capture_output=True)
    wall = time.perf_counter() - start
    err = proc.stderr.decode(errors="replace")
    peak = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", err).group(1))
    return wall, peak, len(proc.stdout), err


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--sizes", default="3,10,50,100,200")
    ap.add_argument("--repeat", type=int, default=5)
    args = ap.parse_args()
    cli = os.path.join(args.build, "quillmark-cli")
    rng = random.Random(20261211)
    rows = []
    with tempfile.TemporaryDirectory() as tmp:
        for n in [int(s) for s in args.sizes.split(",")]:
            a, b = os.path.join(tmp, "a%d.txt" % n), os.path.join(tmp, "b%d.txt" % n)
            if n == 3:  # the start contents
                for p in (a, b):
                    open(p, "w").write("1 0 0\n0 1 0\n0 0 1\n")
            else:
                write_matrix(a, n, rng)
                write_matrix(b, n, rng)
            q = {"wall": [], "peak": [], "parse": [], "compute": [], "format": []}
            np_wall, np_inner = [], []
            out_bytes = 0
            for _ in range(args.repeat):
                wall, peak, out_bytes, err = run_timed(
                    [cli, "--timings", "--a", a, "--b", b, "--x", "3", "AuTo"])
                t = re.search(r"parse ([\d.]+) ms, compute ([\d.]+) ms, format ([\d.]+) ms", err)
                q["wall"].append(wall)
                q["peak"].append(peak)
                for key, value in zip(("parse", "compute", "format"), t.groups()):
                    q[key].append(float(value))
                start = time.perf_counter()
                proc = subprocess.run(
                    [NUMPY_PYTHON, os.path.join(HERE, "numpy_auto.py"), a, b, "3", "3"],
                    capture_output=True)
                np_wall.append(time.perf_counter() - start)
                m = re.search(r"numpy-internal-ms ([\d.]+)", proc.stderr.decode())
                np_inner.append(float(m.group(1)) if m else float("nan"))
            med = {k: statistics.median(v) for k, v in q.items()}
            inner = med["parse"] + med["compute"] + med["format"]
            rows.append((n, med["wall"] * 1000, med["peak"] / 1024, out_bytes / 1024,
                         med["parse"], med["compute"], med["format"],
                         med["peak"] * 1024 / max(out_bytes, 1),
                         statistics.median(np_wall) * 1000, statistics.median(np_inner),
                         med["wall"] / statistics.median(np_wall),
                         inner / statistics.median(np_inner)))
    print("| n | wall ms | peak MiB | output KiB | parse ms | compute ms | format ms | "
          "peak/output | NumPy wall ms | NumPy inner ms | ratio incl. start | ratio excl. start |")
    print("|---|---|---|---|---|---|---|---|---|---|---|---|")
    for r in rows:
        print("| %d | %.1f | %.1f | %.0f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.2f | %.2f |"
              % r)


if __name__ == "__main__":
    main()
