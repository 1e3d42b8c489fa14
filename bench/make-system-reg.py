#!/usr/bin/python3
"""Writes a Wine machine registry file of about 3 MB: 15,000 keys, the game's
key (32-bit view of a 64-bit prefix) near the end with the given version.

Usage: make-system-reg.py PATH VERSION"""
import sys


def main():
    path, version = sys.argv[1], sys.argv[2]
    lines = ["WINE REGISTRY Version 2", ";; All keys relative to \\\\Machine", "", "#arch=win64", ""]
    for i in range(15000):
        lines.append(f"[Software\\\\Classes\\\\CLSID\\\\{{{1000000 + i}-0000-0000-C000-000000000046}}\\\\InprocServer32] 1700000000")
        lines.append("#time=1da1b5e2c4a7f30")
        lines.append('@="C:\\\\windows\\\\system32\\\\ole32.dll"')
        lines.append('"ThreadingModel"="Both"')
        lines.append(f'"Padding"="{"x" * 22}"')
        lines.append("")
    lines.append("[Software\\\\Wow6432Node\\\\Veltrano\\\\Moravine Cht] 1700000000")
    lines.append(f'"GameVerSP"="{version}"')
    lines.append("")
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
