#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks it as a user would
# meet it: the desktop file and the AppStream metainfo validate, the icon is in
# the hicolor theme, and from the prefix made read-only the look-up tool
# answers, the window starts and quits on "--quit", the shipped lessons are
# found, and nothing inside the prefix changed (root could write there anyway).
# Usage: InstalledProgramTest.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
prefix=$work/prefix
cleanup() {
  [ -n "${window_pid:-}" ] && kill "$window_pid" 2>/dev/null
  chmod -R u+w "$work"
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
id=example.tessaravin.Quillory
share=$prefix/share
for f in bin/quillory bin/quillory-cli share/quillory/records.db share/quillory/help/index.html \
         share/quillory/LICENSES.txt share/quillory/ARPHICPL.TXT share/quillory/lesson/oxa/oxaLesson.idx \
         share/quillory/lesson/html/htmlLesson.idx share/icons/hicolor/scalable/apps/$id.svg; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done
for size in 16 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/$id.png
  # A PNG's width stands at bytes 16..19 of its header.
  [ "$(od -An -tu1 -j18 -N2 "$png" | awk '{print $1 * 256 + $2}')" = "$size" ] || fail "$png is not $size pixels wide"
done
[ ! -e "$share/quillory/search.txt" ] || fail "a search history was installed"
desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"

snapshot() { (cd "$prefix" && find . -printf '%p %m %s\n' | sort && find . -type f -exec md5sum {} + | sort); }
chmod -R a-w "$prefix"
before=$(snapshot)

# A user of their own: the runtime, data and configuration folders in the work folder.
export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
export XDG_RUNTIME_DIR=$work/home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 QT_QUICK_BACKEND=software

"$prefix/bin/quillory-cli" char 中 | grep -q 'U+4E2D' || fail "quillory-cli char 中 found nothing"
"$prefix/bin/quillory-cli" lessons | grep -q 'Greetings' || fail "the shipped lessons are not listed"

QUILLORY_TIMINGS=1 "$prefix/bin/quillory" 2>"$work/window.log" &
window_pid=$!
for _ in $(seq 600); do
  grep -q 'timing: welcome-painted' "$work/window.log" && break
  kill -0 "$window_pid" 2>/dev/null || fail "the window ended before its page was painted: $(cat "$work/window.log")"
  sleep 0.1
done
grep -q 'timing: welcome-painted' "$work/window.log" || fail "the window painted no page within a minute"
"$prefix/bin/quillory" --quit || fail "--quit was not answered"
status=0
wait "$window_pid" || status=$?
window_pid=
[ "$status" = 0 ] || fail "the window exited with $status"

[ "$(snapshot)" = "$before" ] || fail "the program changed its prefix: $(diff <(echo "$before") <(snapshot))"
# What the program wrote went to the user's folders.
[ -f "$XDG_DATA_HOME/Tessaravin/Quillory/search.txt" ] || fail "no history in the user's data folder"
[ -f "$XDG_DATA_HOME/Tessaravin/Quillory/lesson/oxa/oxaLesson.idx" ] || fail "no lesson library in the user's folder"
[ -f "$XDG_CONFIG_HOME/Tessaravin/Quillory.conf" ] || fail "no settings in the user's configuration folder"
echo "installed program passed"
