#!/bin/sh
# Unpacks the npm package pinyin-pro 3.29.4 into $1/pinyin-pro/package: a
# peer the Pinyin benchmark measures against, not a dependency. Without
# network access the benchmark reports the peer as missing.
set -u
dir="$1/pinyin-pro"
[ -f "$dir/package/package.json" ] && exit 0
mkdir -p "$dir" && cd "$dir" || exit 0
if npm pack --silent pinyin-pro@3.29.4 >/dev/null 2>&1; then
  tar -xzf pinyin-pro-3.29.4.tgz
else
  echo "note: pinyin-pro could not be fetched; its comparison is skipped" >&2
fi
exit 0
