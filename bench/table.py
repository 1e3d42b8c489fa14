#!/usr/bin/python3
"""Prints the benchmark's table from the figures run.sh gathered: one file per
figure in RESULTS-DIR, one number a line, one line per repetition.

Usage: table.py RESULTS-DIR TITLE
Each row: the launcher's figure and its reference as median (min-max) over
the repetitions, and the ratio of each repetition's figure to the reference
of the same repetition (the n-th lines of the two files), as median (min-max)."""
import os
import statistics
import sys


def values(results, name):
    path = os.path.join(results, name)
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return [float(line) for line in f if line.strip()]


def spread(numbers, digits):
    if not numbers:
        return "n/a"
    return f"{statistics.median(numbers):.{digits}f} ({min(numbers):.{digits}f}-{max(numbers):.{digits}f})"


def main():
    results, title = sys.argv[1], sys.argv[2]
    # figure, launcher file, reference file or fixed reference, unit, digits, aim
    rows = [
        ("start-up to first complete paint", "startup-launcher", "startup-reference", "ms", 0, "<= 0.7x"),
        ("memory: own process, RSS", "rss-launcher", "rss-reference", "kB", 0, ""),
        ("memory: own process, PSS", "pss-launcher", "pss-reference", "kB", 0, "<= 1.0x"),
        ("memory: with web processes, PSS", "pss-tree-launcher", "pss-tree-reference", "kB", 0, ""),
        ("idle wake-ups of the main thread", "wakes-launcher", "wakes-reference", "1/s", 1, "about 10"),
        ("CPU idle, 3 MB system.reg", "cpu-static", "cpu-reference", "% core", 2, "<= 0.15 %"),
        ("CPU idle, system.reg replaced every 1 s", "cpu-1s", "cpu-reference", "% core", 2, ""),
        ("CPU idle, system.reg replaced every 100 ms", "cpu-100ms", "cpu-reference", "% core", 2, "<= 1.5 %"),
        ("version query on loopback (vs curl)", "query-launcher", "query-curl", "ms", 2, "within 5 ms of curl"),
        ("patch download throughput (vs cap)", "download-rate", 51200.0, "B/s", 0, "51,200 B/s"),
        ("  same, headless display", "headless-download-rate", 51200.0, "B/s", 0, "51,200 B/s"),
        ("RSS at the download's start, libcurl loaded (vs idle)", "download-start-rss", "download-idle-rss", "kB", 0, ""),
        ("RSS during 20 MB download (vs its start)", "download-rss", "download-start-rss", "kB", 0, "no growth"),
        ("longest status-tick gap, silent query (vs idle)", "gap-query", "gap-idle", "ms", 1, "< 120 ms"),
        ("longest status-tick gap, download (vs idle)", "gap-download", "gap-idle", "ms", 1, "< 120 ms"),
        ("longest 10-ms timer gap, silent query (vs idle)", "gap10-query", "gap10-idle", "ms", 1, ""),
        ("longest 10-ms timer gap, download (vs idle)", "gap10-download", "gap10-idle", "ms", 1, ""),
    ]
    print(title)
    print()
    print("| Figure | Unit | Launcher: median (min-max) | Reference: median (min-max) | Ratio: median (min-max) | Aim |")
    print("|---|---|---|---|---|---|")
    for name, mine, reference, unit, digits, aim in rows:
        ours = values(results, mine)
        if isinstance(reference, float):
            theirs = [reference] * len(ours)
            shown = f"{reference:,.0f}"
        else:
            theirs = values(results, reference)
            shown = spread(theirs, digits)
        ratios = [a / b for a, b in zip(ours, theirs) if b > 0]
        ratio = spread(ratios, 2) if ratios else "n/a"
        print(f"| {name} | {unit} | {spread(ours, digits)} | {shown} | {ratio} | {aim} |")


if __name__ == "__main__":
    main()
