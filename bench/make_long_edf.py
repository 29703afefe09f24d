#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a 24-hour two-channel 360 Hz EDF file without annotations, for the
benchmark of opening a file: MIT-BIH record 100 (format 212) laid end to
end, one-second data records.

    bench/make_long_edf.py SOURCE_RECORD OUT.edf
"""
import sys

RATE_HZ = 360
HOURS = 24
DIGITAL_MIN, DIGITAL_MAX = -2048, 2047
GAIN_UNITS_PER_MV = 200.0


def field(text, width):
    return str(text).encode("ascii")[:width].ljust(width)


def read_212(path):
    data = open(path, "rb").read()
    first, second = [], []
    for at in range(0, len(data) - 2, 3):
        b0, b1, b2 = data[at], data[at + 1], data[at + 2]
        s0 = b0 | ((b1 & 0x0F) << 8)
        s1 = b2 | ((b1 & 0xF0) << 4)
        first.append(s0 - 4096 if s0 > 2047 else s0)
        second.append(s1 - 4096 if s1 > 2047 else s1)
    return first, second


def main():
    record, out = sys.argv[1], sys.argv[2]
    first, second = read_212(record + ".dat")
    seconds = len(first) // RATE_HZ
    chunk = bytearray()
    for s in range(seconds):
        for channel in (first, second):
            for v in channel[s * RATE_HZ:(s + 1) * RATE_HZ]:
                chunk += int(v).to_bytes(2, "little", signed=True)
    records = HOURS * 3600
    physical = (DIGITAL_MIN / GAIN_UNITS_PER_MV, DIGITAL_MAX / GAIN_UNITS_PER_MV)
    header = field("0", 8) + field("X X X X", 80) + field("Startdate X X X X", 80)
    header += field("01.01.26", 8) + field("08.00.00", 8) + field(256 * 3, 8) + field("", 44)
    header += field(records, 8) + field(1, 8) + field(2, 4)
    parts = [(["MLII", "V5"], 16), (["AgAgCl electrode"] * 2, 80), (["mV"] * 2, 8),
             (["%.4f" % physical[0]] * 2, 8), (["%.4f" % physical[1]] * 2, 8),
             ([DIGITAL_MIN] * 2, 8), ([DIGITAL_MAX] * 2, 8), (["HP:0.1Hz"] * 2, 80),
             ([RATE_HZ] * 2, 8), ([""] * 2, 32)]
    for values, width in parts:
        for v in values:
            header += field(v, width)
    with open(out, "wb") as f:
        f.write(header)
        whole, rest = divmod(records, seconds)
        for _ in range(whole):
            f.write(chunk)
        f.write(chunk[:rest * RATE_HZ * 2 * 2])


if __name__ == "__main__":
    main()
