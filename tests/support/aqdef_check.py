#!/usr/bin/python3
"""Reads Kastrel's AQDEF files (*.dfq) back by the format's own rules and checks them.

  aqdef_check.py read FILE EXPECTED.json
      FILE against {"part": P, "characteristics": [[K2001, K2002, K2101], ...],
      "values": [[[VALUE, ATTRIBUTE], ...], ...]}: one list per value line, in
      order; null for no K2101 line or an empty value; numbers within 1e-9.
      Texts are compared after decoding the file as Windows-1252.

  aqdef_check.py same FILE OTHER
      The same bytes, date and time aside.

Whatever the mode, every file must keep the format: CR LF after every line,
the description's K-fields before the first value line, K0100 the number of
characteristics, the fixed fields of each, and on each value line one
0x0F-separated entry per characteristic of three 0x14-separated fields
(value, attribute, "DD.MM.YYYY/HH:MM:SS"), attribute 0 with a number, 255
with none. Prints one line per difference and exits with 1 if there is any.
"""

import json
import re
import sys

TIME = re.compile(rb"\d\d\.\d\d\.\d{4}/\d\d:\d\d:\d\d")
NUMBER = re.compile(r"-?\d+(\.\d+)?")
KEYED = re.compile(r"(K\d{4})/(\d+) (.*)")


def read(path, problems):
    data = open(path, "rb").read()
    if not data.endswith(b"\r\n"):
        problems.append(f"{path}: the last line has no CR LF")
    lines = data.split(b"\r\n")[:-1]
    if any(b"\n" in line or b"\r" in line for line in lines):
        problems.append(f"{path}: a line ends without CR LF")
    count = None
    part = None
    fields = {}  # index -> {key: value}
    value_lines = []
    for number, raw in enumerate(lines, 1):
        if raw.startswith(b"K"):
            if value_lines:
                problems.append(f"{path}:{number}: a K-field after the values")
            text = raw.decode("cp1252")
            if text.startswith("K0100 "):
                count = int(text[6:])
                continue
            match = KEYED.fullmatch(text)
            if not match:
                problems.append(f"{path}:{number}: not a K-field line: {text!r}")
                continue
            key, index, value = match.group(1), int(match.group(2)), match.group(3)
            if key == "K1001" and index == 1:
                part = value
            else:
                fields.setdefault(index, {})[key] = value
        else:
            value_lines.append((number, raw))
    if count is None or sorted(fields) != list(range(1, count + 1)):
        problems.append(f"{path}: K0100 {count} but characteristics {sorted(fields)}")
    characteristics = []
    for index in sorted(fields):
        f = fields[index]
        if f.get("K2004") != "0" or f.get("K2022") != "4" or f.get("K2142") != "mm":
            problems.append(f"{path}: characteristic {index} lacks K2004 0, K2022 4 or K2142 mm")
        nominal = f.get("K2101")
        if nominal is not None and not NUMBER.fullmatch(nominal):
            problems.append(f"{path}: K2101/{index} {nominal!r} is no plain number")
        characteristics.append(
            [f.get("K2001"), f.get("K2002"), None if nominal is None else float(nominal)])
    values = []
    for number, raw in value_lines:
        entries = raw.split(b"\x0f")
        if len(entries) != len(characteristics):
            problems.append(f"{path}:{number}: {len(entries)} values, "
                            f"{len(characteristics)} characteristics")
        line = []
        for entry in entries:
            parts = entry.split(b"\x14")
            if len(parts) != 3 or not TIME.fullmatch(parts[2]):
                problems.append(f"{path}:{number}: entry {entry!r} is not value, attribute, time")
                continue
            value, attribute = parts[0].decode("ascii"), int(parts[1])
            if (attribute, value == "") not in ((0, False), (255, True)) or (
                    value and not NUMBER.fullmatch(value)):
                problems.append(f"{path}:{number}: value {value!r} with attribute {attribute}")
            line.append([float(value) if value else None, attribute])
        values.append(line)
    return {"part": part, "characteristics": characteristics, "values": values}, data


def differ(want, have):
    if isinstance(want, float) or isinstance(have, float):
        return not (isinstance(want, (int, float)) and isinstance(have, (int, float))
                    and abs(want - have) <= 1e-9)
    if isinstance(want, list) and isinstance(have, list):
        return len(want) != len(have) or any(differ(w, h) for w, h in zip(want, have))
    return want != have


def main(arguments):
    problems = []
    if len(arguments) == 3 and arguments[0] == "read":
        reading, _ = read(arguments[1], problems)
        expected = json.load(open(arguments[2], encoding="utf-8"))
        for key in ("part", "characteristics", "values"):
            if differ(expected[key], reading[key]):
                problems.append(f"{key}: expected {expected[key]!r}, read {reading[key]!r}")
    elif len(arguments) == 3 and arguments[0] == "same":
        _, first = read(arguments[1], problems)
        _, second = read(arguments[2], problems)
        if TIME.sub(b"T", first) != TIME.sub(b"T", second):
            problems.append(f"{arguments[1]} and {arguments[2]} differ")
    else:
        problems.append(__doc__)
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
