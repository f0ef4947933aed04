#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# CI: the data columns as a spreadsheet program reads them. For a winding, a
# contact and a cable meter (the simulator), kestrix-download writes the CSV
# and the workbook; LibreOffice Calc opens each under an English and a German
# profile and saves it as flat XML, and every cell of a numeric column
# ("File No.", "... (Ohm)", "(A)", "(°C)", "(sq. mm)") must be a number with
# the CSV's value, every date a date.
#
# kestrix-download runs under de_DE (made with localedef where the system has
# no such locale), so that the C library's decimal comma cannot reach a
# number.
#
# The CSV is read as the import dialog is told to read it: "English (USA)",
# the language of its numbers. Calc's German default reads "0.848" as 848 and
# "151.7" as text; the workbook needs no such choice.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh libreoffice-calc-nogui python3 locales
if [ ! -f build/build.ninja ]; then
    bash scripts/build.sh build -DKESTRIX_WERROR=ON
fi
cmake --build build --target kestrix-download kestrix-meter-sim --parallel "$(nproc)"

work=$(mktemp -d)
sim=
trap 'kill $sim 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$work/locales"
localedef -i de_DE -f UTF-8 "$work/locales/de_DE.UTF-8"

for family in winding contact cable; do
    build/sim/kestrix-meter-sim --family "$family" --files 12 --empty 3 --com 5 --unpaced >"$work/sim.out" &
    sim=$!
    for _ in $(seq 1 50); do
        [ "$(wc -l <"$work/sim.out")" -ge 2 ] && break
        sleep 0.1
    done
    for format in csv xlsx; do
        LOCPATH="$work/locales" LC_ALL=de_DE.UTF-8 \
            build/src/cli/kestrix-download --port 5 --quiet --output "$work/$family-$format.$format"
    done
    kill "$sim"
    wait "$sim" 2>/dev/null || true
    sim=
done

# Language 1033 is English (USA), as chosen in the Text Import dialog.
csv_filter="Text - txt - csv (StarCalc):44,34,76,1,,1033"
for profile in en_US de_DE; do
    mkdir -p "$work/$profile"
    LANG=$profile.UTF-8 LC_ALL=$profile.UTF-8 soffice -env:UserInstallation="file://$work/profile-$profile" \
        --headless --convert-to fods --outdir "$work/$profile" "$work"/*-xlsx.xlsx >/dev/null 2>&1
    LANG=$profile.UTF-8 LC_ALL=$profile.UTF-8 soffice -env:UserInstallation="file://$work/profile-$profile" \
        --headless --infilter="$csv_filter" --convert-to fods --outdir "$work/$profile" "$work"/*-csv.csv \
        >/dev/null 2>&1
done

python3 - "$work" <<'EOF'
import csv, pathlib, re, sys
import xml.etree.ElementTree as ET

work = pathlib.Path(sys.argv[1])
TABLE = '{urn:oasis:names:tc:opendocument:xmlns:table:1.0}'
OFFICE = '{urn:oasis:names:tc:opendocument:xmlns:office:1.0}'
numeric = re.compile(r'^File No\.$|\((Ohm|A|°C|sq\. mm)\)$')

def sheet_rows(path):
    rows = []
    for row in ET.parse(path).iter(TABLE + 'table-row'):
        cells = []
        for cell in row.findall(TABLE + 'table-cell'):
            repeat = min(int(cell.get(TABLE + 'number-columns-repeated', '1')), 64)
            kind = cell.get(OFFICE + 'value-type')
            value = cell.get(OFFICE + 'value') if kind == 'float' else cell.get(OFFICE + 'date-value')
            cells += [(kind, value)] * repeat
        rows.append(cells)
    return rows

failures = []
checked = 0
for family in ('winding', 'contact', 'cable'):
    with open(work / f'{family}-csv.csv', encoding='utf-8-sig', newline='') as file:
        expected = list(csv.reader(file))
    headings = expected[0]
    for profile in ('en_US', 'de_DE'):
        for form in ('csv', 'xlsx'):
            rows = sheet_rows(work / profile / f'{family}-{form}.fods')
            for line, fields in enumerate(expected[1:], start=1):
                for column, heading in enumerate(headings):
                    field = fields[column]
                    kind, value = (rows[line] + [(None, None)] * len(headings))[column]
                    where = f'{profile} {family}.{form} row {line + 1} "{heading}"'
                    if field == '':
                        continue
                    if numeric.search(heading):
                        checked += 1
                        if kind != 'float' or abs(float(value) - float(field)) > 1e-12 * max(1, abs(float(field))):
                            failures.append(f'{where}: {kind} {value}, not the number {field}')
                    elif heading == 'Date & Time':
                        checked += 1
                        if kind != 'date' or not value.startswith(field):
                            failures.append(f'{where}: {kind} {value}, not the date {field}')
print(f'Spreadsheet check: {checked} numeric and date cells read as numbers and dates '
      '(3 meters, CSV and workbook, English and German profiles)')
if failures:
    print('\n'.join(failures[:40]), file=sys.stderr)
    sys.exit(1)
EOF
