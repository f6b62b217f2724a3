#!/usr/bin/python3
"""Reads Kastrel's workbooks back with openpyxl and checks them.

  workbook_check.py cells SEPARATOR EXPECTED.xls WORKBOOK.xlsx [SEPARATOR EXPECTED WORKBOOK ...]
      The first sheet, "Messpunkte", holds the text file's lines as rows and
      its fields as cells: a number field is a number cell whose value is the
      number its text shows and whose number format shows that same text; a
      text field is that text; an empty field is no cell.

  workbook_check.py same WORKBOOK.xlsx OTHER.xlsx
      Both hold the same sheets, cells (values and number formats) and charts.

  workbook_check.py roundness WORKBOOK.xlsx EXPECTED.json
      The sheet "Rundheit" against {"rows": [[A, B, C, D..N]], "charts":
      [title, ...]}: null for an empty cell, numbers within 1e-6, and the
      sheet names and order.

  workbook_check.py wellformed WORKBOOK.xlsx IDS.json
      Every XML part is well-formed and openpyxl reads the workbook; "Rundheit"
      lists the IDs of IDS.json (a list) from A2 on, as Excel reads its cells'
      _xHHHH_, and each has its chart, titled with the ID whose characters
      XML cannot hold stand as U+FFFD.

Prints one line per difference and exits with 1 if there is any.
"""

import json
import re
import sys
import xml.dom.minidom
import xml.parsers.expat
import zipfile

import openpyxl

SHEETS = ["Messpunkte", "Rundheit", "Diagrammdaten"]


def shown(value, number_format, separator):
    """The text a spreadsheet shows for the value in this format."""
    if number_format == "0.0000":
        text = f"{value:.4f}"
    elif number_format == "0.000":
        text = f"{value:.3f}"
    elif number_format == "General":
        # Up to 15 significant digits, exponent form below 1E-04 and from 1E15.
        text = f"{value:.15g}".upper()
    else:
        return f"<format {number_format}>"
    return text.replace(".", separator)


def is_number(text, separator):
    pattern = r"-?\d+(" + re.escape(separator) + r"\d+)?(E[+-]\d+)?"
    return re.fullmatch(pattern, text) is not None


def check_cells(separator, expected_path, workbook_path, problems):
    with open(expected_path, "rb") as f:
        lines = f.read().decode("latin-1").split("\r\n")[:-1]
    book = openpyxl.load_workbook(workbook_path)
    if book.sheetnames != SHEETS:
        problems.append(f"{workbook_path}: sheets {book.sheetnames}")
    sheet = book.worksheets[0]
    seen = set()
    for row, line in enumerate(lines, start=1):
        fields = re.split("[\t;]", line) if line else []
        for column, field in enumerate(fields, start=1):
            cell = sheet.cell(row=row, column=column)
            seen.add((row, column))
            where = f"{workbook_path} {cell.coordinate} ({field!r})"
            if not field:
                if cell.value is not None:
                    problems.append(f"{where}: holds {cell.value!r}")
            elif is_number(field, separator):
                if cell.data_type != "n" or isinstance(cell.value, bool):
                    problems.append(f"{where}: not a number cell but {cell.value!r}")
                elif cell.value != float(field.replace(separator, ".")):
                    problems.append(f"{where}: value {cell.value!r}")
                elif shown(cell.value, cell.number_format, separator) != field:
                    problems.append(f"{where}: format {cell.number_format!r} shows "
                                    f"{shown(cell.value, cell.number_format, separator)!r}")
            elif cell.data_type != "s" or cell.value != field:
                problems.append(f"{where}: holds {cell.value!r}")
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is not None and (cell.row, cell.column) not in seen:
                problems.append(f"{workbook_path} {cell.coordinate}: extra {cell.value!r}")


def chart_titles(workbook_path):
    """The charts' titles as their XML holds them, in the order of their parts."""
    titles = []
    with zipfile.ZipFile(workbook_path) as archive:
        names = sorted((n for n in archive.namelist() if re.fullmatch(r"xl/charts/chart\d+\.xml", n)),
                       key=lambda n: int(re.search(r"\d+", n).group()))
        for name in names:
            xml = archive.read(name).decode("utf-8")
            title = re.search(r"<c:title>.*?</c:title>", xml, re.S)
            titles.append("".join(re.findall(r"<a:t>(.*?)</a:t>", title.group(), re.S)) if title else None)
    return titles


def check_roundness(workbook_path, expected_path, problems):
    with open(expected_path, encoding="utf-8") as f:
        expected = json.load(f)
    book = openpyxl.load_workbook(workbook_path)
    if book.sheetnames != SHEETS:
        problems.append(f"sheets {book.sheetnames}")
    sheet = book["Rundheit"]
    titles = ["Merkmal", "Ebene", "Punkte", "Mitte 1", "Mitte 2", "Durchmesser",
              "Nenndurchmesser", "Abweichung", "Rundheit", "Soll Mitte 1", "Soll Mitte 2",
              "Versatz 1", "Versatz 2", "Position"]
    if [c.value for c in sheet[1]][:len(titles)] != titles:
        problems.append(f"titles {[c.value for c in sheet[1]]}")
    for row, want in enumerate(expected["rows"], start=2):
        if len(want) != len(titles):
            problems.append(f"expected row {row}: {len(want)} cells, wanted {len(titles)}")
        for column, value in enumerate(want, start=1):
            cell = sheet.cell(row=row, column=column)
            where = f"Rundheit {cell.coordinate}"
            if value is None:
                if cell.value is not None:
                    problems.append(f"{where}: holds {cell.value!r}, wanted nothing")
            elif isinstance(value, str):
                if cell.value != value:
                    problems.append(f"{where}: {cell.value!r}, wanted {value!r}")
            elif not isinstance(cell.value, (int, float)) or abs(cell.value - value) > 1e-6:
                problems.append(f"{where}: {cell.value!r}, wanted {value!r}")
            elif column >= 4 and cell.number_format != "0.0000":
                problems.append(f"{where}: format {cell.number_format!r}")
    after = len(expected["rows"]) + 2
    if any(c.value is not None for c in sheet[after][:len(titles)]):
        problems.append(f"Rundheit row {after}: more rows than expected")
    if chart_titles(workbook_path) != expected["charts"]:
        problems.append(f"charts {chart_titles(workbook_path)}, wanted {expected['charts']}")


def chart_parts(workbook_path):
    """The charts' XML, which holds their titles, ranges and looks."""
    with zipfile.ZipFile(workbook_path) as archive:
        return {n: archive.read(n) for n in archive.namelist() if n.startswith("xl/charts/")}


def check_same(workbook_path, other_path, problems):
    books = [openpyxl.load_workbook(p) for p in (workbook_path, other_path)]
    if books[0].sheetnames != books[1].sheetnames:
        problems.append(f"sheets {books[0].sheetnames} and {books[1].sheetnames}")
        return
    for name in books[0].sheetnames:
        cells = [{c.coordinate: (c.value, c.number_format) for row in b[name].iter_rows()
                  for c in row if c.value is not None} for b in books]
        for coordinate in sorted(set(cells[0]) | set(cells[1])):
            if cells[0].get(coordinate) != cells[1].get(coordinate):
                problems.append(f"{name} {coordinate}: {cells[0].get(coordinate)!r} and "
                                f"{cells[1].get(coordinate)!r}")
    if chart_parts(workbook_path) != chart_parts(other_path):
        problems.append("the charts differ")


def excel_text(value):
    """A cell's text as Excel reads it: _xHHHH_ is the character HHHH."""
    return re.sub(r"_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m.group(1), 16)), value)


def xml_safe(text):
    return "".join(c if c in "\t\n\r" or " " <= c < "\ufffe" or c > "\uffff" else "\ufffd"
                   for c in text)


def check_wellformed(workbook_path, ids_path, problems):
    with open(ids_path, encoding="utf-8") as f:
        ids = json.load(f)
    with zipfile.ZipFile(workbook_path) as archive:
        for name in archive.namelist():
            if name.endswith((".xml", ".rels")):
                try:
                    xml.dom.minidom.parseString(archive.read(name))
                except xml.parsers.expat.ExpatError as error:
                    problems.append(f"{name}: {error}")
    if problems:
        return
    try:
        book = openpyxl.load_workbook(workbook_path)
    except Exception as error:  # openpyxl raises what its parser raises
        problems.append(f"openpyxl: {error}")
        return
    column = [excel_text(c.value) for c in book["Rundheit"]["A"][1:] if c.value is not None]
    if column != ids:
        problems.append(f"Rundheit A: {column!r}")
    titles = chart_titles(workbook_path)
    if len(titles) != len(ids):
        problems.append(f"{len(titles)} charts for {len(ids)} IDs")
    for title, id in zip(titles, ids):
        # The title's XML escapes & < >; the parser's reading of it is the text.
        text = xml.dom.minidom.parseString(f"<t>{title}</t>").documentElement.firstChild
        # The parser reads a CR in the XML as a line feed, as Excel does.
        want = xml_safe(id).replace("\r", "\n") + " – Rundheit "
        if text is None or not text.data.startswith(want):
            problems.append(f"chart title {title!r} for {id!r}")


def main(arguments):
    problems = []
    if arguments[:1] == ["cells"] and len(arguments) % 3 == 1:
        for k in range(1, len(arguments), 3):
            check_cells(*arguments[k:k + 3], problems)
    elif arguments[:1] == ["same"] and len(arguments) == 3:
        check_same(arguments[1], arguments[2], problems)
    elif arguments[:1] == ["roundness"] and len(arguments) == 3:
        check_roundness(arguments[1], arguments[2], problems)
    elif arguments[:1] == ["wellformed"] and len(arguments) == 3:
        check_wellformed(arguments[1], arguments[2], problems)
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
