#!/usr/bin/env bash
# Makes (setup) or removes (cleanup) what the file routines' tests cannot make
# from inside Wine: symbolic links to a file and to a folder outside the tree
# they sit in, and (where a mount is allowed) a 1 MiB tmpfs. Drive letters of
# the prefix point at them.
set -euo pipefail
action=$1
dir=$2
: "${VELMORA_WINEPREFIX:?}"
devices="$VELMORA_WINEPREFIX/dosdevices"

if [ "$action" = cleanup ]; then
  if mountpoint -q "$dir/small" 2>/dev/null; then umount "$dir/small" || true; fi
  rm -f "$devices/n:" "$devices/s:" "$devices/w:"
  rm -rf "$dir"
  exit 0
fi

if mountpoint -q "$dir/small" 2>/dev/null; then umount "$dir/small" || true; fi
rm -rf "$dir"
for side in unit gui; do
  base="$dir/$side"
  mkdir -p "$base/outside/folder" "$base/tree/holder"
  head -c 5000 /dev/zero | tr '\0' 'g' > "$base/outside/secret.txt"
  head -c 700 /dev/zero | tr '\0' 'i' > "$base/outside/folder/inner.txt"
  head -c 3000 /dev/zero | tr '\0' 'o' > "$base/tree/own.txt"
  ln -s ../outside/secret.txt "$base/tree/file-link.txt"
  ln -s ../../outside/folder "$base/tree/holder/folder-link"
  head -c 800 /dev/zero | tr '\0' 'h' > "$base/tree/holder/own.txt"
  # A folder link back to its parent's parent: a walk that follows it never ends.
  mkdir -p "$base/loop/inner"
  ln -s .. "$base/loop/inner/up"
done

# The text search's tree: a link back up to its own parent folder.
mkdir -p "$dir/search/tree/sub"
echo oben > "$dir/search/tree/oben.txt"
echo unten > "$dir/search/tree/sub/unten.txt"
ln -s .. "$dir/search/tree/sub/loop"

# A letter for a folder that does not exist: the drive is never ready. (q: and
# r: belong to the volume-label test, which does not take this fixture's lock.)
mkdir -p "$devices"
ln -sfn "$dir/missing" "$devices/n:"

# A scratch drive w: whose root the tests may try to delete or move: it holds
# only what the tests put there, and a folder link "lk\outlink" to a folder
# outside the drive.
mkdir -p "$dir/wdrive/lk" "$dir/woutside/linked"
head -c 900 /dev/zero | tr '\0' 'k' > "$dir/wdrive/keep.txt"
head -c 1200 /dev/zero | tr '\0' 'l' > "$dir/woutside/linked/inner.txt"
ln -s ../../woutside/linked "$dir/wdrive/lk/outlink"
ln -sfn "$dir/wdrive" "$devices/w:"

# The small drive.
mkdir -p "$dir/small"
if mount -t tmpfs -o size=1M tmpfs "$dir/small" 2>"$dir/mount-error.txt"; then
  ln -sfn "$dir/small" "$devices/s:"
  rm -f "$dir/mount-error.txt"
else
  echo "no tmpfs mount allowed here: $(tr -d '\n' < "$dir/mount-error.txt")" > "$dir/no-small-drive.txt"
fi
echo "fixture ready in $dir"
