#!/usr/bin/env python3
"""Builds data/arrlpre2.txt, the call-sign prefix table, from the country file "cty.dat".

Run by hand when the Debian package hamradio-files brings a newer cty.dat:

    tools/make-prefix-table.py [/usr/share/hamradio-files/cty.dat] [data/arrlpre2.txt]

Source format (cty.dat): one record per entity, a header line of colon-separated columns
    name: CQ zone: ITU zone: continent: latitude: longitude: UTC offset: primary prefix:
followed by comma-separated prefixes ending in ";". Latitude is north-positive and longitude is
WEST-positive (England 1.47, Japan -138.38), which is the convention the table uses, so both are
copied as they are. A prefix may carry overrides: (CQ zone) [ITU zone] <lat/long> {continent}
~UTC offset~; "=" marks a whole call sign, not a prefix.

Output line: "prefix","country","continent",longitude,latitude,"CQ zone","ITU zone","UTC offset"
The last three items are informational (the program ignores them); a dropped zone-only variant
loses its zones.

Choices made here:
- whole-call entries ("=") are skipped: the program matches prefixes only;
- entities whose primary prefix starts with "*" are not countries of their own (they exist for
  one award's list) and are skipped; their calls fall back to the parent country's prefixes;
- a prefix is dropped when the longest shorter prefix in the table already gives the same
  country, continent and coordinates (most are zone-only variants such as AA0 or VE3), which
  keeps the table small and the lookup's scan short;
- "United States of America" is written "USA", the name the program tests for;
- lines are sorted by prefix in plain ASCII order of the upper-case text (digits before
  letters), which the lookup's first-character scan relies on.
Standard library only.
"""

import re
import sys

DEFAULT_SOURCE = "/usr/share/hamradio-files/cty.dat"
DEFAULT_OUTPUT = "data/arrlpre2.txt"
MAX_ENTRIES = 10000
RENAMED = {"United States of America": "USA"}
OVERRIDE = re.compile(r"\((\d+)\)|\[(\d+)\]|<([-\d.]+)/([-\d.]+)>|\{(\w+)\}|~([-\d.]+)~")


def parse_entities(text):
    """Yields (name, cq, itu, continent, lat, lon, utc, primary, [raw prefix items])."""
    for record in text.split(";"):
        record = record.strip()
        if not record:
            continue
        head, _, body = record.partition("\n")
        cols = [c.strip() for c in head.split(":")]
        if len(cols) < 8:
            raise ValueError("bad entity header: %r" % head)
        name, cq, itu, cont, lat, lon, utc, primary = cols[:8]
        items = [i.strip() for i in body.replace("\n", "").split(",") if i.strip()]
        yield name, cq, itu, cont, float(lat), float(lon), utc, primary, items


def build(text):
    by_prefix = {}
    for name, cq, itu, cont, lat, lon, utc, primary, items in parse_entities(text):
        if primary.startswith("*"):
            continue
        country = RENAMED.get(name, name)
        if not country or '"' in country:
            raise ValueError("unusable country name %r" % name)
        for item in items:
            if item.startswith("="):
                continue
            prefix = OVERRIDE.sub("", item).upper()
            if not re.fullmatch(r"[0-9A-Z/]+", prefix):
                raise ValueError("unexpected prefix %r in %s" % (item, name))
            p_cont, p_lat, p_lon, p_cq, p_itu, p_utc = cont, lat, lon, cq, itu, utc
            for m in OVERRIDE.finditer(item):
                if m.group(1):
                    p_cq = m.group(1)
                if m.group(2):
                    p_itu = m.group(2)
                if m.group(6):
                    p_utc = m.group(6)
                if m.group(3):
                    p_lat, p_lon = float(m.group(3)), float(m.group(4))
                if m.group(5):
                    p_cont = m.group(5)
            if prefix in by_prefix:
                raise ValueError("prefix %s listed twice" % prefix)
            by_prefix[prefix] = (country, p_cont, p_lon, p_lat, p_cq, p_itu, p_utc)

    def shorter_match(prefix):
        for n in range(len(prefix) - 1, 0, -1):
            if prefix[:n] in by_prefix:
                return by_prefix[prefix[:n]]
        return None

    kept = {}
    for prefix, value in by_prefix.items():
        parent = shorter_match(prefix)
        if parent is not None and parent[:4] == value[:4]:
            continue
        kept[prefix] = value
    return sorted(kept.items())


def number(x):
    return ("%.2f" % x).rstrip("0").rstrip(".") if x != int(x) else "%d" % x


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_SOURCE
    output = sys.argv[2] if len(sys.argv) > 2 else DEFAULT_OUTPUT
    with open(source, encoding="ascii") as f:
        entries = build(f.read())
    if len(entries) > MAX_ENTRIES:
        sys.exit("%d entries: more than the program loads" % len(entries))
    countries = {v[0] for _, v in entries}
    for needed in ("USA", "Canada", "Hawaii", "Alaska"):
        if needed not in countries:
            sys.exit("no entry for %s" % needed)
    with open(output, "w", encoding="ascii", newline="\n") as f:
        for prefix, (country, cont, lon, lat, cq, itu, utc) in entries:
            f.write('"%s","%s","%s",%s,%s,"%s","%s","%s"\n'
                    % (prefix, country, cont, number(lon), number(lat), cq, itu, utc))
    print("%s: %d entries, %d countries" % (output, len(entries), len(countries)))


if __name__ == "__main__":
    main()
