#!/usr/bin/python3
"""Writes a Wine system.reg of about 3 MB with 15,000 keys: the demo prefix's
keys, the game's among them, after 15,000 keys of the kind a Windows program
leaves (class ids with a few string and number values, some escaped text).

Usage: make-system-reg.py DEMO-SYSTEM.reg OUT-FILE
"""
import sys

KEYS = 15000


def filler(i):
    guid = f"{{{i:08X}-1C2B-4E5F-9A0B-{i * 7919 % 16**12:012X}}}"
    return (
        f"[Software\\\\Classes\\\\CLSID\\\\{guid}\\\\InprocServer32] 1700000000\n"
        f"#time=1da1b5e2c4a7f30\n"
        f'@="C:\\\\windows\\\\system32\\\\component{i % 997}.dll"\n'
        f'"ThreadingModel"="Both"\n'
        f'"Description"="Component {i} \\x5143\\x4ef6"\n\n'
    )


def main():
    demo, out = sys.argv[1], sys.argv[2]
    header, _, keys = open(demo, encoding="utf-8").read().partition("\n\n#arch=win64\n\n")
    with open(out, "w", encoding="utf-8") as f:
        f.write(header + "\n\n#arch=win64\n\n")
        for i in range(KEYS):
            f.write(filler(i))
        f.write(keys)


if __name__ == "__main__":
    main()
