#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the signal that `holter decode` prints as a two-channel EDF file.

    holter decode --home HOME 0 BLOCKS | bench/edf_from_recording.py OUT.edf

One data record per 10-second block of 500 samples a channel; the 8-bit
samples keep their values (digital 0..255, 128 the baseline, about 51 units
a millivolt), so a peer viewer shows the same ECG as Lumen.
"""
import struct
import sys

BLOCK_SECONDS = 10
SAMPLES_PER_BLOCK = 500
UNITS_PER_MILLIVOLT = 51.0
BASELINE = 128


def field(text, width):
    return text.encode("ascii")[:width].ljust(width)


def header(records, start):
    signals = 2
    head = field("0", 8) + field("X X X DEMO_Patient", 80)
    head += field("Startdate X X X Lumen_demo", 80)
    head += field("01.01.05", 8) + field(start, 8)
    head += field(str(256 * (signals + 1)), 8) + field("", 44)
    head += field(str(records), 8) + field(str(BLOCK_SECONDS), 8) + field(str(signals), 4)
    low = (0 - BASELINE) / UNITS_PER_MILLIVOLT
    high = (255 - BASELINE) / UNITS_PER_MILLIVOLT
    columns = [
        (16, ["ECG 1", "ECG 2"]),
        (80, ["", ""]),
        (8, ["mV", "mV"]),
        (8, [f"{low:.4f}"] * 2),
        (8, [f"{high:.4f}"] * 2),
        (8, ["0"] * 2),
        (8, ["255"] * 2),
        (80, ["", ""]),
        (8, [str(SAMPLES_PER_BLOCK)] * 2),
        (32, ["", ""]),
    ]
    for width, values in columns:
        for value in values:
            head += field(value, width)
    return head


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: holter decode ... | edf_from_recording.py OUT.edf")
    records = []
    first, second = [], []
    start = "00.00.00"
    for line in sys.stdin:
        if line.startswith("block"):
            if first:
                records.append(struct.pack(f"<{SAMPLES_PER_BLOCK * 2}h", *first, *second))
            else:
                start = line.split()[2].replace(":", ".")
            first, second = [], []
            continue
        a, b = line.split()
        first.append(int(a))
        second.append(int(b))
    if first:
        records.append(struct.pack(f"<{SAMPLES_PER_BLOCK * 2}h", *first, *second))
    with open(sys.argv[1], "wb") as out:
        out.write(header(len(records), start))
        out.writelines(records)


if __name__ == "__main__":
    main()
