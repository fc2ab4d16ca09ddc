#!/usr/bin/env bash
# Screenshots of the archive dialogs with sample data, for review:
#   add.png, add2.png, add3.png            the add dialog, one per page
#   extract.png, extract2.png, extract3.png the extract dialog, one per page
#   contents.png, replace.png, password.png, delete.png, test.png,
#   properties.png, droppaths.png
#   progress.png                            the main window reading an archive of
#                                           100,000 entries, its progress panel shown
# Usage: tools/screenshots/arcdialogs.sh [output folder]   (after ./test.sh built everything)
set -euo pipefail
source "$(dirname "$0")/common.sh"
program="$build/tests/tools/arcdialogshow.exe"

shot hinzufuegen "Dateien zu einem Archiv hinzuf.+gen" add.png
shot hinzufuegen2 "Dateien zu einem Archiv hinzuf.+gen" add2.png
shot hinzufuegen3 "Dateien zu einem Archiv hinzuf.+gen" add3.png
shot extrahieren "Dateien aus einem Archiv extrahieren" extract.png
shot extrahieren2 "Dateien aus einem Archiv extrahieren" extract2.png
shot extrahieren3 "Dateien aus einem Archiv extrahieren" extract3.png
shot inhalt "Inhalt von \[projekt.zip\]" contents.png
shot ersetzen "Best.+tigen" replace.png
shot passwort "Datei ist verschl.+sselt" password.png
shot loeschen "Aus Archiv l.+schen" delete.png
shot testen "Datei\(en\) in Archiv testen" test.png
shot eigenschaften "Eigenschaften von .+" properties.png
shot pfade "Pfadangaben komprimierter Dateien" droppaths.png

# A ZIP of 100,000 stored entries, ten to a folder, made here byte by byte.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work/gross.zip" <<'PY'
import binascii, struct, sys
count, data, central = 100000, bytearray(), bytearray()
for i in range(count):
    name = ("ordner%05d/datei%06d.txt" % (i // 10, i)).encode()
    body = b"x" * (i % 7)
    crc = binascii.crc32(body) & 0xFFFFFFFF
    offset = len(data)
    data += struct.pack("<IHHHHHIIIHH", 0x04034B50, 10, 0, 0, 0x6000, 0x5A6F, crc, len(body), len(body), len(name), 0)
    data += name + body
    central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 10, 0, 0, 0x6000, 0x5A6F, crc, len(body), len(body),
                           len(name), 0, 0, 0, 0, 0x20, offset) + name
at = len(data) + len(central)
end = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, count, count, len(central), len(data))
end += struct.pack("<IIQI", 0x07064B50, 0, at, 1)
end += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 0xFFFF, 0xFFFF, len(central), len(data), 0)
open(sys.argv[1], "wb").write(data + central + end)
PY
velmora_wine "$build/src/mainwindow/Velmora.exe" "Z:${work//\//\\}\\gross.zip" &
velmora=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Velmora -' | head -1)
sleep 2  # the listing runs: the panel with its bar and Abort button shows
import -window root "$out/progress.png"
# The window refuses to close while it reads: it is ended.
velmora_wine taskkill /f /im Velmora.exe > /dev/null 2>&1 || true
timeout 30 tail --pid=$velmora -f /dev/null || kill $velmora 2>/dev/null || true
wait $velmora || true
echo "Screenshots in $out"
