# Reads a grid export with Python's own parsers and prints what they found:
# one line per row, its fields TAB-separated, each field as the hex of its
# UTF-8 bytes (so commas, quotes and line breaks survive the trip back).
import csv
import sys
import xml.etree.ElementTree as ET


def emit(fields):
    print("\t".join(f.encode("utf-8").hex() for f in fields))


def main():
    kind, path = sys.argv[1], sys.argv[2]
    if kind == "csv":
        with open(path, newline="", encoding="utf-8") as f:
            for row in csv.reader(f):
                # Every field ends with the delimiter, so each line ends in an empty field.
                assert row[-1] == "", row
                emit(row[:-1])
    else:
        root = ET.parse(path).getroot()
        names = [f.get("attrname") for f in root.iter("FIELD")]
        emit(names)
        for row in root.iter("ROW"):
            emit([row.get(n) for n in names])


main()
