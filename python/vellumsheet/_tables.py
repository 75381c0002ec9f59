"""Tables of a converted workbook as pandas DataFrames.

The workbook holds the cells; the places the conversion recorded say which
page and which table of the layout each cell came from. Each table becomes
one frame; a worksheet on which no table was found becomes one frame of its
own. The cells are read from an .xlsx, which keeps every text whole: any
character, any length."""
import datetime
from collections import namedtuple

import openpyxl
import pandas

Place = namedtuple("Place", "sheet row column span page table left top width height")


def _value(cell):
    """The cell's value as Python holds it: float, str, bool, datetime or timedelta."""
    value = cell.value
    if isinstance(value, datetime.time):  # a time of day without a date
        return datetime.timedelta(hours=value.hour, minutes=value.minute, seconds=value.second,
                                  microseconds=value.microsecond)
    if isinstance(value, (datetime.datetime, datetime.timedelta, bool, str)):
        return value
    if isinstance(value, datetime.date):
        return datetime.datetime(value.year, value.month, value.day)
    if isinstance(value, (int, float)):
        return float(value)
    return str(value)


def _cells(sheet):
    """{(row, column): value} of the worksheet's cells that hold something, from 0."""
    sheet.reset_dimensions()  # read every row, whatever size the file declares
    cells = {}
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            cells[(cell.row - 1, cell.column - 1)] = _value(cell)
    return cells


def _column(values):
    """A Series typed by what its cells hold: numbers, dates, times or text."""
    present = [v for v in values if v is not None]
    if present and all(isinstance(v, float) for v in present):
        series = pandas.Series([float("nan") if v is None else v for v in values], dtype="float64")
        if len(present) == len(values) and all(v.is_integer() and abs(v) < 2**53 for v in present):
            series = series.astype("int64")
        return series
    if present and all(isinstance(v, datetime.datetime) for v in present):
        return pandas.Series(pandas.to_datetime(values))
    if present and all(isinstance(v, datetime.timedelta) for v in present):
        return pandas.Series(pandas.to_timedelta(values))
    return pandas.Series(values, dtype="object")


def _is_heading(row):
    """A first row of distinct texts, one over every column, names the columns."""
    return all(isinstance(v, str) and v.strip() for v in row) and len(set(row)) == len(row)


def _frame(cells, header):
    """cells: {(row, column): value}; rows and columns that hold nothing are left out."""
    rows = sorted({r for r, _ in cells})
    columns = sorted({c for _, c in cells})
    grid = [[cells.get((r, c)) for c in columns] for r in rows]
    names = None
    if header is True or (header is None and len(grid) > 1 and _is_heading(grid[0])):
        names = ["" if v is None else str(v) for v in grid[0]]
        grid = grid[1:]
    data = {i: _column([row[i] for row in grid]) for i in range(len(columns))}
    frame = pandas.DataFrame(data, index=pandas.RangeIndex(len(grid)))
    frame.columns = names if names is not None else pandas.RangeIndex(len(columns))
    return frame, rows, columns


def _attrs(places, sheet_name, rows, columns, file):
    pages = sorted({p.page for p in places})
    on_first = [p for p in places if p.page == pages[0]] if pages else []
    bbox = None
    if on_first:
        bbox = (min(p.left for p in on_first), min(p.top for p in on_first),
                max(p.left + p.width for p in on_first), max(p.top + p.height for p in on_first))
    return {"file": file, "page": pages[0] if pages else None, "pages": pages, "bbox": bbox,
            "sheet": sheet_name, "rows": rows, "columns": columns}


def read_tables(workbook, places, file, header=None):
    """The frames of the .xlsx at workbook, in the order the tables begin."""
    places = [Place(*p) for p in places]
    where = {(p.sheet, p.row, p.column): p for p in places}
    book = openpyxl.load_workbook(workbook, read_only=True, data_only=True)
    try:
        names = book.sheetnames
        tables = {}  # table number -> ({(row, column): value}, [places], sheet index)
        sheets = []  # per sheet: ({(row, column): value}, [places]) of its cells outside tables
        for index, name in enumerate(names):
            loose, loose_places = {}, []
            for (r, c), value in _cells(book[name]).items():
                place = where.get((index, r, c))
                if place is not None and place.table >= 0:
                    entry = tables.setdefault(place.table, ({}, [], index))
                    entry[0][(r, c)] = value
                    entry[1].append(place)
                else:
                    loose[(r, c)] = value
                    if place is not None:
                        loose_places.append(place)
            sheets.append((loose, loose_places))
    finally:
        book.close()
    found = []  # (sheet, first row, frame)
    for cells, table_places, index in tables.values():
        frame, rows, columns = _frame(cells, header)
        frame.attrs = _attrs(table_places, names[index], rows, columns, file)
        frame.attrs["table"] = True
        found.append((index, rows[0], frame))
    with_tables = {index for _, _, index in tables.values()}
    for index, (cells, loose_places) in enumerate(sheets):
        if index in with_tables or not cells:
            continue
        frame, rows, columns = _frame(cells, header)
        frame.attrs = _attrs(loose_places, names[index], rows, columns, file)
        frame.attrs["table"] = False
        found.append((index, rows[0], frame))
    found.sort(key=lambda item: (item[0], item[1]))
    return [frame for _, _, frame in found]
