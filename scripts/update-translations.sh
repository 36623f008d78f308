#!/usr/bin/env bash
# Refreshes the translation sources from every source folder and lists what is still to be
# translated. Run it after adding or changing user-visible texts, translate the entries it
# lists (Qt Linguist, or by hand in the .ts file), and commit the .ts files.
#   bash scripts/update-translations.sh          update both .ts files, list unfinished entries
#   bash scripts/update-translations.sh --check  only list, change nothing (exit 1 if unfinished)
set -euo pipefail
cd "$(dirname "$0")/.."

LUPDATE=$(command -v lupdate || echo /usr/lib/qt5/bin/lupdate)
TS_DIR=resources/translations
FOLDERS=()
for d in app core link measure chroma temporal calibration firmware widgets platform; do
    [ -d "$d" ] && FOLDERS+=("$d")
done

if [ "${1:-}" != "--check" ]; then
    # -locations none keeps the files free of line numbers, so a moved line is no change.
    "$LUPDATE" -silent -no-obsolete -locations none -extensions cpp,h,ui "${FOLDERS[@]}" \
        -ts "$TS_DIR/Translation_zh_CN.ts" "$TS_DIR/Translation_en.ts"
fi

# English is the source language: its file stays empty of translations on purpose. Only the
# Chinese file must be complete.
python3 - "$TS_DIR/Translation_zh_CN.ts" <<'PY'
import sys
import xml.etree.ElementTree as ET

root = ET.parse(sys.argv[1]).getroot()
missing = []
total = 0
for context in root.iter("context"):
    name = context.findtext("name")
    for message in context.iter("message"):
        total += 1
        translation = message.find("translation")
        if translation is None or translation.get("type") == "unfinished" or not (translation.text or "").strip():
            missing.append((name, message.findtext("source")))
for name, source in missing:
    print(f"unfinished: {name}: {source!r}")
print(f"{total - len(missing)} of {total} Chinese entries translated, {len(missing)} unfinished")
sys.exit(1 if missing else 0)
PY
