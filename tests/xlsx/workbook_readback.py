"""The Excel workbook of a survey read back with openpyxl.

Builds a survey in a copy of the shipped database (Japanese texts, quotes,
commas, a point without records, point numbers a sheet name cannot hold or
that read like cell references), writes it with `vortan-cli xlsx`, and checks
the workbook against what `vortan-cli calc` prints for the same survey:
sheet names, headings, cell types and values, frozen panes, print set-up and
the charts. Run by ctest with Debian's /usr/bin/python3:
    workbook_readback.py VORTAN_CLI PROGRAM_FOLDER
"""

import datetime
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import zipfile

import openpyxl

CLI, PROGRAM = sys.argv[1], sys.argv[2]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(folder, *args):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", VORTAN_SETTINGS=os.path.join(folder, "settings.ini"))
    done = subprocess.run([CLI, *args], env=env, capture_output=True, text=True, timeout=120)
    return done.returncode, done.stdout, done.stderr


def make_survey(folder):
    for name in ("VORTAN.MDB", "Yuubin.MDB", "rqtbl.csv", "qaTbl.tbl"):
        shutil.copy(os.path.join(PROGRAM, name), folder)
        os.chmod(os.path.join(folder, name), 0o644)
    with open(os.path.join(folder, "settings.ini"), "w", encoding="utf-8") as f:
        f.write("[etc]\n")
        f.write(f"データ位置 = {folder}/VORTAN.MDB\n住所位置 = {folder}/Yuubin.MDB\nini位置 = {folder}\n")
        # Blow counts of 0 give "1未満", Nd above 50 gives "50以上".
        f.write("Nd値の上限を有効にする = True\nNd値の上限値 = 50\n")
        f.write("Ndのしきい値を有効にする = True\nNdのしきい値 = 1\n")
    db = sqlite3.connect(os.path.join(folder, "VORTAN.MDB"))
    db.execute("INSERT INTO 調査地区 (調査地区No,現場名,住所,調査目的,調査日,天候,標高,得意先名,記事) VALUES "
               "(7, '青葉台\"三丁目\", 新築', '横浜市青葉区', '宅地の地盤調査', '20240501', '晴れ', '25.3', '一般', "
               "'O''Neill, 立会い')")
    points = [("A/1", "-0.5", "1.2", "北東の角"), ("A:1", "", "", "記事, \"引用\""), ("E", "", "", ""),
              ("R1C1", "0", "", ""), ("調査概要", "", "", "")]
    for number, ground, water, remark in points:
        db.execute("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻,標高差,地下水位,記事,印刷) "
                   "VALUES (7, ?, '240501', '0930', '1015', ?, ?, ?, -1)", (number, ground, water, remark))
    records = {"A/1": [(0.25, 0, 0, 1, ""), (0.5, 10, 2.5, 2, "硬い, \"石\""), (0.75, 200, 1, 1, "")],
               "A:1": [(0.25, 5, 1.5, 2, "")],
               "R1C1": [(0.25 * i, 3 + i, 0.5 * i, 1 + i % 2, "") for i in range(1, 45)],
               "調査概要": [(1.0, 8, 0, 1, "")]}
    for number, rows in records.items():
        for depth, blows, torque, soil, remark in rows:
            db.execute("INSERT INTO 測点データ VALUES (7, ?, '240501', '0930', '1015', ?, ?, ?, ?, ?)",
                       (number, depth, blows, torque, soil, remark))
    db.commit()
    db.close()


def cell_matches(cell, text, where):
    """A numeric text is a number cell of that value, another text a text cell, no text an empty cell."""
    if text == "":
        check(cell.value is None, f"{where}: {cell.value!r} where the sheet is empty")
        return
    try:
        number = float(text)
    except ValueError:
        check(cell.data_type == "s" and cell.value == text, f"{where}: {cell.value!r} for the text {text!r}")
        return
    check(cell.data_type == "n" and cell.value == number, f"{where}: {cell.value!r} for the number {text}")


def bar_value(text):
    """The length of a bar: the leading number, zero for "未満"."""
    if "未満" in text:
        return 0
    digits = ""
    for c in text:
        if not (c.isdigit() or c in ".-"):
            break
        digits += c
    return float(digits)


def main():
    folder = tempfile.mkdtemp()
    try:
        make_survey(folder)
        code, out, err = run(folder, "calc", "--survey", "7")
        check(code == 0, f"calc ended with {code}: {err}")
        lines = [line.split("\t") for line in out.splitlines()]
        check(any("未満" in l[7] for l in lines) and any("以上" in l[7] for l in lines), "no limit texts to test")

        target = os.path.join(folder, "out.xlsx")
        with open(target, "wb") as f:
            f.write(b"an older file")
        code, out, err = run(folder, "xlsx", "--survey", "7", target)
        # Nothing on the error stream: libxlsxwriter prints its warnings there.
        check(code == 0 and err == "", f"xlsx ended with {code}: {err}")
        check(sorted(os.listdir(folder)) == sorted(["VORTAN.MDB", "Yuubin.MDB", "rqtbl.csv", "qaTbl.tbl",
                                                    "settings.ini", "out.xlsx"]), "a temporary file was left")
        book = openpyxl.load_workbook(target)

        point_sheets = {"A/1": "A_1", "A:1": "A_1 (2)", "E": "E", "R1C1": "R1C1", "調査概要": "調査概要 (2)"}
        check(book.sheetnames == ["調査概要", *point_sheets.values(), "全測点"], f"sheets {book.sheetnames}")

        headings = ["貫入長 D (m)", "打撃回数 Ndm", "トルク Mv (N・m)", "推定土質", "記事", "補正値 ⊿Nd",
                    "補正打撃回数 Nd", "換算支持力 qa (kN/m²)"]
        for point, name in point_sheets.items():
            ws = book[name]
            rows = [l[1:] for l in lines if l[0] == point]
            check([c.value for c in ws[1][:8]] == headings, f"{name}: headings {[c.value for c in ws[1]]}")
            check(ws.max_row == len(rows) + 1, f"{name}: {ws.max_row - 1} rows for {len(rows)} records")
            for r, fields in enumerate(rows, start=2):
                for c, text in enumerate(fields):
                    cell_matches(ws.cell(r, c + 1), text, f"{name}!{ws.cell(r, c + 1).coordinate}")
                check(ws.cell(r, 9).value == bar_value(fields[6]), f"{name}: bar length of row {r}")
            check(ws.freeze_panes == "A2", f"{name}: frozen at {ws.freeze_panes}")
            check(ws.column_dimensions["I"].hidden, f"{name}: the bar lengths are shown")
            check(ws.page_setup.paperSize == 9 and ws.page_setup.orientation == "portrait"
                  and ws.page_setup.fitToWidth in (None, 1) and ws.page_setup.fitToHeight == 0
                  and ws.sheet_properties.pageSetUpPr.fitToPage, f"{name}: print set-up")
            check(ws.print_title_rows == "$1:$1", f"{name}: repeated rows {ws.print_title_rows}")
            check(ws.oddHeader.right.text == f"測点No {point}", f"{name}: page header {ws.oddHeader.right.text}")
            charts = ws._charts
            check(len(charts) == (1 if rows else 0), f"{name}: {len(charts)} charts")
            for chart in charts:
                series = chart.series[0]
                last = "" if len(rows) == 1 else f":${{0}}${len(rows) + 1}"
                check(chart.tagname == "barChart" and chart.type == "bar", f"{name}: chart kind")
                values, depths = f"'{name}'!$I$2" + last.format("I"), f"'{name}'!$A$2" + last.format("A")
                check(series.val.numRef.f == values, f"{name}: values {series.val.numRef.f}")
                check(series.cat.numRef.f == depths, f"{name}: depths {series.cat.numRef.f}")
                check(chart.x_axis.scaling.orientation == "maxMin", f"{name}: depth does not increase downwards")
        # The values stand in a hidden column: every chart draws hidden cells.
        with zipfile.ZipFile(target) as package:
            for part in (n for n in package.namelist() if n.startswith("xl/charts/")):
                check(b'<c:plotVisOnly val="1"/>' not in package.read(part), f"{part} leaves hidden cells out")

        ws = book["全測点"]
        check([c.value for c in ws[1]] == ["測点No"] + headings[:4] + headings[5:], "全測点: headings")
        check(ws.max_row == len(lines) + 1 and ws.freeze_panes == "A2", "全測点: rows or frozen pane")
        check(ws.auto_filter.ref == f"A1:H{len(lines) + 1}", f"全測点: filter {ws.auto_filter.ref}")
        for r, fields in enumerate(lines, start=2):
            cell_matches(ws.cell(r, 1), fields[0], f"全測点!A{r}")
            for c, text in enumerate(fields[1:5] + fields[6:], start=2):
                cell_matches(ws.cell(r, c), text, f"全測点!{ws.cell(r, c).coordinate}")

        ws = book["調査概要"]
        header = {ws.cell(r, 1).value: ws.cell(r, 2).value for r in range(1, 12)}
        check(header == {"調査地区No": 7, "現場名": "青葉台\"三丁目\", 新築", "住所": "横浜市青葉区",
                         "調査日": datetime.datetime(2024, 5, 1), "調査目的": "宅地の地盤調査", "提出先": "一般",
                         "調査責任者": None, "調査者": None, "天候": "晴れ", "標高": 25.3,
                         "記事": "O'Neill, 立会い"}, f"調査概要: {header}")
        check(ws["B4"].number_format == "yyyy/mm/dd", "調査概要: the date's format")
        check([c.value for c in ws[13]] == ["測点No", "地盤高 (m)", "地下水位 (m)", "記事", "開始日時", "終了日時",
                                            "最終貫入長 (m)"], "調査概要: points headings")
        start, end = datetime.datetime(2024, 5, 1, 9, 30), datetime.datetime(2024, 5, 1, 10, 15)
        expected = [["A/1", -0.5, 1.2, "北東の角", start, end, 0.75], ["A:1", None, None, "記事, \"引用\"", start, end, 0.25],
                    ["E", None, None, None, start, end, None], ["R1C1", 0, None, None, start, end, 11],
                    ["調査概要", None, None, None, start, end, 1]]
        check([[c.value for c in row] for row in ws.iter_rows(min_row=14)] == expected, "調査概要: points table")

        # The program's own database is never written over.
        database = os.path.join(folder, "VORTAN.MDB")
        with open(database, "rb") as f:
            before = f.read()
        code, out, err = run(folder, "xlsx", "--survey", "7", database)
        with open(database, "rb") as f:
            check(code == 1 and "Vortanデータベース" in err and f.read() == before, f"database as target: {code} {err!r}")

        # A survey that is not there: the program's message, no file.
        missing = os.path.join(folder, "missing.xlsx")
        code, out, err = run(folder, "xlsx", "--survey", "99", missing)
        check(code == 1 and "データ登録されていませんでした｡" in err.splitlines()
              and not os.path.exists(missing), f"missing survey: {code} {err!r}")
    finally:
        shutil.rmtree(folder)

    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
