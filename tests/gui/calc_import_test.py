#!/usr/bin/env python3
"""Checks that LibreOffice Calc reads Kastrel's export files as intended.

Usage: calc_import_test.py SOURCE_DIR [--keep DIR]

Opens checked-in export files of every output option with Calc's text import
(columns split at TAB and ";", German or English number settings), saves them
as flat ODF and compares each cell with the value read from the file's text:
a number field must arrive as a number cell, a text as text, in its column.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

TABLE = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
OFFICE = "{urn:oasis:names:tc:opendocument:xmlns:office:1.0}"

# Calc's language codes: German (decimal comma) and English (US, decimal point).
LANGUAGES = {"de": 1031, "en": 1033}
NUMBER = {"de": re.compile(r"-?\d+(,\d+)?"), "en": re.compile(r"-?\d+(\.\d+)?")}
CASES = {
    "de": ["bolt8_opt1_xy_de", "bolt8_opt2_de", "bolt8_opt3_xy_de", "bolt8_opt4_xy_de"],
    "en": ["bolt8_opt1_xy_en", "bolt8_opt2_en", "bolt8_opt3_yz_en", "bolt8_opt4_xy_en"],
}
SUMMARY_LABELS = ("Max", "Min", "Mittelwert")


def text_import_options(language):
    # Separators TAB (9) and ";" (59), quote ", UTF-8 (76), from line 1,
    # no column formats, the import's language, quoted fields not as text,
    # no detection of dates or scientific notation.
    return f"Text - txt - csv (StarCalc):9/59,34,76,1,,{language},false,false"


def expected_cells(path, language):
    """{(row, column): value} of the non-empty fields, a float where the field is a number."""
    with open(path, "rb") as f:
        text = f.read().decode("utf-8")
    cells = {}
    for row, line in enumerate(text.split("\r\n")[:-1]):
        for column, field in enumerate(re.split("[\t;]", line)):
            if NUMBER[language].fullmatch(field):
                cells[row, column] = float(field.replace(",", "."))
            elif field:
                cells[row, column] = field
    return cells


def calc_cells(path):
    """{(row, column): value} of the non-empty cells of the first sheet of a flat ODF file."""
    sheet = next(ElementTree.parse(path).getroot().iter(TABLE + "table"))
    cells, row = {}, 0
    for row_element in sheet.iter(TABLE + "table-row"):
        column = 0
        for cell in row_element:
            kind = cell.get(OFFICE + "value-type")
            if kind == "float":
                cells[row, column] = float(cell.get(OFFICE + "value"))
            elif kind is not None:
                cells[row, column] = "".join(cell.itertext()).strip()
            column += int(cell.get(TABLE + "number-columns-repeated", "1"))
        row += int(row_element.get(TABLE + "number-rows-repeated", "1"))
    return cells


def convert(files, language, out_dir, profile_dir):
    """One Calc run converting all files with one language's import settings."""
    command = ["soffice", f"-env:UserInstallation=file://{profile_dir}", "--headless",
               "--norestore", f"--infilter={text_import_options(LANGUAGES[language])}",
               "--convert-to", "fods", "--outdir", out_dir, *files]
    result = subprocess.run(command, capture_output=True, text=True, timeout=180)
    if result.returncode != 0:
        raise RuntimeError(f"soffice failed ({result.returncode}): {result.stderr.strip()}")


def compare(case, expected, actual):
    """The differences between the file's fields and Calc's cells, as messages."""
    problems = []
    for place in sorted(set(expected) | set(actual)):
        want, got = expected.get(place), actual.get(place)
        where = f"{case} row {place[0] + 1} column {chr(ord('A') + place[1])}"
        if isinstance(want, float):
            if not isinstance(got, float):
                problems.append(f"{where}: number {want!r} arrived as {got!r}")
            elif abs(got - want) > 1e-9 * max(1.0, abs(want)):
                problems.append(f"{where}: number {want!r} arrived as {got!r}")
        elif want != got:
            problems.append(f"{where}: {want!r} arrived as {got!r}")
    return problems


def summary_problems(case, actual):
    """Option 4's summary block: label in column C, its number in column D."""
    problems = []
    for label in SUMMARY_LABELS:
        rows = [row for (row, column), value in actual.items() if value == label and column == 2]
        if len(rows) != 1:
            problems.append(f"{case}: label {label!r} not once in column C")
        elif not isinstance(actual.get((rows[0], 3)), float):
            problems.append(f"{case}: no number beside {label!r} in column D")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("source_dir")
    parser.add_argument("--keep", metavar="DIR", help="leave the converted files here")
    args = parser.parse_args()
    if shutil.which("soffice") is None:
        print("soffice not found: install libreoffice-calc (tools/install-deps)")
        return 1

    started = time.monotonic()
    expected_dir = os.path.join(args.source_dir, "tests", "data", "expected")
    work_dir = args.keep or tempfile.mkdtemp(prefix="kastrel-calc-")
    profile_dir = tempfile.mkdtemp(prefix="kastrel-calc-profile-")
    passed, failed = 0, 0
    try:
        for language, cases in CASES.items():
            out_dir = os.path.join(work_dir, language)
            convert([os.path.join(expected_dir, case + ".xls") for case in cases], language,
                    out_dir, profile_dir)
            for case in cases:
                converted = os.path.join(out_dir, case + ".fods")
                if not os.path.exists(converted):
                    problems = [f"{case}: Calc wrote no {converted}"]
                else:
                    actual = calc_cells(converted)
                    problems = compare(case, expected_cells(
                        os.path.join(expected_dir, case + ".xls"), language), actual)
                    if "_opt4_" in case:
                        problems += summary_problems(case, actual)
                if problems:
                    failed += 1
                    print(f"FAIL {case} read with language {LANGUAGES[language]}")
                    for problem in problems[:10]:
                        print("    " + problem)
                else:
                    passed += 1
                    print(f"ok   {case} read with language {LANGUAGES[language]}")
    finally:
        shutil.rmtree(profile_dir, ignore_errors=True)
        if not args.keep:
            shutil.rmtree(work_dir, ignore_errors=True)
    print(f"took {time.monotonic() - started:.1f} s")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
