#!/usr/bin/env bash
# Makes every reader fixture in archives/ from the files in input/. Needs
# Debian's arj, arc, jlha-utils, zip and unzip, and lhasa, nomarch and unar as
# checkers; CI needs none of them, since the results are committed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export TZ=UTC LC_ALL=C
python3 "$here/gen_inputs.py"
out=$here/archives
rm -rf "$out" && mkdir -p "$out"
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
cp -r "$here/input/." "$work/" && cd "$work"
find . -exec touch -d "1997-06-15 12:34:56" {} +

method_of_arc() { arc v "$1" | awk -v n="$2" '$1 == n { print $3 }'; }
expect() { [ "$1" = "$2" ] || { echo "expected $2, got $1 ($3)" >&2; exit 1; }; }

# ARJ: every method, a garbled entry, three volumes, chapters.
arj a -m0 -y "$out/arj_m0.arj" readme.txt data.bin empty.txt tiny.txt >/dev/null
for m in 1 2 3 4; do
  arj a -m$m -y "$out/arj_m$m.arj" readme.txt text.txt data.bin empty.txt tiny.txt >/dev/null
done
arj a -gsecret -y "$out/arj_garbled.arj" readme.txt tiny.txt >/dev/null
arj a -v50k -m0 -y vol.arj text.txt >/dev/null
mv vol.arj "$out/vol.arj" && mv vol.a01 "$out/vol.A01" && mv vol.a02 "$out/vol.A02"
arj ac -y "$out/arj_chapters.arj" readme.txt >/dev/null
arj a -y "$out/arj_chapters.arj" tiny.txt >/dev/null
arj a -r -y "$out/arj_dirs.arj" sub/note.txt readme.txt >/dev/null
for a in "$out"/arj_m?.arj "$out/arj_chapters.arj" "$out/arj_dirs.arj"; do arj t "$a" >/dev/null; done
arj t -gsecret "$out/arj_garbled.arj" >/dev/null
# Byte patches with the header CRC made good again: method 4 by archiver
# version 1, a folder entry and a volume label, version needed 4.
patch="python3 $here/arjpatch.py"
$patch "$out/arj_m4.arj" "$out/arj_m4v1.arj" 1 version=1
$patch "$out/arj_m0.arj" tmp1.arj 1 type=3 name=folder
$patch tmp1.arj "$out/arj_types.arj" 2 type=4 name=LABEL
$patch "$out/arj_m0.arj" "$out/arj_needed.arj" 2 needed=4
python3 "$here/arjpatch.py" --flip-data "$out/arj_m0.arj" "$out/arj_badcrc.arj" 1

# LHA: stored and -lh5- at the three header levels, -lh6- as unsupported.
for l in 0 1 2; do
  jlha c${l}o5 "$out/lh5_level$l.lzh" readme.txt text.txt data.bin empty.txt sub/note.txt >/dev/null 2>&1
  jlha c${l}z "$out/lh0_level$l.lzh" readme.txt data.bin sub/note.txt >/dev/null 2>&1
done
jlha c1o6 "$out/lh6.lzh" readme.txt >/dev/null 2>&1
for a in "$out"/lh?_level?.lzh; do lhasa t "$a" >/dev/null; done

# ARC: arc picks the method per file, so each is asserted.
arc a "$out/arcmix.arc" readme.txt text.txt data.bin tiny.txt empty.txt >/dev/null
expect "$(method_of_arc "$out/arcmix.arc" data.bin)" Packed data.bin
expect "$(method_of_arc "$out/arcmix.arc" text.txt)" Crunched text.txt
expect "$(method_of_arc "$out/arcmix.arc" tiny.txt)" -- tiny.txt
arc aq "$out/arcsqsh.arc" readme.txt text.txt >/dev/null
expect "$(method_of_arc "$out/arcsqsh.arc" text.txt)" Squashed text.txt
arc a "$out/arcsqz.arc" squeeze.bin runs.txt >/dev/null
expect "$(method_of_arc "$out/arcsqz.arc" squeeze.bin)" Squeezed squeeze.bin
expect "$(method_of_arc "$out/arcsqz.arc" runs.txt)" Crunched runs.txt
for a in "$out"/arcm*.arc "$out"/arcs*.arc; do arc t "$a" >/dev/null; nomarch -t "$a" >/dev/null; done

# Byte-by-byte generators: ARC methods 1, 5, 6, 7 and damaged ARC; -lh1-,
# -lh4- and special LHA entries; ZOO; self-extracting programs.
cd "$here"
python3 gen_arc.py
python3 gen_lha.py
python3 gen_zoo.py
python3 gen_sfx.py "$work"
cd "$work"
nomarch -t "$out/old1.arc" >/dev/null
nomarch -t "$out/crunch5.arc" >/dev/null
nomarch -t "$out/crunch6.arc" >/dev/null
for a in "$out"/lh1_level?.lzh "$out/lh4.lzh"; do lhasa t "$a" >/dev/null; done
lsar -t "$out/zoo_methods.zoo" >/dev/null
python3 "$here/list_expected.py" > "$here/expected.txt"
python3 "$here/list_streams.py"
echo "fixtures made in $out"
