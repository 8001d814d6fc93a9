#!/usr/bin/env python3
"""Builds data/ADIFCnt.txt, the country table of the ADIF export, from the Debian package
hamradio-files.

Run by hand when hamradio-files brings newer country files:

    tools/make-adif-country-table.py [/usr/share/hamradio-files] [data/ADIFCnt.txt]

Sources:
- cty.csv: one entity per line, "primary prefix,name,DXCC number,continent,...". Its third
  column is the entity's number in the ADIF DXCC enumeration.
- cty.dat: the file data/arrlpre2.txt is made from (tools/make-prefix-table.py). Its names are
  the ones the operator's location field completes to, and they differ from cty.csv's in places
  ("Juan de Nova, Europa" against "Juan de Nova & Europa"), so each number is joined to the
  cty.dat name by the entity's primary prefix.

Output: one line per name, "name",number, CR LF, sorted by name; at most 1000 lines, the number
the program reads.

Choices made here:
- entities whose primary prefix starts with "*" are skipped, as in the prefix table: they are
  not DXCC entities of their own;
- "United States of America" is written "USA", the name the export writes for US stations;
- a few more names operators type for an unambiguous entity are added (EXTRA_NAMES); a name that
  could mean two entities, such as "Russia" (European and Asiatic Russia), is never added;
- a name that would carry two numbers stops the build.
Standard library only.
"""

import csv
import os
import sys

DEFAULT_SOURCE = "/usr/share/hamradio-files"
DEFAULT_OUTPUT = "data/ADIFCnt.txt"
MAX_ROWS = 1000
RENAMED = {"United States of America": "USA"}
EXTRA_NAMES = {
    "Germany": 230,
    "United States": 291,
    "Holland": 263,
    "Czechia": 503,
    "South Korea": 137,
    "Vatican": 295,
}
REQUIRED = {"USA": 291, "Canada": 1, "Hawaii": 110, "Alaska": 6}


def dat_names(text):
    """Primary prefix -> entity name, from cty.dat's header lines."""
    names = {}
    for record in text.split(";"):
        record = record.strip()
        if not record:
            continue
        head = record.partition("\n")[0]
        cols = [c.strip() for c in head.split(":")]
        if len(cols) < 8:
            raise ValueError("bad entity header: %r" % head)
        name, primary = cols[0], cols[7]
        if primary in names:
            raise ValueError("primary prefix %s listed twice in cty.dat" % primary)
        names[primary] = name
    return names


def csv_numbers(rows):
    """Primary prefix -> DXCC number, from cty.csv."""
    numbers = {}
    for row in rows:
        if not row:
            continue
        if len(row) < 3 or not row[2].strip().isdigit():
            raise ValueError("bad cty.csv row: %r" % row)
        numbers[row[0].strip()] = int(row[2])
    return numbers


def build(dat_text, csv_rows):
    names = dat_names(dat_text)
    numbers = csv_numbers(csv_rows)
    table = {}

    def add(name, number):
        if not name or '"' in name or name != name.strip():
            raise ValueError("unusable country name %r" % name)
        key = name.upper()
        if key in table and table[key][1] != number:
            raise ValueError("%s would carry %d and %d" % (name, table[key][1], number))
        table.setdefault(key, (name, number))

    for primary, name in names.items():
        if primary.startswith("*"):
            continue
        if primary not in numbers:
            raise ValueError("no DXCC number in cty.csv for %s (%s)" % (name, primary))
        add(RENAMED.get(name, name), numbers[primary])
    for name, number in EXTRA_NAMES.items():
        add(name, number)
    for name, number in REQUIRED.items():
        if table.get(name.upper(), (None, None))[1] != number:
            sys.exit("%s must be %d" % (name, number))
    return sorted(table.values(), key=lambda row: row[0].upper())


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_SOURCE
    output = sys.argv[2] if len(sys.argv) > 2 else DEFAULT_OUTPUT
    with open(os.path.join(source, "cty.dat"), encoding="ascii") as f:
        dat_text = f.read()
    with open(os.path.join(source, "cty.csv"), encoding="ascii", newline="") as f:
        csv_rows = list(csv.reader(f))
    rows = build(dat_text, csv_rows)
    if len(rows) > MAX_ROWS:
        sys.exit("%d rows: more than the program reads" % len(rows))
    with open(output, "w", encoding="ascii", newline="") as f:
        for name, number in rows:
            f.write('"%s",%d\r\n' % (name, number))
    print("%s: %d rows" % (output, len(rows)))


if __name__ == "__main__":
    main()
