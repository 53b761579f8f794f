#!/bin/sh
# Fails when a text of the window is missing from the English catalogue or left unfinished
# there: every Japanese text in shell/ must be marked for lupdate, lupdate gathers them into a
# copy of the catalogue, and lrelease must find every one of them translated.
set -e
cd "$(dirname "$0")/.."
unmarked=$(grep -nP '"[^"]*[^\x00-\x7F][^"]*"' shell/*.cpp shell/*.h |
    sed 's|//.*$||' | grep -P '"[^"]*[^\x00-\x7F][^"]*"' |
    grep -v -e QT_TRANSLATE_NOOP -e QRegularExpression | grep -vP '^[^:]+:[0-9]+:\s*"' || true)
if [ -n "$unmarked" ]; then
    echo "$unmarked"
    echo "translation-check: Japanese texts above are not marked QT_TRANSLATE_NOOP(\"Vell\", ...)"
    exit 1
fi
bin=$(qtpaths6 --query QT_HOST_BINS 2>/dev/null || echo /usr/lib/qt6/bin)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp resources/translations/vell_en.ts "$work/vell_en.ts"
"$bin/lupdate" -silent shell -source-language ja -target-language en -no-obsolete \
    -locations none -ts "$work/vell_en.ts"
"$bin/lrelease" "$work/vell_en.ts" -qm "$work/vell_en.qm" >"$work/report" 2>&1
cat "$work/report"
if ! grep -q " 0 unfinished" "$work/report" || grep -q "untranslated" "$work/report"; then
    echo "translation-check: the English catalogue lacks texts (see above); run lupdate on" \
         "shell/ into resources/translations/vell_en.ts and translate them"
    exit 1
fi
echo "translation-check: every text of the window has its English translation"
