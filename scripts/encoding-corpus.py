#!/usr/bin/env python3
"""Runs the program's encoding detection over trees of real text files and
counts how many files of each encoding it opens right.

    python3 scripts/encoding-corpus.py build/bench/bench_encodings DIR...

Every regular file under each DIR is taken (.gz files unpacked; binaries,
that is files with NUL bytes and no UTF-16 byte-order mark, left out). What a
file really is comes from Python's own codecs, independent of the program:
a byte-order mark; seven-bit text with JIS escapes is ISO-2022-JP, without
them ASCII (which opens as Shift_JIS, as every ASCII file does); otherwise
the one of UTF-8, EUC-JP and CP932 that decodes it without an error (when
several do, UTF-8 first, then the one whose text holds more kana; when none
does, the one with the fewest errors). The tool (bench_encodings --detect)
opens each file as the program does and saves it back unedited.
"""
import collections
import gzip
import os
import re
import subprocess
import sys
import tempfile

BOMS = [(b"\xef\xbb\xbf", "UTF-8 (BOM付き)"), (b"\xff\xfe", "UTF-16LE"), (b"\xfe\xff", "UTF-16BE")]
CODECS = [("UTF-8", "utf-8"), ("EUC-JP", "euc_jp"), ("Shift_JIS", "cp932")]
JIS_ESCAPE = re.compile(rb"\x1b\$[B@]|\x1b\$\(D|\x1b\(I")
KANA = re.compile("[\u3041-\u30ff]")


def truth(data):
    for bom, name in BOMS:
        if data.startswith(bom):
            return name, ""
    if max(data) < 0x80:
        return ("ISO-2022-JP", "") if JIS_ESCAPE.search(data) else ("ASCII", "")
    clean = []
    for name, codec in CODECS:
        try:
            clean.append((name, data.decode(codec)))
        except UnicodeDecodeError:
            pass
    if len(clean) == 1:
        return clean[0][0], ""
    if clean:
        if clean[0][0] == "UTF-8":
            return "UTF-8", "several"
        best = max(clean, key=lambda c: len(KANA.findall(c[1])))
        return best[0], "several"
    errors = [(data.decode(codec, errors="replace").count("\ufffd"), name) for name, codec in CODECS]
    return min(errors)[1], "with errors"


def main():
    tool, roots = sys.argv[1], sys.argv[2:]
    files = {}  # unpacked path -> (shown path, truth, note, size)
    with tempfile.TemporaryDirectory() as temp:
        for root in roots:
            for folder, _, names in os.walk(root):
                for name in sorted(names):
                    path = os.path.join(folder, name)
                    if os.path.islink(path) or not os.path.isfile(path):
                        continue
                    with open(path, "rb") as f:
                        data = f.read()
                    if name.endswith(".gz"):
                        try:
                            data = gzip.decompress(data)
                        except OSError:
                            continue
                    if not data or data.startswith(b"\x7fELF"):
                        continue
                    if b"\0" in data and not data.startswith((b"\xff\xfe", b"\xfe\xff")):
                        continue
                    unpacked = os.path.join(temp, str(len(files)))
                    with open(unpacked, "wb") as f:
                        f.write(data)
                    real, note = truth(data)
                    files[unpacked] = (os.path.relpath(path, root), real, note, len(data))
        out = subprocess.run([tool, "--detect"], input="\n".join(files) + "\n", capture_output=True, text=True,
                             check=True).stdout
    rows = collections.OrderedDict()
    wrong, differs = [], []
    for line in out.splitlines():
        detected, stand_ins, same, path = line.split("\t")
        shown, real, note, size = files[path]
        expected = "Shift_JIS" if real == "ASCII" else real
        row = rows.setdefault(real, collections.Counter())
        row["files"] += 1
        row["bytes"] += size
        row["right"] += detected == expected
        row["several"] += note == "several"
        row["with errors"] += note == "with errors"
        row["stand-ins"] += int(stand_ins) > 0
        if detected != expected:
            wrong.append(f"  {shown}: {real} ({note or 'clean'}) opened as {detected}")
        if same != "same":
            differs.append(f"  {shown}: {detected}")
    print(f"{'encoding':16} {'files':>6} {'MB':>7} {'right':>6} {'ambiguous':>9} {'w/errors':>8} {'stand-ins':>9}")
    for real, row in sorted(rows.items(), key=lambda r: -r[1]["files"]):
        print(f"{real:16} {row['files']:6} {row['bytes'] / 1e6:7.2f} {row['right']:6} {row['several']:9} "
              f"{row['with errors']:8} {row['stand-ins']:9}")
    total = sum(r["files"] for r in rows.values())
    print(f"{'all':16} {total:6} {sum(r['bytes'] for r in rows.values()) / 1e6:7.2f} "
          f"{sum(r['right'] for r in rows.values()):6}")
    print(f"opened otherwise than their encoding: {len(wrong)}")
    print("\n".join(wrong[:40]))
    print(f"not saved back byte for byte: {len(differs)}")
    print("\n".join(differs[:40]))
    return 1 if differs else 0


if __name__ == "__main__":
    sys.exit(main())
