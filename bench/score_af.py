#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Atrial fibrillation by duration against WFDB rhythm annotations.

  score_af.py strip SOURCE.atr OUT.atr      copy without rhythm changes (+)
  score_af.py rhythms RECORD                rhythm durations of a record
  score_af.py score NAME RECORD INFO.json   one table row (JSON) for a record
  score_af.py table ROWS.jsonl              per-record table and gross figures
"""
import json
import sys

SKIP, NUM, SUB, CHN, AUX = 59, 60, 61, 62, 63
RHYTHM = 28  # "+"
FIBRILLATION = ("(AFIB", "(AFL")
TICKS_PER_SECOND = 50


def parse(data):
    """Annotations as [sample, code, subtype, channel, number, aux bytes]."""
    out, time, at, chan, num = [], 0, 0, 0, 0
    while at + 2 <= len(data):
        w = data[at] | data[at + 1] << 8
        at += 2
        code, value = w >> 10, w & 0x3FF
        if code == 0 and value == 0:
            break
        if code == SKIP:
            hi = data[at] | data[at + 1] << 8
            lo = data[at + 2] | data[at + 3] << 8
            step = hi << 16 | lo
            time += step - (1 << 32) if step & 0x80000000 else step
            at += 4
        elif code == NUM:
            num = value
            if out:
                out[-1][4] = num
        elif code == SUB:
            out[-1][2] = value
        elif code == CHN:
            chan = value
            if out:
                out[-1][3] = chan
        elif code == AUX:
            out[-1][5] = bytes(data[at:at + value])
            at += value + (value & 1)
        else:
            time += value
            out.append([time, code, 0, chan, num, b""])
    return out


def word(code, value):
    w = code << 10 | (value & 0x3FF)
    return bytes((w & 0xFF, w >> 8))


def format_annotations(annotations):
    out, time, chan, num = bytearray(), 0, 0, 0
    for sample, code, subtype, channel, number, aux in annotations:
        step = sample - time
        if step > 1023 or step < 0:
            bits = step & 0xFFFFFFFF
            out += word(SKIP, 0) + word(bits >> 26, bits >> 16) + word((bits >> 10) & 0x3F, bits)
            step = 0
        out += word(code, step)
        time = sample
        if subtype:
            out += word(SUB, subtype)
        if channel != chan:
            chan = channel
            out += word(CHN, chan)
        if number != num:
            num = number
            out += word(NUM, num)
        if aux:
            out += word(AUX, len(aux)) + aux + (b"\0" if len(aux) & 1 else b"")
    return bytes(out + word(0, 0))


def header(record):
    fields = open(record + ".hea").readline().split()
    rate = float(fields[2].split("/")[0]) if len(fields) > 2 else 250.0
    length = int(fields[3]) if len(fields) > 3 else None
    return rate, length


def rhythm_spans(record):
    """(rhythm, first second, last second) of every rhythm stretch."""
    rate, length = header(record)
    annotations = parse(open(record + ".atr", "rb").read())
    end = max(length or 0, annotations[-1][0] + 1) / rate
    spans, current, since = [], None, 0.0
    for sample, code, _, _, _, aux in annotations:
        if code != RHYTHM:
            continue
        text = aux.rstrip(b"\0 ").decode("latin-1")
        if current is not None:
            spans.append((current, since, sample / rate))
        current, since = text, sample / rate
    if current is not None:
        spans.append((current, since, end))
    return spans, end


def total(spans):
    return sum(b - a for a, b in spans)


def overlap(a, b):
    return sum(max(0.0, min(x1, y1) - max(x0, y0)) for x0, x1 in a for y0, y1 in b if y0 < x1 and x0 < y1)


def score(name, record, info_path):
    spans, seconds = rhythm_spans(record)
    reference = [(a, b) for r, a, b in spans if r in FIBRILLATION]
    info = json.load(open(info_path))
    detected = [(a / TICKS_PER_SECOND, b / TICKS_PER_SECOND) for a, b in info["atrialFibrillation"]["episodes"]]
    row = {"record": name, "seconds": seconds, "reference": total(reference), "detected": total(detected),
           "both": overlap(detected, reference), "burden": info["atrialFibrillation"]["burdenPercent"]}
    print(json.dumps(row))


def percent(part, whole):
    return 100.0 * part / whole if whole > 0 else float("nan")


def table(rows_path):
    rows = [json.loads(line) for line in open(rows_path) if line.strip()]
    print("| record | reference AF s | detected AF s | Se % | +P % | burden ref % | burden det % | error pp |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|")
    errors = []
    for r in rows:
        ref_burden = percent(r["reference"], r["seconds"])
        det_burden = percent(r["detected"], r["seconds"])
        errors.append(abs(det_burden - ref_burden))
        se = percent(r["both"], r["reference"])
        pp = percent(r["both"], r["detected"])
        print("| %s | %.0f | %.0f | %s | %s | %.1f | %.1f | %.1f |" % (
            r["record"], r["reference"], r["detected"], "-" if se != se else "%.1f" % se,
            "-" if pp != pp else "%.1f" % pp, ref_burden, det_burden, errors[-1]))
    ref = sum(r["reference"] for r in rows)
    det = sum(r["detected"] for r in rows)
    both = sum(r["both"] for r in rows)
    print("\ngross over %d records: Se %.1f %%, +P %.1f %%, mean absolute burden error %.2f pp" % (
        len(rows), percent(both, ref), percent(both, det), sum(errors) / len(errors)))


def main(argv):
    if argv[1] == "strip":
        annotations = parse(open(argv[2], "rb").read())
        open(argv[3], "wb").write(format_annotations([a for a in annotations if a[1] != RHYTHM]))
    elif argv[1] == "rhythms":
        spans, _ = rhythm_spans(argv[2])
        sums = {}
        for r, a, b in spans:
            sums[r] = sums.get(r, 0.0) + b - a
        print(" ".join("%s %.0f" % kv for kv in sorted(sums.items())))
    elif argv[1] == "score":
        score(argv[2], argv[3], argv[4])
    elif argv[1] == "table":
        table(argv[2])


if __name__ == "__main__":
    main(sys.argv)
